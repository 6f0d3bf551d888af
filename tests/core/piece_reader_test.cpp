// Reading a file in pieces: every piece but the last ends after a line feed, the
// pieces together are the file (byte-order mark aside, converted when asked), and
// the small read helper stops only at the end of the file.

#include "io/piece_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "io/file_handle.h"
#include "io/status.h"
#include "test_support.h"
#include "text/text_format.h"
#include "text/utf8.h"
#include "text/windows1252.h"

namespace orvex {
namespace {

using test::TempDir;
using test::writeFile;

std::vector<std::string> readPieces(const std::filesystem::path& path, PieceReader::Options options) {
  FileHandle file = openForReading(path);
  PieceReader reader(file.get(), options);
  std::vector<std::string> pieces;
  std::string_view piece;
  while (reader.next(piece)) pieces.emplace_back(piece);
  return pieces;
}

struct PieceCase {
  const char* name;
  std::string content;
  std::size_t pieceSize;
  bool skipBom;
  bool fromWindows1252;
  std::string expected;
};

std::string bom(std::string text) { return std::string(kUtf8Bom) + text; }

const std::string kLatin = "caf\xE9\r\nna\xEFve\r\n\x80uro";  // Windows-1252
const std::string kLatinAsUtf8 = "caf\xC3\xA9\r\nna\xC3\xAFve\r\n\xE2\x82\xACuro";

const PieceCase kPieceCases[] = {
    {"Empty", "", 4, false, false, ""},
    {"OnlyBom", bom(""), 4, true, false, ""},
    {"BomKept", bom("a\nb"), 4, false, false, bom("a\nb")},
    {"BomSkipped", bom("a\nb\n"), 2, true, false, "a\nb\n"},
    {"BomInsideIsText", "a\n" + bom("b"), 2, true, false, "a\n" + bom("b")},
    {"NoLineFeedGrows", std::string(100, 'x'), 3, false, false, std::string(100, 'x')},
    {"CrLfNeverSplit", "ab\r\ncd\r\nef\r\n", 3, false, false, "ab\r\ncd\r\nef\r\n"},
    {"LoneCrs", "a\rb\rc\rd", 2, false, false, "a\rb\rc\rd"},
    {"Utf8NeverSplit", "\xE2\x82\xAC\xE2\x82\xAC\n\xF0\x9F\x98\x80\n", 2, false, false,
     "\xE2\x82\xAC\xE2\x82\xAC\n\xF0\x9F\x98\x80\n"},
    {"Converted", kLatin, 3, false, true, kLatinAsUtf8},
    {"ConvertedLargePiece", kLatin, 1 << 20, false, true, kLatinAsUtf8},
    {"BomSkippedThenConverted", bom(kLatin), 5, true, true, kLatinAsUtf8},
    {"NulAndCtrlZ", std::string("a\0b\n\x1A", 5), 2, false, false, std::string("a\0b\n\x1A", 5)},
};

class PieceReading : public ::testing::TestWithParam<PieceCase> {};

TEST_P(PieceReading, PiecesEndAfterALineFeedAndMakeTheFile) {
  const PieceCase& c = GetParam();
  TempDir dir;
  writeFile(dir / "f", c.content);
  PieceReader::Options options;
  options.skipBom = c.skipBom;
  options.fromWindows1252 = c.fromWindows1252;
  options.pieceSize = c.pieceSize;
  const std::vector<std::string> pieces = readPieces(dir / "f", options);
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    EXPECT_FALSE(pieces[i].empty()) << i;
    if (i + 1 < pieces.size()) {
      EXPECT_EQ(pieces[i].back(), '\n') << i;
    }
    if (c.fromWindows1252) {
      EXPECT_TRUE(isValidUtf8(pieces[i])) << i;
    }
    joined += pieces[i];
  }
  EXPECT_EQ(joined, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PieceReading, ::testing::ValuesIn(kPieceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PieceReading, ManyLinesComeInSeveralPieces) {
  TempDir dir;
  std::string content;
  for (int i = 0; i < 1000; ++i) content += "ligne " + std::to_string(i) + "\r\n";
  writeFile(dir / "f", content);
  PieceReader::Options options;
  options.pieceSize = 64;
  const std::vector<std::string> pieces = readPieces(dir / "f", options);
  EXPECT_GT(pieces.size(), 100u);
  std::string joined;
  for (const auto& piece : pieces) joined += piece;
  EXPECT_EQ(joined, content);
}

TEST(ReadFull, ReadsUpToTheSizeOrTheEndAtAnOffsetOrThePosition) {
  TempDir dir;
  writeFile(dir / "f", "0123456789");
  FileHandle file = openForReading(dir / "f");
  struct Step {
    std::size_t size;
    std::optional<off_t> offset;
    std::string expected;
  };
  // Reads with an offset leave the position where the plain reads put it.
  const Step steps[] = {
      {4, std::nullopt, "0123"}, {3, 8, "89"},          {3, std::nullopt, "456"}, {0, 2, ""}, {5, 20, ""},
      {10, std::nullopt, "789"}, {4, std::nullopt, ""}, {10, 0, "0123456789"}};
  for (const Step& step : steps) {
    std::string into(step.size, '\0');
    into.resize(readFull(file.get(), into.data(), into.size(), step.offset));
    EXPECT_EQ(into, step.expected) << step.size;
  }
}

TEST(ReadFull, AReadErrorIsAFailure) {
  char byte = 0;
  EXPECT_THROW(readFull(-1, &byte, 1), IoFailure);
}

TEST(TextEncoding, ValidUtf8IsUtf8AndAnythingElseWindows1252) {
  const struct {
    std::string bytes;
    Encoding expected;
  } cases[] = {
      {"", Encoding::Utf8},
      {"plain", Encoding::Utf8},
      {"caf\xC3\xA9", Encoding::Utf8},
      {"caf\xE9", Encoding::Windows1252},
      {"\xE2\x82", Encoding::Windows1252},  // cut short
      {"\xC0\xAF", Encoding::Windows1252},  // overlong
  };
  for (const auto& c : cases) {
    EXPECT_EQ(textEncoding(c.bytes), c.expected) << testing::PrintToString(c.bytes);
    Utf8Validator validator;
    for (const char byte : c.bytes) validator.feed(std::string_view(&byte, 1));
    EXPECT_EQ(validator.encoding(), c.expected) << testing::PrintToString(c.bytes);
  }
}

// A file read while another thread writes it in bursts that cut CR LF and UTF-8
// characters in two: the pieces still end after a line feed and make the file.
TEST(PieceReading, AFileStillBeingWrittenIsFollowedToItsEnd) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 20'000; ++i) text += i % 3 ? "ét€\r\n" : "x\r\n";
  text += "fin sans saut";
  FileHandle output = createForWriting(dir / "f.txt");
  std::atomic<bool> finished = false;
  std::thread writer([&] {
    for (std::size_t at = 0, burst = 1; at < text.size(); at += burst, burst = burst % 97 + 1) {
      writeAll(output.get(), std::string_view(text).substr(at, burst));
      if (burst % 13 == 0) std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    finished = true;
  });
  PieceReader::Options options;
  options.pieceSize = 64;
  options.writerFinished = [&finished] { return finished.load(); };
  const std::vector<std::string> pieces = readPieces(dir / "f.txt", options);
  writer.join();
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i + 1 < pieces.size()) {
      EXPECT_EQ(pieces[i].back(), '\n');
    }
    joined += pieces[i];
  }
  EXPECT_EQ(joined, text);
  EXPECT_GT(pieces.size(), 1U);
}

}  // namespace
}  // namespace orvex
