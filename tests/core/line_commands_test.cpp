// The line number of "Aller à la ligne" and the texts of the insertions.

#include <gtest/gtest.h>

#include "editing/line_commands.h"
#include "editing/text_search.h"
#include "text/windows1252.h"
#include "text/word_characters.h"

namespace orvex {
namespace {

TEST(LineNumber, ParsesAsTheInputBoxDoes) {
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"12", 12},          {"  12", 12},         {"+3", 3},          {"-5", -5},       {"-1", -1},
      {"0", 0},            {"$10", 16},          {"x1f", 31},        {"X1F", 31},      {"0x10", 16},
      {"-$10", -16},       {"$FFFFFFFF", -1},    {"2147483647", 2147483647},          {"2147483648", std::nullopt},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()}, {"", std::nullopt},  {"  ", std::nullopt},
      {"12 ", std::nullopt}, {"1a", std::nullopt}, {"abc", std::nullopt}, {"$", std::nullopt},
      {"0x", std::nullopt}, {"--1", std::nullopt}, {"99999999999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parseLineNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(Insertions, DateTimeFileNameAndDirectory) {
  std::tm when{};
  when.tm_mday = 7;
  when.tm_mon = 2;
  when.tm_year = 126;
  when.tm_hour = 9;
  when.tm_min = 5;
  EXPECT_EQ(dateText(when), "07/03/2026");
  EXPECT_EQ(timeText(when), "09:05");
  EXPECT_EQ(fileNamePart("/tmp/dossier/toto.txt"), "toto.txt");
  EXPECT_EQ(directoryPart("/tmp/dossier/toto.txt"), "/tmp/dossier/");
  EXPECT_EQ(fileNamePart(""), "");
  EXPECT_EQ(directoryPart(""), "");
  EXPECT_EQ(directoryPart("/racine.txt"), "/");
}

}  // namespace
}  // namespace orvex

namespace orvex {
namespace {

TEST(TextSearch, FindsForwardFoldingEveryLetter) {
  const struct {
    std::string text, needle;
    std::size_t from;
    SearchOptions options;
    std::optional<std::size_t> at;
  } cases[] = {
      {"xx abc", "abc", 0, {}, 3},
      {"abc xx", "abc", 1, {}, std::nullopt},  // no wrap-around
      {"xx ABC", "abc", 0, {}, 3},
      {"xx ABC", "abc", 0, {true, false}, std::nullopt},
      {"ÉTÉ", "été", 0, {}, 0},
      {"Œuvre ŸŠ", "œuvre ÿš", 0, {}, 0},
      {"ДОМ", "дом", 0, {}, 0},
      {"cabc abc", "abc", 0, {false, true}, 5},
      {"été_x été", "été", 0, {false, true}, 8},
      {"abc", "", 0, {}, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(findText(c.text, c.needle, c.from, c.options), c.at) << c.text << " / " << c.needle;
}

TEST(TextSearch, WholeWordsEndAtEveryCharacterThatIsNoLetterDigitOrUnderscore) {
  const struct {
    std::string text;
    std::optional<std::size_t> at;
  } cases[] = {
      {"«\u00A0abc\u00A0»", 4},  // no-break spaces and guillemets
      {"«abc»", 2},              {"l’abc", 4},     {"—abc—", 3},      {"€abc€", 3},
      {"abc…", 0},               {"„abc“", 3},     {"•abc", 3},       {"(abc)", 1},
      {"abc²", 0},               {"½abc", 2},      {"abc™", 0},       {"°abc", 2},
      {"éabc", std::nullopt},    {"abcé", std::nullopt},              {"œabc", std::nullopt},
      {"ŸabcŠ", std::nullopt},   {"ªabc", std::nullopt},              {"µabc", std::nullopt},
      {"abc_", std::nullopt},    {"9abc", std::nullopt},              {"abc٣", std::nullopt},  // Arabic-Indic 3
      {"ωabc", std::nullopt},    {"abcж", std::nullopt},              {"中abc", std::nullopt},
      {"abc\xCC\x81 abc", 6},    // a combining accent belongs to the word before it
      {"abc\xE9", std::nullopt}, // a stray byte of Windows-1252 é
  };
  for (const auto& c : cases)
    EXPECT_EQ(findText(c.text, "abc", 0, {false, true}), c.at) << c.text;
}

// Every character Windows-1252 holds: only its letters and digits join words.
TEST(TextSearch, WordCharactersOfWindows1252) {
  const std::u32string letters = U"ƒŠŒŽšœžŸªµºÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿˆ";
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t c = decodeWindows1252(static_cast<unsigned char>(byte));
    const bool ascii = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
                       (byte >= 'a' && byte <= 'z') || byte == '_';
    EXPECT_EQ(isWordCharacter(c), ascii || letters.find(c) != std::u32string::npos) << byte;
  }
  EXPECT_TRUE(isWordCharacter(U'\U00010400'));  // a Deseret letter, past the first plane
  EXPECT_FALSE(isWordCharacter(U'\U0001F600'));  // an emoji
}

TEST(TextSearch, ReplaceAllNeverLoopsAndKeepsWhatComesBefore) {
  EXPECT_EQ(replaceAll("aaa", "a", "aa", 0, {}).text, "aaaaaa");
  EXPECT_EQ(replaceAll("aaa", "a", "aa", 0, {}).count, 3u);
  EXPECT_EQ(replaceAll("a b a", "a", "x", 1, {}).text, "a b x");
  EXPECT_EQ(replaceAll("Été été", "ÉTÉ", "hiver", 0, {}).text, "hiver hiver");
  EXPECT_EQ(replaceAll("cat concat", "cat", "chien", 0, {false, true}).text, "chien concat");
}

}  // namespace
}  // namespace orvex
