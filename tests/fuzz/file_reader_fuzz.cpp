// The file reader and format detection: any bytes read as lines and written back
// in the detected layout give the same bytes, when the file uses one kind of break.

#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "io/file_probes.h"
#include "io/line_reader.h"
#include "io/line_writer.h"
#include "io/piece_reader.h"
#include "text/format_detection.h"
#include "text/utf8.h"

using namespace orvex;

namespace {

bool usesOneKindOfBreak(std::string_view text) {
  bool lf = false, crlf = false, cr = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') {
        crlf = true;
        ++i;
      } else {
        cr = true;
      }
    } else if (text[i] == '\n') {
      lf = true;
    }
  }
  return lf + crlf + cr <= 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::asText(data, size);
  const auto in = fuzz::scratchFile("in.txt");
  const auto out = fuzz::scratchFile("out.txt");
  writeWholeFile(in, text);
  const TextFormat format = detectFormat(text);
  TextFormat probed = probeFileLayout(in);
  fuzz::require(probed.bom == format.bom && probed.finalBreak == format.finalBreak, "probe and detection agree");
  fuzz::require((detectFileEncoding(in) == Encoding::Utf8) == isValidUtf8(text.substr(format.bom ? 3 : 0)),
                "encoding is UTF-8 exactly when the bytes are valid UTF-8");
  {
    LineReader reader(in, format.bom);
    FileHandle file = createForWriting(out);
    LineWriter writer(file.get(), format);
    std::string_view line;
    while (reader.next(line)) writer.put(line);
    writer.finish();
    file.close();
  }
  if (usesOneKindOfBreak(text)) fuzz::require(readWholeFile(out) == text, "one kind of break round-trips");
  {
    // Small pieces, so that a short input is still cut in several.
    FileHandle file = openForReading(in);
    PieceReader::Options options;
    options.skipBom = format.bom;
    options.pieceSize = 7;
    PieceReader reader(file.get(), options);
    std::string joined;
    std::string_view piece;
    while (reader.next(piece)) {
      fuzz::require(!piece.empty(), "pieces are never empty");
      fuzz::require(joined.empty() || joined.back() == '\n', "only the last piece ends without a line feed");
      joined += piece;
    }
    fuzz::require(joined == text.substr(format.bom ? 3 : 0), "the pieces make the file");
  }
  return 0;
}
