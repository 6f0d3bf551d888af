#pragma once
// The preferences kept beside config.dat (whose 24 bytes they never touch): a small
// INI file of "[Section]" and "key=value" lines, read as a whole and written as a
// whole. Keys are named "Section/key". Every write reads the file again first and
// changes only its own keys, so what another window wrote in between stays.
//
// A file that cannot be read or parsed is never overwritten: the defaults hold and
// nothing is written any more. A symbolic link at the file's name is read but never
// written through. Text values and file names are percent-encoded bytes, so a name
// that is not UTF-8 comes back as it was.

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "io/status.h"

namespace orvex {

class Preferences {
 public:
  using Changes = std::vector<std::pair<std::string, std::string>>;

  // An empty `file`: no safe place, nothing is read or written.
  explicit Preferences(std::filesystem::path file) : m_file(std::move(file)) {}

  const std::filesystem::path& file() const { return m_file; }
  // Called once, the first time the file is found unreadable.
  void setUnreadableHandler(std::function<void()> handler) { m_onUnreadable = std::move(handler); }
  // Reads the file afresh. False when it exists but cannot be read or parsed: the
  // defaults then hold, and the file is never written again by this object.
  bool reload();
  bool unreadable() const { return m_unreadable; }

  bool flag(const std::string& key, bool fallback) const;
  int number(const std::string& key, int fallback) const;
  double decimal(const std::string& key, double fallback) const;
  std::optional<std::string> text(const std::string& key) const;
  // The values "Section/1", "Section/2"... as file names, in order.
  std::vector<std::filesystem::path> paths(const std::string& section) const;

  static std::string flagValue(bool value) { return value ? "true" : "false"; }
  static std::string numberValue(double value);
  static std::string textValue(const std::string& bytes);

  // Writes `changes` (raw values from the *Value helpers) into the file, read again
  // first. Nothing is written, and a failure is returned, when the file is
  // unreadable, a link is at its name or the write fails; a missing place is no failure.
  Status store(const Changes& changes);
  Status storeFlag(const std::string& key, bool value) { return store({{key, flagValue(value)}}); }
  Status storeNumber(const std::string& key, double value) { return store({{key, numberValue(value)}}); }
  // Replaces the whole section with "Section/1"... holding `files`.
  Status storePaths(const std::string& section, const std::vector<std::filesystem::path>& files);

 private:
  using Values = std::map<std::string, std::string>;
  // The file's values; empty when there is no file; nothing when it cannot be read or parsed.
  std::optional<Values> readFile() const;
  // Reads the file again, applies `change` and writes the result.
  Status update(const std::function<void(Values&)>& change);
  Status write(const Values& values);
  void markUnreadable();

  std::filesystem::path m_file;
  Values m_values;
  bool m_unreadable = false;
  std::function<void()> m_onUnreadable;
};

// Puts `file` first in the recent-file list `files`, without its earlier place,
// keeping the `limit` newest.
std::vector<std::filesystem::path> withRecentFile(std::vector<std::filesystem::path> files,
                                                  const std::filesystem::path& file, std::size_t limit = 10);

}  // namespace orvex
