#include "io/file_probes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "io/status.h"
#include "text/format_detection.h"
#include "text/messages.h"
#include "text/utf8.h"

namespace orvex {

namespace {

constexpr std::size_t kChunk = 1 << 20;

}  // namespace

TextFormat probeFileLayout(const std::filesystem::path& path) {
  FileHandle file = openForReading(path);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) throw IoFailure(cannotOpenMessage(path.string()));
  const auto size = static_cast<std::size_t>(info.st_size);

  TextFormat format;
  std::string head(kUtf8Bom.size(), '\0');
  head.resize(readFull(file.get(), head.data(), head.size(), 0));
  format.bom = head == kUtf8Bom;
  const std::size_t start = format.bom ? kUtf8Bom.size() : 0;

  // The first break may lie far in: read on until it shows or the file ends.
  std::string window;
  std::size_t offset = start;
  while (offset < size) {
    const std::size_t keep = window.empty() ? 0 : 1;  // a CR that may pair with an LF
    window.erase(0, window.size() - keep);
    const std::size_t old = window.size();
    window.resize(old + kChunk);
    const std::size_t got = readFull(file.get(), window.data() + old, kChunk, static_cast<off_t>(offset));
    window.resize(old + got);
    offset += got;
    const bool complete = got == 0 || offset >= size;
    if (const auto found = firstLineBreak(window, complete)) {
      format.lineBreak = *found;
      break;
    }
    if (got == 0) break;
  }
  if (size > start) {
    char last = 0;
    readFull(file.get(), &last, 1, static_cast<off_t>(size - 1));
    format.finalBreak = last == '\n' || last == '\r';
  }
  file.close();
  return format;
}

Encoding detectFileEncoding(const std::filesystem::path& path, LinkPolicy links) {
  FileHandle file = openForReading(path, links);
  Utf8Validator validator;
  std::vector<char> buffer(kChunk);
  bool first = true;
  for (;;) {
    const std::size_t got = readFull(file.get(), buffer.data(), buffer.size());
    std::string_view chunk(buffer.data(), got);
    if (first && chunk.substr(0, kUtf8Bom.size()) == kUtf8Bom) chunk.remove_prefix(kUtf8Bom.size());
    first = false;
    validator.feed(chunk);
    if (validator.failed() || got < buffer.size()) break;
  }
  return validator.encoding();
}

Result<FileProbe> probeFile(const std::filesystem::path& path) {
  return resultOf([&path] { return FileProbe{probeFileLayout(path), detectFileEncoding(path)}; });
}

Result<Encoding> probeEncoding(const std::filesystem::path& path) {
  return resultOf([&path] { return detectFileEncoding(path); });
}

}  // namespace orvex
