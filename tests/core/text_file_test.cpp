// Reading lines and writing them back: every layout survives byte for byte.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <tuple>

#include "io/document_file.h"
#include "io/file_handle.h"
#include "io/file_probes.h"
#include "io/line_reader.h"
#include "io/line_writer.h"
#include "io/status.h"
#include "test_support.h"
#include "text/format_detection.h"
#include "text/line_breaks.h"
#include "text/longest_line.h"
#include "text/messages.h"
#include "text/utf8.h"
#include "text/windows1252.h"

namespace orvex {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

std::vector<std::string> readLines(const std::filesystem::path& path, bool skipBom, bool* lastHadBreak = nullptr) {
  LineReader reader(path, skipBom);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.next(line)) lines.emplace_back(line);
  if (lastHadBreak) *lastHadBreak = reader.lastLineHadBreak();
  return lines;
}

std::string writeLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                       const TextFormat& format) {
  FileHandle file = createForWriting(path);
  LineWriter writer(file.get(), format);
  for (const auto& line : lines) writer.put(line);
  writer.finish();
  file.close();
  return readFile(path);
}

// Encoding sample x line break x byte-order mark x final break.
class RoundTrip : public ::testing::TestWithParam<std::tuple<std::string, LineBreak, bool, bool>> {};

TEST_P(RoundTrip, ReadThenWriteGivesTheSameBytes) {
  const auto& [sample, lineBreak, bom, finalBreak] = GetParam();
  const std::string br(lineBreakBytes(lineBreak));
  std::string content = bom ? std::string(kUtf8Bom) : std::string();
  const std::vector<std::string> lines = {sample, "", "  deux  ", std::string("nul\0et\x1A", 7), sample};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    content += lines[i];
    if (i + 1 < lines.size() || finalBreak) content += br;
  }
  TempDir dir;
  writeFile(dir / "in.txt", content);

  const TextFormat format = detectFormat(content);
  EXPECT_EQ(format.bom, bom);
  EXPECT_EQ(format.lineBreak, lineBreak);
  EXPECT_EQ(format.finalBreak, finalBreak);
  const TextFormat probed = probeFileLayout(dir / "in.txt");
  EXPECT_EQ(probed.bom, bom);
  EXPECT_EQ(probed.lineBreak, lineBreak);
  EXPECT_EQ(probed.finalBreak, finalBreak);

  bool lastHadBreak = false;
  EXPECT_EQ(readLines(dir / "in.txt", bom, &lastHadBreak), lines);
  EXPECT_EQ(lastHadBreak, finalBreak);
  EXPECT_EQ(writeLines(dir / "out.txt", lines, format), content);
}

std::string layoutName(const ::testing::TestParamInfo<RoundTrip::ParamType>& info) {
  const auto& [sample, lineBreak, bom, finalBreak] = info.param;
  const char* encoding = sample == "plain" ? "Ascii" : (isValidUtf8(sample) ? "Utf8" : "Cp1252");
  const char* breaks[] = {"Lf", "CrLf", "Cr"};
  return std::string(encoding) + breaks[static_cast<int>(lineBreak)] + (bom ? "Bom" : "") +
         (finalBreak ? "FinalBreak" : "NoFinalBreak");
}

INSTANTIATE_TEST_SUITE_P(Layouts, RoundTrip,
                         ::testing::Combine(::testing::Values("Été à Noël", "\xC9t\xE9 \xE0 No\xEBl", "plain"),
                                            ::testing::Values(LineBreak::Lf, LineBreak::CrLf, LineBreak::Cr),
                                            ::testing::Bool(), ::testing::Bool()),
                         layoutName);

TEST(FormatDetection, EncodingFollowsUtf8Validity) {
  EXPECT_EQ(detectFormat("Été").encoding, Encoding::Utf8);
  EXPECT_EQ(detectFormat("\xC9t\xE9").encoding, Encoding::Windows1252);
  EXPECT_EQ(detectFormat("").encoding, Encoding::Utf8);
  EXPECT_EQ(detectFormat("").lineBreak, LineBreak::Lf);
  // The first break decides, even in a file that mixes them.
  EXPECT_EQ(detectFormat("a\r\nb\nc\r").lineBreak, LineBreak::CrLf);
  EXPECT_EQ(detectFormat("a\rb\r\n").lineBreak, LineBreak::Cr);
  TempDir dir;
  writeFile(dir / "latin.txt", "caf\xE9\n");
  writeFile(dir / "utf8.txt",
            "\xEF\xBB\xBF"
            "café\n");
  EXPECT_EQ(detectFileEncoding(dir / "latin.txt"), Encoding::Windows1252);
  EXPECT_EQ(detectFileEncoding(dir / "utf8.txt"), Encoding::Utf8);
}

TEST(Utf8Validator, RejectsMalformedSequences) {
  const struct {
    std::string bytes;
    bool valid;
  } cases[] = {
      {"abc", true},
      {"\xC3\xA9", true},
      {"\xE2\x82\xAC", true},
      {"\xF0\x9F\x98\x80", true},
      {"\xC3", false},
      {"\xC0\xAF", false},
      {"\xE0\x80\xAF", false},
      {"\xED\xA0\x80", false},
      {"\xF4\x90\x80\x80", false},
      {"\x80", false},
      {"\xFF", false},
      {"a\xC3(", false},
      {"\xC2\x80\xDF\xBF", true},
      {"\xC1\xBF", false},
      {"\xC3\xA9\xA9", false},
  };
  for (const auto& c : cases) {
    // Anywhere in a run of ASCII read eight bytes at a time, and cut between two
    // pieces anywhere: a sequence split between pieces is still one character.
    for (std::size_t before = 0; before <= 17; ++before) {
      const std::string text = std::string(before, 'a') + c.bytes + std::string(17 - before, 'z');
      for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        Utf8Validator pieces;
        pieces.feed(std::string_view(text).substr(0, cut));
        pieces.feed(std::string_view(text).substr(cut));
        ASSERT_EQ(pieces.valid(), c.valid) << testing::PrintToString(text) << " cut at " << cut;
      }
    }
  }
  Utf8Validator split;
  split.feed("\xE2\x82");
  EXPECT_FALSE(split.valid());
  split.feed("\xAC");
  EXPECT_TRUE(split.valid());
}

TEST(LongestLine, CountsTheLongestLineWhereverThePiecesAreCut) {
  const struct {
    std::string text;
    std::size_t longest;
  } cases[] = {
      {"", 0}, {"\n\n", 0}, {"abc", 3}, {"a\nbcd\n", 3}, {"abcd\nb", 4}, {"a\r\nbb\r\n", 3}, {"a\rbb\rccc", 8},
  };
  for (const auto& c : cases) {
    for (std::size_t first = 0; first <= c.text.size(); ++first) {
      for (std::size_t second = first; second <= c.text.size(); ++second) {
        LongestLine longest;
        longest.feed(std::string_view(c.text).substr(0, first));
        longest.feed(std::string_view(c.text).substr(first, second - first));
        longest.feed(std::string_view(c.text).substr(second));
        EXPECT_EQ(longest.bytes(), c.longest)
            << testing::PrintToString(c.text) << " cut at " << first << ", " << second;
      }
    }
  }
}

TEST(LineEstimate, ScalesTheSampleBreaksToTheWholeText) {
  const struct {
    std::string sample;
    std::size_t total;
    std::size_t lines;
  } cases[] = {
      {"", 0, 1},
      {"abc", 3, 1},
      {"a\nb\n", 4, 3},
      {"a\r\nb\r\n", 6, 3},        // CR LF is one break
      {"a\rb\r", 4, 3},            // lone CRs are breaks
      {"a\r", 2, 2},               // a CR at the sample's end
      {"a\nb\n", 400, 201},        // 2 breaks in 4 bytes, 100 times over
      {"abcdefgh", 8'000'000, 1},  // no break: one line
      {"x\n", std::size_t{2} << 30, (std::size_t{1} << 30) + 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(estimatedLineCount(c.sample, c.total), c.lines) << testing::PrintToString(c.sample) << " of " << c.total;
}

TEST(CharacterCounting, CountsCodePointsInUtf8AndBytesOtherwise) {
  EXPECT_EQ(charCount("été", Encoding::Utf8), 3u);
  EXPECT_EQ(charCount("été", Encoding::Windows1252), 5u);
  EXPECT_EQ(charPrefixBytes("été", 2, Encoding::Utf8), 3u);
  EXPECT_EQ(charPrefixBytes("été", 9, Encoding::Utf8), 5u);
  EXPECT_EQ(charPrefixBytes("abc", 0, Encoding::Utf8), 0u);
}

TEST(LineReader, HandlesLinesLongerThanItsBufferAndBreaksOnTheBufferEdge) {
  TempDir dir;
  const std::string longLine(3 * 1024 * 1024 + 17, 'x');
  // The CR of the first CR LF falls on the last byte of the first 1 MiB read.
  const std::string first((1 << 20) - 1, 'a');
  writeFile(dir / "in.txt", first + "\r\n" + longLine + "\rlast");
  bool lastHadBreak = true;
  const auto lines = readLines(dir / "in.txt", false, &lastHadBreak);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], first);
  EXPECT_EQ(lines[1], longLine);
  EXPECT_EQ(lines[2], "last");
  EXPECT_FALSE(lastHadBreak);
}

TEST(LineReader, EmptyFileAndLoneBreaks) {
  TempDir dir;
  writeFile(dir / "empty.txt", "");
  EXPECT_TRUE(readLines(dir / "empty.txt", true).empty());
  writeFile(dir / "breaks.txt", "\n\r\n\r");
  EXPECT_EQ(readLines(dir / "breaks.txt", false), (std::vector<std::string>{"", "", ""}));
}

TEST(LineReader, BreaksLeftFromAnEarlierReadAreNotSeen) {
  // The second read brings four bytes; past them the buffer still holds the
  // first read's lines, whose breaks the block search runs into.
  TempDir dir;
  std::string text;
  while (text.size() < (1 << 20)) text += "abc\n";
  writeFile(dir / "in.txt", text + "last");
  bool lastHadBreak = true;
  const auto lines = readLines(dir / "in.txt", false, &lastHadBreak);
  ASSERT_EQ(lines.size(), (1u << 18) + 1);
  EXPECT_EQ(lines.back(), "last");
  EXPECT_FALSE(lastHadBreak);
}

TEST(LineWriter, BuffersWrittenOnTheirOwnThreadKeepTheirOrder) {
  // Lines written into the slack past their end, lines larger than a buffer
  // through both ways in, and several buffers' worth in all.
  TempDir dir;
  std::string expected;
  {
    FileHandle file = createForWriting(dir / "out.txt");
    LineWriter writer(file.get(), {Encoding::Utf8, false, LineBreak::CrLf, true});
    for (int k = 0; k < 300000; ++k) {
      const std::string line = std::to_string(k);
      char* at = writer.putUninitialized(line.size() + 2);
      std::memset(at, '#', line.size() + LineWriter::kSlack);
      line.copy(at, line.size());
      writer.shortenLastLine(2);
      expected += line + "\r\n";
      if (k % 100000 == 7) {
        const std::string big(3 << 20, static_cast<char>('a' + k % 26));
        writer.put(big);
        std::memset(writer.putUninitialized(big.size()), 'U', big.size());
        expected += big + "\r\n" + std::string(big.size(), 'U') + "\r\n";
      }
    }
    writer.finish();
  }
  EXPECT_EQ(readFile(dir / "out.txt"), expected);
}

TEST(LineWriter, AFailedBackgroundWriteIsReported) {
  const int full = ::open("/dev/full", O_WRONLY);
  if (full < 0) GTEST_SKIP() << "no /dev/full here";
  EXPECT_THROW(
      {
        LineWriter writer(full, {Encoding::Utf8, false, LineBreak::Lf, true});
        for (int k = 0; k < 1000000; ++k) writer.put("some text");
        writer.finish();
      },
      IoFailure);
  ::close(full);
}

TEST(FileErrors, ReportTheFrenchMessages) {
  TempDir dir;
  try {
    LineReader reader(dir.path(), false);
    FAIL() << "a directory must not open as a text file";
  } catch (const IoFailure& failure) {
    EXPECT_EQ(std::string(failure.what()), "Impossible d'ouvrir le fichier " + dir.path().string());
  }
  EXPECT_THROW(LineReader(dir / "missing.txt", false), IoFailure);

  const int full = ::open("/dev/full", O_WRONLY);
  if (full < 0) GTEST_SKIP() << "no /dev/full here";
  try {
    writeAll(full, "abc");
    FAIL() << "writing to a full device must fail";
  } catch (const IoFailure& failure) {
    EXPECT_EQ(std::string(failure.what()), "Disque plein");
  }
  ::close(full);
}

TEST(DocumentSave, WritesTheMarkAndOneKindOfLineBreak) {
  TempDir dir;
  ASSERT_TRUE(
      saveDocument(dir / "a.txt", "un\r\ndeux\ntrois\rfin", {Encoding::Utf8, true, LineBreak::CrLf, false}).ok());
  EXPECT_EQ(readFile(dir / "a.txt"), "\xEF\xBB\xBFun\r\ndeux\r\ntrois\r\nfin");
  ASSERT_TRUE(saveDocument(dir / "b.txt", "a\nb\n", {Encoding::Windows1252, false, LineBreak::Lf, true}).ok());
  EXPECT_EQ(readFile(dir / "b.txt"), "a\nb\n");
  EXPECT_EQ(unifyLineBreaks("a\nb", LineBreak::Lf), std::nullopt);
  EXPECT_EQ(unifyLineBreaks("a\r\nb\r", LineBreak::Cr), "a\rb\r");
}

TEST(Windows1252, MapsTheCharactersOfItsHighControlRange) {
  EXPECT_EQ(encodeWindows1252("€ œ ’ … é ç"), "\x80 \x9C \x92 \x85 \xE9 \xE7");
  EXPECT_EQ(encodeWindows1252("日本 ok"), "?? ok");
  EXPECT_EQ(decodeWindows1252(0x80), U'€');
  EXPECT_EQ(decodeWindows1252(0x81), U'\x81');
  EXPECT_EQ(decodeWindows1252(0xE9), U'é');
  for (int b = 0x80; b < 0x100; ++b) {
    const char32_t c = decodeWindows1252(static_cast<unsigned char>(b));
    if (c == static_cast<char32_t>(b)) continue;
    std::string utf8;
    if (c < 0x800) {
      utf8 = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      utf8 = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))};
    }
    EXPECT_EQ(encodeWindows1252(utf8), std::string(1, static_cast<char>(b))) << b;
  }
}

TEST(ErrorReport, AppendsAFullStopAfterALetter) {
  EXPECT_EQ(errorReportText("Disque plein"), "Disque plein.");
  EXPECT_EQ(errorReportText("Fin."), "Fin.");
  EXPECT_EQ(errorReportText("Erreur E/S 5"), "Erreur E/S 5.");
  EXPECT_EQ(errorReportText("(voir plus haut)"), "(voir plus haut)");
  EXPECT_EQ(errorReportText(""), "");
}

}  // namespace
}  // namespace orvex
