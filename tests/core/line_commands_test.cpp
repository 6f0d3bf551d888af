// The line number of "Aller à la ligne" and the texts of the insertions.

#include <gtest/gtest.h>

#include "editing/line_commands.h"

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
