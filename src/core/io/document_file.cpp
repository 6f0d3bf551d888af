#include "io/document_file.h"

#include "io/atomic_file.h"
#include "io/file_handle.h"
#include "text/line_breaks.h"

namespace orvex {

Result<FileIdentity> saveDocument(const std::filesystem::path& path, std::string_view text, const TextFormat& format) {
  return resultOf([&] {
    const std::optional<std::string> unified = unifyLineBreaks(text, format.lineBreak);
    AtomicFile file(path);
    if (format.bom) writeAll(file.fd(), kUtf8Bom);
    writeAll(file.fd(), unified ? std::string_view(*unified) : text);
    return file.commit();
  });
}

}  // namespace orvex
