#pragma once
// The text before and after each whole-document tool, kept as files rather than in
// memory, so that undoing a tool on a huge document costs disk space, not memory.
// The history is bounded: once it holds more steps or more bytes than its limits
// allow, the oldest steps go first. The newest step always stays.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>

#include "text/text_format.h"

namespace orvex {

struct HistoryLimits {
  std::size_t maxSteps = 20;
  std::uintmax_t maxBytes = std::uintmax_t{2} << 30;
};

// The document's bytes on one side of a tool: the file that holds them, the
// document's own encoding then, and the encoding its bytes were in (they differ
// while an encrypted UTF-8 text is shown as Windows-1252).
struct Snapshot {
  std::filesystem::path file;
  Encoding documentEncoding = Encoding::Utf8;
  Encoding bytesEncoding = Encoding::Utf8;
};

class ToolHistory {
 public:
  using Limits = HistoryLimits;

  // The files live in `directory`, created when the first step comes.
  explicit ToolHistory(std::filesystem::path directory, Limits limits = {});
  ToolHistory(const ToolHistory&) = delete;
  ToolHistory& operator=(const ToolHistory&) = delete;
  ~ToolHistory();

  // Takes over the two files (they are moved, never copied) and returns the step's
  // token, never 0. A step whose files could not be moved is recorded as gone.
  int add(const Snapshot& before, const Snapshot& after);
  // The text before or after the step; empty once the step is gone.
  std::optional<Snapshot> before(int token) const;
  std::optional<Snapshot> after(int token) const;
  // Drops every step and its files.
  void clear();
  void setLimits(Limits limits);

  std::size_t steps() const { return m_steps.size(); }
  std::uintmax_t bytes() const { return m_bytes; }

 private:
  struct Step {
    int token;
    std::uintmax_t bytes;
    Snapshot before;
    Snapshot after;
  };

  std::filesystem::path fileOf(int token, bool after) const;
  const Step* find(int token) const;
  void dropOldest();
  void enforceLimits();

  std::filesystem::path m_directory;
  Limits m_limits;
  std::deque<Step> m_steps;
  std::uintmax_t m_bytes = 0;
  int m_lastToken = 0;
};

}  // namespace orvex
