#include "paths/file_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

#include "text/utf8.h"

namespace orvex {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecoded(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = hexValue(text[i + 1]);
      const int low = hexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    bytes += text[i];
  }
  return bytes;
}

// The entries of `directory` whose shown name is `component`.
std::vector<std::string> entriesShownAs(const std::string& directory, std::string_view component) {
  std::vector<std::string> found;
  const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(directory.c_str()), ::closedir);
  if (!listing) return found;
  while (const dirent* entry = ::readdir(listing.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (shownName(name) == component) found.emplace_back(name);
  }
  return found;
}

}  // namespace

std::string shownName(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = utf8SequenceLength(data[i]);
    if (length == 1) {
      text += bytes[i++];
    } else if (length > 1 && i + length <= bytes.size() && isWellFormedUtf8Sequence(data + i, length)) {
      text.append(bytes.substr(i, length));
      i += length;
    } else {
      text.append(kReplacement);
      ++i;
    }
  }
  return text;
}

std::optional<std::filesystem::path> localFileFromUriList(std::string_view uriList) {
  // The first line that is not a comment; lines end with CR LF, or LF from some senders.
  std::string_view line;
  while (!uriList.empty()) {
    const std::size_t end = uriList.find('\n');
    line = uriList.substr(0, end);
    uriList = end == std::string_view::npos ? std::string_view{} : uriList.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() != '#') break;
    line = {};
  }
  constexpr std::string_view kScheme = "file://";
  if (line.size() < kScheme.size() || line.substr(0, kScheme.size()) != kScheme) return std::nullopt;
  line.remove_prefix(kScheme.size());
  if (line.substr(0, 9) == "localhost") line.remove_prefix(9);
  if (line.empty() || line.front() != '/') return std::nullopt;
  // An escaped NUL would cut the name short: such an address names no file.
  if (line.find("%00") != std::string_view::npos) return std::nullopt;
  return std::filesystem::path(percentDecoded(line));
}

NameLookup findShownPath(std::string_view shown) {
  NameLookup lookup;
  if (shown.empty() || shown.front() != '/') {
    lookup.path = std::string(shown);
    return lookup;
  }
  std::string path;
  std::size_t at = 1;
  while (at <= shown.size()) {
    const std::size_t end = std::min(shown.find('/', at), shown.size());
    const std::string_view component = shown.substr(at, end - at);
    at = end + 1;
    if (component.empty()) continue;
    std::string candidate = path + "/" + std::string(component);
    struct stat info {};
    // A name without a replacement character that exists is the usual case: no
    // listing. With one, a file may be named with that very character, or show it.
    if (component.find(kReplacement) != std::string_view::npos || ::lstat(candidate.c_str(), &info) != 0) {
      const std::vector<std::string> entries = entriesShownAs(path.empty() ? "/" : path, component);
      if (entries.size() > 1) lookup.ambiguous = true;
      if (entries.size() == 1) candidate = path + "/" + entries.front();
    }
    path = std::move(candidate);
  }
  lookup.path = path.empty() ? std::string("/") : path;
  return lookup;
}

}  // namespace orvex
