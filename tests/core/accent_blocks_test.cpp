// Accent removal by blocks against the same job done one character at a time:
// characters cut by the 16-byte blocks, malformed sequences, lines of every short
// length, and what lies past the line's end.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>

#include "io/file_handle.h"
#include "io/line_writer.h"
#include "test_support.h"
#include "text/utf8.h"
#include "tool_runner.h"
#include "tools/accent_removal.h"
#include "tools/document_tool.h"
#include "tools/line_edit_tools.h"

namespace orvex {
namespace {

// One character at a time, as the tool always did: without the check, a lead byte
// takes the length its kind says while four bytes are left, and only itself nearer
// the end. Gives nullopt where the check refuses the line.
std::optional<std::string> plainRemoval(const std::string& in, bool check) {
  const std::string seconds = "\xA0\xA2\xA4\xA8\xA9\xAA\xAB\xAE\xAF\xB4\xB6\xB9\xBB\xBC\xBF";
  const std::string letters = "aaaeeeeiioouuuy";
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(in[k]); };
  std::string out;
  for (std::size_t i = 0, n = in.size(); i < n;) {
    if (byte(i) < 0x80) {
      out += in[i++];
      continue;
    }
    std::size_t length = utf8SequenceLength(byte(i));
    const auto* start = reinterpret_cast<const unsigned char*>(in.data() + i);
    if (check && (length == 0 || i + length > n || !isWellFormedUtf8Sequence(start, length))) return std::nullopt;
    length = length == 0 ? 1 : length;
    const std::size_t accent =
        byte(i) == 0xC3 && i + 1 < n && in[i + 1] != 0 ? seconds.find(in[i + 1]) : std::string::npos;
    if (accent != std::string::npos) {
      out += letters[accent];
      i += 2;
    } else {
      const std::size_t taken = i + 4 <= n || check ? length : 1;
      out.append(in, i, taken);
      i += taken;
    }
  }
  return out;
}

// The removal with bytes that would change the result if read past the line, and
// with garbage where it may write past it; both kinds of blocks are tried.
using Removal = std::size_t (*)(std::string_view, char*, bool);

std::optional<std::string> blockRemoval(const std::string& in, bool check, Removal removal) {
  std::string padded = in + std::string(kAccentSlack, '\xA9');
  padded[in.size()] = '\xC3';
  std::string out(in.size() + kAccentSlack, '\xC3');
  try {
    out.resize(removal(std::string_view(padded.data(), in.size()), out.data(), check));
  } catch (const NotUtf8&) {
    return std::nullopt;
  }
  return out;
}

const char* const kPieces[] = {
    "é",
    "ç",
    "«",
    "ÿ",
    "É",
    "\xDF\xBF",
    "\xC2\x80",
    "…",
    "😀",
    "\xC3",  // a lead alone
    "\xA9",  // a stray continuation
    "\xC3\xC3\xA9",
    "\xE2\xC3\xA9",  // a lead cut short by another
    "\xC0\x80",
    "\xC1\xBF",  // overlong forms
    "\xE2\x80",
    "\xF0\x9F\x98",  // truncated three- and four-byte characters
    "\xED\xA0\x80",
    "\xF4\x90\x80\x80",
};

TEST(AccentBlocks, EveryPieceAtEveryPlaceOfShortLines) {
  for (const char* piece : kPieces) {
    for (std::size_t before = 0; before <= 40; ++before) {
      for (const std::string after : {"", "a", "é", "\xC3", "abcdefghijklmnopq"}) {
        const std::string line = std::string(before, 'x') + piece + after;
        for (const bool check : {false, true})
          for (const Removal removal : {removeUtf8Accents, removeUtf8AccentsPortably})
            ASSERT_EQ(blockRemoval(line, check, removal), plainRemoval(line, check))
                << testing::PrintToString(line) << " check " << check;
      }
    }
  }
  for (std::size_t length = 0; length <= 40; ++length) {
    std::string line;
    while (line.size() < length) line += line.size() % 3 == 0 ? "é" : "a";
    EXPECT_EQ(blockRemoval(line, true, removeUtf8Accents), plainRemoval(line, true)) << length;
    EXPECT_EQ(blockRemoval(line, true, removeUtf8AccentsPortably), plainRemoval(line, true)) << length;
  }
}

TEST(AccentBlocks, RandomMixturesAgree) {
  std::mt19937 random(5);
  for (int round = 0; round < 20000; ++round) {
    std::string line;
    for (std::size_t k = random() % 14; k > 0; --k)
      line += random() % 3 == 0 ? std::string(random() % 17, 'z') : kPieces[random() % std::size(kPieces)];
    for (const bool check : {false, true})
      for (const Removal removal : {removeUtf8Accents, removeUtf8AccentsPortably})
        ASSERT_EQ(blockRemoval(line, check, removal), plainRemoval(line, check)) << testing::PrintToString(line);
  }
}

TEST(AccentBlocks, TheToolReadsLinesWithTheirBreaks) {
  // A lead byte last on a line, before each kind of break, and long lines whose
  // blocks run into the next line.
  const std::string text = "\xC3\r\n\xC3\n\xC3\r" + std::string(31, 'x') + "é\n" + std::string(15, 'y') + "\xC3";
  test::TempDir dir;
  test::writeFile(dir / "in.txt", text);
  const TextFormat format{Encoding::Utf8, false, LineBreak::Lf, false};
  {
    FileHandle out = createForWriting(dir / "out.txt");
    LineWriter writer(out.get(), format);
    Progress progress;
    AccentTool tool(Encoding::Utf8);
    tool.run(dir / "in.txt", format, writer, progress);
    writer.finish();
  }
  EXPECT_EQ(test::readFile(dir / "out.txt"),
            "\xC3\n\xC3\n\xC3\n" + std::string(31, 'x') + "e\n" + std::string(15, 'y') + "\xC3");
  AccentTool detecting(std::nullopt);
  EXPECT_THROW(test::runTool(detecting, {"ok", "\xC3"}, format), NotUtf8);
  EXPECT_EQ(test::runTool(detecting, {"été", std::string(33, 'b') + "ü"}, format).lines,
            (std::vector<std::string>{"ete", std::string(33, 'b') + "u"}));
}

}  // namespace
}  // namespace orvex
