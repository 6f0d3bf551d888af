#include "settings/preferences.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <string_view>

#include "io/atomic_file.h"
#include "io/file_handle.h"
#include "text/messages.h"

namespace orvex {

namespace {

// A preferences file is a few hundred bytes: anything far larger is not one.
constexpr std::size_t kLargestFile = std::size_t{1} << 20;
constexpr std::size_t kMostPaths = 100;

bool isKeptByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/';
}

std::string percentEncoded(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (isKeptByte(byte)) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 15];
    }
  }
  return encoded;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A "%" without two hexadecimal digits after it is taken as it is.
std::string percentDecoded(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? hexDigit(text[i + 1]) : -1;
    const int low = high >= 0 ? hexDigit(text[i + 2]) : -1;
    if (low < 0) {
      bytes += text[i];
      continue;
    }
    bytes += static_cast<char>(high << 4 | low);
    i += 2;
  }
  return bytes;
}

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Blank lines, comments (";" or "#"), "[Section]" and "key=value": any other line,
// or a NUL byte, and the file is not ours to rewrite.
std::optional<std::map<std::string, std::string>> parse(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  std::map<std::string, std::string> values;
  std::string section;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = trimmed(line);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      if (line.size() < 3 || line.back() != ']') return std::nullopt;
      section = std::string(trimmed(line.substr(1, line.size() - 2)));
      if (section.empty() || section.find_first_of("[]/") != std::string::npos) return std::nullopt;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view key = trimmed(line.substr(0, equals));
    if (key.empty()) return std::nullopt;
    values[section.empty() ? std::string(key) : section + "/" + std::string(key)] =
        std::string(trimmed(line.substr(equals + 1)));
  }
  return values;
}

// Keys without a section first, since a section runs to the next one; the keys of
// a section are neighbours in the map ("A/x" sorts before "AB/x").
std::string serialised(const std::map<std::string, std::string>& values) {
  std::string text;
  for (const auto& [key, value] : values)
    if (key.find('/') == std::string::npos) text.append(key).append(1, '=').append(value).append(1, '\n');
  std::string section;
  for (const auto& [key, value] : values) {
    const std::size_t slash = key.find('/');
    if (slash == std::string::npos) continue;
    if (const std::string keySection = key.substr(0, slash); keySection != section) {
      if (!text.empty()) text += '\n';
      text.append(1, '[').append(keySection).append("]\n");
      section = keySection;
    }
    text.append(key, slash + 1).append(1, '=').append(value).append(1, '\n');
  }
  return text;
}

bool isLink(const std::filesystem::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

}  // namespace

std::optional<std::map<std::string, std::string>> Preferences::readFile() const {
  struct stat info {};
  if (::stat(m_file.c_str(), &info) != 0) {
    if (errno == ENOENT) return Values{};
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode) || static_cast<std::size_t>(info.st_size) > kLargestFile) return std::nullopt;
  try {
    const FileHandle file = openForReading(m_file, LinkPolicy::OwnLinksOnly);
    std::string bytes(kLargestFile + 1, '\0');
    bytes.resize(readFull(file.get(), bytes.data(), bytes.size()));
    if (bytes.size() > kLargestFile) return std::nullopt;
    return parse(bytes);
  } catch (const IoFailure&) {
    return std::nullopt;
  }
}

void Preferences::markUnreadable() {
  m_values.clear();
  if (m_unreadable) return;
  m_unreadable = true;
  if (m_onUnreadable) m_onUnreadable();
}

bool Preferences::reload() {
  if (m_file.empty() || m_unreadable) return !m_unreadable;
  std::optional<Values> values = readFile();
  if (!values) {
    markUnreadable();
    return false;
  }
  m_values = std::move(*values);
  return true;
}

bool Preferences::flag(const std::string& key, bool fallback) const {
  const auto found = m_values.find(key);
  if (found == m_values.end()) return fallback;
  if (found->second == "true") return true;
  if (found->second == "false") return false;
  return fallback;
}

int Preferences::number(const std::string& key, int fallback) const {
  const auto found = m_values.find(key);
  if (found == m_values.end()) return fallback;
  int value = 0;
  const std::string& text = found->second;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

double Preferences::decimal(const std::string& key, double fallback) const {
  const auto found = m_values.find(key);
  if (found == m_values.end()) return fallback;
  double value = 0;
  const std::string& text = found->second;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

std::optional<std::string> Preferences::text(const std::string& key) const {
  const auto found = m_values.find(key);
  if (found == m_values.end()) return std::nullopt;
  return percentDecoded(found->second);
}

std::vector<std::filesystem::path> Preferences::paths(const std::string& section) const {
  std::vector<std::filesystem::path> files;
  for (std::size_t i = 1; i <= kMostPaths; ++i) {
    const std::optional<std::string> name = text(section + "/" + std::to_string(i));
    if (!name) break;
    if (!name->empty()) files.emplace_back(*name);
  }
  return files;
}

std::string Preferences::numberValue(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string Preferences::textValue(const std::string& bytes) { return percentEncoded(bytes); }

Status Preferences::write(const Values& values) {
  // The toolkit's writers follow a link to wherever it points; a link here is the
  // user's own arrangement, which the program reads but never writes through.
  if (isLink(m_file)) return Status::failure(cannotCreateMessage(m_file.string()));
  try {
    writeFileAtomically(m_file, serialised(values), LinkPolicy::OwnLinksOnly);
  } catch (const IoFailure& failure) {
    return Status::failure(failure.what());
  }
  return {};
}

Status Preferences::store(const Changes& changes) {
  return update([&changes](Values& values) {
    for (const auto& [key, value] : changes) values[key] = value;
  });
}

Status Preferences::storePaths(const std::string& section, const std::vector<std::filesystem::path>& files) {
  return update([&section, &files](Values& values) {
    const std::string prefix = section + "/";
    for (auto at = values.lower_bound(prefix); at != values.end() && at->first.starts_with(prefix);)
      at = values.erase(at);
    for (std::size_t i = 0; i < files.size(); ++i)
      values[prefix + std::to_string(i + 1)] = textValue(files[i].native());
  });
}

Status Preferences::update(const std::function<void(Values&)>& change) {
  if (m_file.empty()) return {};
  if (m_unreadable || isLink(m_file)) return Status::failure(cannotCreateMessage(m_file.string()));
  std::optional<Values> values = readFile();
  if (!values) {
    markUnreadable();
    return Status::failure(cannotOpenMessage(m_file.string()));
  }
  change(*values);
  m_values = std::move(*values);
  return write(m_values);
}

std::vector<std::filesystem::path> withRecentFile(std::vector<std::filesystem::path> files,
                                                  const std::filesystem::path& file, std::size_t limit) {
  const std::filesystem::path normal = file.lexically_normal();
  std::erase_if(files, [&normal](const std::filesystem::path& known) { return known.lexically_normal() == normal; });
  files.insert(files.begin(), normal);
  if (files.size() > limit) files.resize(limit);
  return files;
}

}  // namespace orvex
