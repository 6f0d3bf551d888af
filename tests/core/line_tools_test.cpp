// The per-line text tools: case, accents, blanks, padding, duplicates, cipher, fill.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <typeinfo>

#include "io/status.h"
#include "text/utf8.h"
#include "text/windows1252.h"
#include "tool_runner.h"
#include "tools/case_tool.h"
#include "tools/cipher_tool.h"
#include "tools/concatenation.h"
#include "tools/fill_tool.h"
#include "tools/line_edit_tools.h"
#include "tools/replacement_tool.h"
#include "tools/sort_tool.h"

namespace orvex {
namespace {

using Lines = std::vector<std::string>;
using test::runTool;

TEST(CaseTools, OnlyTheAsciiLettersChange) {
  EXPECT_EQ(changeCase("Été à Noël", LetterCase::Upper), "ÉTé à NOëL");
  EXPECT_EQ(changeCase("ÉTÉ À NOËL", LetterCase::Lower), "ÉtÉ À noËl");
  EXPECT_EQ(changeCase("\xE9t\xE9", LetterCase::Upper), "\xE9T\xE9");
  EXPECT_EQ(changeCase("a1\t[z]{} ", LetterCase::Upper), "A1\t[Z]{} ");
  CaseTool upper(LetterCase::Upper);
  const auto run = runTool(upper, {"abc", "", "DÉJÀ"});
  EXPECT_EQ(run.lines, (Lines{"ABC", "", "DÉJÀ"}));
  EXPECT_EQ(run.progressSteps, 3);
}

TEST(AccentRemoval, FifteenLowerCaseLettersInBothEncodings) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"Élève à l'école", "Éleve a l'ecole"},
      {"ça", "ça"},
      {"naïve", "naive"},
      {"où", "ou"},
      {"ÿ", "y"},
      {"àâäèéêëîïôöùûüÿ", "aaaeeeeiioouuuy"},
      {"áãåìíñòóõøúý", "áãåìíñòóõøúý"},
      {"ÀÂÇÉÈÊËÎÏÔÙÛÜ", "ÀÂÇÉÈÊËÎÏÔÙÛÜ"},
      {"日本語", "日本語"},
  };
  for (const auto& c : cases) EXPECT_EQ(removeAccents(c.in, Encoding::Utf8), c.out) << c.in;
  EXPECT_EQ(removeAccents("\xC9l\xE8ve \xE0 \xE7"
                          "a \xFF",
                          Encoding::Windows1252),
            "\xC9leve a \xE7"
            "a y");
  // In UTF-8 the Windows-1252 codes are lead bytes of other characters: left alone.
  EXPECT_EQ(removeAccents("\xE9\x82\xA3", Encoding::Utf8), "\xE9\x82\xA3");
}

TEST(BlankRemoval, SpacesGoWithTheControlCharactersAroundThem) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"  a b  c  ", "abc"}, {"    ", ""},      {"\t b", "b"},   {"a\tb", "a\tb"},    {"a\t b", "ab"},
      {"a \t b", "ab"},      {"a \tb", "a\tb"}, {" \tb", "\tb"}, {"\tab\t c", "abc"}, {"", ""},
      {"a b\t", "ab\t"},     {"\x01x y", "xy"}, {"é à", "éà"},
  };
  for (const auto& c : cases) EXPECT_EQ(removeBlanks(c.in), c.out) << testing::PrintToString(c.in);
  BlankTool tool;
  EXPECT_EQ(runTool(tool, {"  ", "a b"}).lines, (Lines{"", "ab"}));
}

TEST(Padding, EveryLineTakesTheLongestLength) {
  PaddingTool utf8(Encoding::Utf8);
  EXPECT_EQ(runTool(utf8, {"abc", "", "abcde"}).lines, (Lines{"abc  ", "     ", "abcde"}));
  // Characters, not bytes, in UTF-8: "été" is three long.
  EXPECT_EQ(runTool(utf8, {"été", "a"}).lines, (Lines{"été", "a  "}));
  PaddingTool latin(Encoding::Windows1252);
  EXPECT_EQ(runTool(latin, {"\t", "abc"}).lines, (Lines{"\t  ", "abc"}));
  const auto twice = runTool(utf8, runTool(utf8, {"a", "bcd"}).lines).lines;
  EXPECT_EQ(twice, (Lines{"a  ", "bcd"}));
  EXPECT_TRUE(runTool(utf8, {}).lines.empty());
}

TEST(DuplicateRemoval, OnlyConsecutiveEqualLinesAreDropped) {
  DuplicateTool tool;
  const auto run = runTool(tool, {"a", "a", "b", "a", "a"});
  EXPECT_EQ(run.lines, (Lines{"a", "b", "a"}));
  EXPECT_EQ(run.progressSteps, 3);  // one step per line kept
  DuplicateTool caseSensitive;
  EXPECT_EQ(runTool(caseSensitive, {"Abc", "abc"}).lines, (Lines{"Abc", "abc"}));
  DuplicateTool blanks;
  EXPECT_EQ(runTool(blanks, {"", "", "x", "", "", "y"}).lines, (Lines{"x", "", "y"}));
}

TEST(Cipher, DecryptionRestoresEveryByteValue) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    if (b != '\n' && b != '\r') all.push_back(static_cast<char>(b));
  const std::string encrypted = cipher(all, CipherDirection::Encrypt);
  EXPECT_EQ(encrypted.size(), all.size());
  EXPECT_EQ(encrypted.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(cipher(encrypted, CipherDirection::Decrypt), all);
  EXPECT_EQ(cipher(cipher(all, CipherDirection::Decrypt), CipherDirection::Encrypt), all);
  // Ordinary text is a plain shift.
  EXPECT_EQ(cipher("abc", CipherDirection::Encrypt),
            std::string({'a' + kCipherKey, 'b' + kCipherKey, 'c' + kCipherKey}));

  CipherTool encrypt(CipherDirection::Encrypt);
  CipherTool decrypt(CipherDirection::Decrypt);
  const Lines lines = {all, "", "Texte ordinaire"};
  const auto there = runTool(encrypt, lines);
  EXPECT_EQ(there.lines.size(), 3u);
  EXPECT_EQ(there.progressSteps, 0);
  EXPECT_EQ(runTool(decrypt, there.lines).lines, lines);
}

FillParameters fill(std::string text, std::int64_t column, std::int64_t first, std::int64_t last) {
  FillParameters parameters;
  parameters.text = std::move(text);
  parameters.column = column;
  parameters.firstLine = first;
  parameters.lastLine = last;
  return parameters;
}

TEST(Fill, InsertsTheTextAtTheColumn) {
  const struct {
    FillParameters parameters;
    Lines in, out;
  } cases[] = {
      {fill("XY", 3, 1, 1), {"abcdef"}, {"abXYcdef"}},
      {fill("XY", 5, 1, 1), {"ab"}, {"ab  XY "}},
      {fill("XY", 1, 1, 1), {""}, {"XY "}},
      {fill("XY", 3, 1, 1), {"abc"}, {"abXYc"}},
      {fill("", 4, 1, 1), {"a"}, {"a   "}},
      {fill("-", 1, 2, 3), {"a", "b", "c", "d"}, {"a", "-b", "-c", "d"}},
      {fill("-", 1, 3, 2), {"a", "b", "c"}, {"a", "b", "c"}},
      {fill("X", 2, 1, 1), {"été"}, {"éXté"}},
  };
  for (const auto& c : cases) {
    FillTool tool(c.parameters, Encoding::Utf8);
    EXPECT_EQ(runTool(tool, c.in).lines, c.out) << c.parameters.text << " at " << c.parameters.column;
  }
}

// The text comes as typed (UTF-8): a Windows-1252 document takes the code page's
// bytes, and turns UTF-8 whole, its other lines too, for a character it lacks.
TEST(Fill, TheTextTakesTheDocumentsEncoding) {
  const struct {
    Encoding document;
    std::string text;
    std::int64_t column;
    Lines in, out;
    std::optional<Encoding> result;
  } cases[] = {
      {Encoding::Utf8, "\u00E9", 1, {"ab", "\u00E0"}, {"\u00E9ab", "\u00E9\u00E0"}, std::nullopt},
      {Encoding::Windows1252,
       "\u00E9\u20AC",
       1,
       {"ab", "\xE0"},
       {"\xE9\x80"
        "ab",
        "\xE9\x80\xE0"},
       std::nullopt},
      {Encoding::Windows1252, "\u03A9", 1, {"ab", "\xE0"}, {"\u03A9ab", "\u03A9\u00E0"}, Encoding::Utf8},
      {Encoding::Windows1252,
       "x",
       2,
       {"\xE9t\xE9"},
       {"\xE9x"
        "t\xE9"},
       std::nullopt},
  };
  for (const auto& c : cases) {
    FillTool tool(fill(c.text, c.column, 1, 2), c.document);
    EXPECT_EQ(runTool(tool, c.in).lines, c.out) << c.text;
    EXPECT_EQ(tool.resultEncoding(), c.result) << c.text;
  }
}

TEST(Fill, RunningNumberReplacesTheFirstPercent) {
  FillParameters withPercent = fill("ID%-%", 1, 1, 3);
  withPercent.increment = true;
  withPercent.startNumber = 7;
  withPercent.step = 3;
  FillTool tool(withPercent, Encoding::Utf8);
  EXPECT_EQ(runTool(tool, {"a", "b", "c"}).lines, (Lines{"ID7-%a", "ID10-%b", "ID13-%c"}));

  FillParameters noPercent = fill("N", 1, 2, 3);
  noPercent.increment = true;
  noPercent.startNumber = 1;
  noPercent.step = 1;
  FillTool numbers(noPercent, Encoding::Utf8);
  EXPECT_EQ(runTool(numbers, {"x", "a", "b"}).lines, (Lines{"x", "1Na", "2Nb"}));
}

TEST(Reversal, ReversesCharactersAndKeepsLineBreakPairs) {
  EXPECT_EQ(reverseText("abc", Encoding::Utf8), "cba");
  EXPECT_EQ(reverseText(" ab", Encoding::Utf8), "ba ");
  EXPECT_EQ(reverseText("été!", Encoding::Utf8), "!été");
  EXPECT_EQ(reverseText("\xE9t", Encoding::Windows1252), "t\xE9");
  EXPECT_EQ(reverseText("ab\r\ncd", Encoding::Utf8), "dc\r\nba");
  EXPECT_FALSE(isReversible("   "));
  EXPECT_TRUE(isReversible(" a "));
}

TEST(Concatenation, AppendsTheOtherFileAsNewLines) {
  test::TempDir dir;
  test::writeFile(dir / "other.txt", "\xEF\xBB\xBFun\r\ndeux");
  ConcatenationTool tool(dir / "other.txt", Encoding::Utf8);
  EXPECT_EQ(runTool(tool, {"zéro"}).lines, (Lines{"zéro", "un", "deux"}));
  ConcatenationTool toEmpty(dir / "other.txt", Encoding::Utf8);
  EXPECT_EQ(runTool(toEmpty, {}).lines, (Lines{"un", "deux"}));
  ConcatenationTool missing(dir / "missing.txt", Encoding::Utf8);
  EXPECT_THROW(runTool(missing, {"a"}), IoFailure);
}

TEST(Concatenation, TheOtherFileTakesTheDocumentsEncoding) {
  const struct {
    Encoding document;
    std::string line;
    std::string other;
    Lines expected;
    Encoding result;
  } cases[] = {
      {Encoding::Utf8, "été", "caf\xE9 \x80\x9C\n", {"été", "café €œ"}, Encoding::Utf8},
      {Encoding::Utf8,
       "a",
       "\xEF\xBB\xBF"
       "café\n",
       {"a", "café"},
       Encoding::Utf8},
      {Encoding::Windows1252, "\xE9t\xE9", "café €œ’\n", {"\xE9t\xE9", "caf\xE9 \x80\x9C\x92"}, Encoding::Windows1252},
      {Encoding::Windows1252, "\xE9t\xE9", "caf\xE9\n", {"\xE9t\xE9", "caf\xE9"}, Encoding::Windows1252},
      // A character the code page lacks: the whole result is UTF-8.
      {Encoding::Windows1252, "\xE9t\xE9 \x81", "日本\n", {"été \u0081", "日本"}, Encoding::Utf8},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    test::writeFile(dir / "other.txt", c.other);
    ConcatenationTool tool(dir / "other.txt", c.document);
    EXPECT_EQ(runTool(tool, {c.line}).lines, c.expected) << c.other;
    EXPECT_EQ(tool.resultEncoding(), c.result) << c.other;
  }
}

TEST(Windows1252, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string utf8;
  appendWindows1252AsUtf8(all.substr(0, 100), utf8);
  appendWindows1252AsUtf8(all.substr(100), utf8);
  EXPECT_EQ(utf8.size(), utf8SizeOfWindows1252(all));
  EXPECT_TRUE(isValidUtf8(utf8));
  EXPECT_TRUE(fitsWindows1252(utf8));
  EXPECT_EQ(encodeWindows1252(utf8), all);
  EXPECT_EQ(utf8.substr(0x80, 3), "€");
  for (const char* outside : {"日", "\u0080", "\u0100", "\U0001F600", "\xC3"}) {
    EXPECT_FALSE(fitsWindows1252(std::string("a") + outside)) << outside;
  }
}

// The window shows a tool's result as UTF-8 without reading it again when the tool
// says that valid UTF-8 stays valid: every such tool must keep its word, on lines
// that put multi-byte characters next to the bytes the tools act on.
TEST(ToolPromises, ValidUtf8StaysValidThroughEveryToolThatSaysSo) {
  const std::vector<std::string> lines = {"Été à Noël, €5 — 𝄞 ", "  \tçà  ", "", "ÿ\x01é", "Zoë", "zoë", "Zoë"};
  std::vector<std::unique_ptr<DocumentTool>> tools;
  tools.push_back(std::make_unique<CaseTool>(LetterCase::Upper));
  tools.push_back(std::make_unique<CaseTool>(LetterCase::Lower));
  tools.push_back(std::make_unique<SortTool>(SortOrder::Ascending));
  tools.push_back(std::make_unique<SortTool>(SortOrder::Descending));
  tools.push_back(std::make_unique<DuplicateTool>());
  tools.push_back(std::make_unique<AccentTool>(Encoding::Utf8));
  tools.push_back(std::make_unique<BlankTool>());
  tools.push_back(std::make_unique<PaddingTool>(Encoding::Utf8));
  tools.push_back(std::make_unique<FillTool>(FillParameters{"« n° »", 3, 1, 7, true, 9, 1}, Encoding::Utf8));
  tools.push_back(std::make_unique<ReplacementTool>("Noël €\n", Encoding::Utf8));
  for (const auto& tool : tools) {
    if (!tool->keepsUtf8Valid()) continue;
    for (const std::string& line : test::runTool(*tool, lines).lines)
      EXPECT_TRUE(isValidUtf8(line)) << typeid(*tool).name() << ": " << testing::PrintToString(line);
  }
}

}  // namespace
}  // namespace orvex
