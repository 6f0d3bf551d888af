// orvex.conf: what is written reads back, names as bytes, a file that is not ours
// (unparsable, a directory, a link) never overwritten, and the recent-file list.

#include "settings/preferences.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_support.h"

namespace orvex {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(Preferences, WhatIsStoredReadsBackInAnotherObject) {
  TempDir dir;
  const auto file = dir / "orvex.conf";
  Preferences first(file);
  EXPECT_TRUE(first.reload());
  EXPECT_TRUE(first.storeFlag("Affichage/NumerosDeLigne", true).ok());
  EXPECT_TRUE(first
                  .store({{"Affichage/Police", Preferences::textValue("Courier New")},
                          {"Affichage/TaillePolice", Preferences::numberValue(8.25)},
                          {"Affichage/Zoom", Preferences::numberValue(-3)}})
                  .ok());
  const std::filesystem::path latin1("/tmp/caf\xE9 & 100%.txt");
  EXPECT_TRUE(first.storePaths("FichiersRecents", {latin1, "/home/moi/a,b=c.txt"}).ok());
  EXPECT_EQ(readFile(file),
            "[Affichage]\nNumerosDeLigne=true\nPolice=Courier%20New\nTaillePolice=8.25\nZoom=-3\n\n"
            "[FichiersRecents]\n1=/tmp/caf%E9%20%26%20100%25.txt\n2=/home/moi/a%2Cb%3Dc.txt\n");

  Preferences second(file);
  EXPECT_TRUE(second.reload());
  EXPECT_TRUE(second.flag("Affichage/NumerosDeLigne", false));
  EXPECT_FALSE(second.flag("Affichage/RetourALaLigne", false));
  EXPECT_EQ(second.text("Affichage/Police"), "Courier New");
  EXPECT_EQ(second.decimal("Affichage/TaillePolice", 0), 8.25);
  EXPECT_EQ(second.number("Affichage/Zoom", 0), -3);
  EXPECT_EQ(second.paths("FichiersRecents"), (std::vector<std::filesystem::path>{latin1, "/home/moi/a,b=c.txt"}));

  // A shorter list leaves no entry of the longer one behind.
  EXPECT_TRUE(second.storePaths("FichiersRecents", {"/x"}).ok());
  EXPECT_TRUE(first.reload());
  EXPECT_EQ(first.paths("FichiersRecents"), std::vector<std::filesystem::path>{"/x"});
}

TEST(Preferences, EachWriteKeepsWhatAnotherWindowWrote) {
  TempDir dir;
  Preferences one(dir / "orvex.conf");
  Preferences two(dir / "orvex.conf");
  one.reload();
  two.reload();
  EXPECT_TRUE(one.storeFlag("Affichage/NumerosDeLigne", true).ok());
  EXPECT_TRUE(two.storeFlag("Affichage/RetourALaLigne", true).ok());
  Preferences three(dir / "orvex.conf");
  three.reload();
  EXPECT_TRUE(three.flag("Affichage/NumerosDeLigne", false));
  EXPECT_TRUE(three.flag("Affichage/RetourALaLigne", false));
}

TEST(Preferences, HandWrittenFilesAndWrongValues) {
  TempDir dir;
  writeFile(dir / "orvex.conf",
            "; mes réglages\r\nhors=section\n# encore\n\n  [Affichage]  \nZoom = 4\nTaillePolice=grand\n"
            "NumerosDeLigne=oui\n[Autre]\ncle=\n");
  Preferences preferences(dir / "orvex.conf");
  EXPECT_TRUE(preferences.reload());
  EXPECT_EQ(preferences.number("Affichage/Zoom", 0), 4);
  EXPECT_EQ(preferences.decimal("Affichage/TaillePolice", 8.25), 8.25);
  EXPECT_TRUE(preferences.flag("Affichage/NumerosDeLigne", true));
  // Keys the program does not know stay in the file.
  EXPECT_TRUE(preferences.storeFlag("Affichage/RetourALaLigne", true).ok());
  EXPECT_EQ(readFile(dir / "orvex.conf"),
            "hors=section\n\n[Affichage]\nNumerosDeLigne=oui\nRetourALaLigne=true\nTaillePolice=grand\nZoom=4\n\n"
            "[Autre]\ncle=\n");
  EXPECT_TRUE(preferences.reload());
}

TEST(Preferences, AFileThatIsNotOursIsNeverOverwritten) {
  using namespace std::string_literals;
  const std::string cases[] = {
      "[Affichage\nZoom=1\n",
      "\x7F"
      "ELF\x02\x01\x01\0\0\0"s,
      "Zoom=1\nune ligne sans egal\n",
      "[Affichage]\n=3\n",
      "[]\nZoom=1\n",
      "[Affichage]\nZoom=1\0\n"s,
  };
  for (const std::string& bytes : cases) {
    TempDir dir;
    writeFile(dir / "orvex.conf", bytes);
    Preferences preferences(dir / "orvex.conf");
    int said = 0;
    preferences.setUnreadableHandler([&said] { ++said; });
    EXPECT_FALSE(preferences.reload()) << bytes;
    EXPECT_EQ(preferences.number("Affichage/Zoom", 7), 7);
    EXPECT_FALSE(preferences.storeFlag("Affichage/NumerosDeLigne", true).ok());
    EXPECT_FALSE(preferences.storePaths("FichiersRecents", {"/a"}).ok());
    EXPECT_FALSE(preferences.reload());
    EXPECT_EQ(said, 1);
    EXPECT_EQ(readFile(dir / "orvex.conf"), bytes);
  }

  // Made unreadable by another program after a good start: the next write stops.
  TempDir dir;
  Preferences preferences(dir / "orvex.conf");
  int said = 0;
  preferences.setUnreadableHandler([&said] { ++said; });
  EXPECT_TRUE(preferences.storeFlag("Affichage/NumerosDeLigne", true).ok());
  writeFile(dir / "orvex.conf", "pas un fichier de préférences");
  EXPECT_FALSE(preferences.storeFlag("Affichage/NumerosDeLigne", false).ok());
  EXPECT_EQ(said, 1);
  EXPECT_EQ(readFile(dir / "orvex.conf"), "pas un fichier de préférences");

  TempDir other;
  std::filesystem::create_directory(other / "orvex.conf");
  Preferences directory(other / "orvex.conf");
  EXPECT_FALSE(directory.reload());
  EXPECT_FALSE(directory.storeFlag("Affichage/NumerosDeLigne", true).ok());
}

TEST(Preferences, ALinkAtTheNameIsReadButNeverWrittenThrough) {
  TempDir dir;
  writeFile(dir / "ailleurs.conf", "[Affichage]\nZoom=2\n");
  std::filesystem::create_symlink(dir / "ailleurs.conf", dir / "orvex.conf");
  std::filesystem::create_symlink(dir / "absent.conf", dir / "pendant.conf");
  Preferences linked(dir / "orvex.conf");
  EXPECT_TRUE(linked.reload());
  EXPECT_EQ(linked.number("Affichage/Zoom", 0), 2);
  EXPECT_FALSE(linked.storeFlag("Affichage/NumerosDeLigne", true).ok());
  Preferences dangling(dir / "pendant.conf");
  EXPECT_TRUE(dangling.reload());
  EXPECT_FALSE(dangling.storeFlag("Affichage/NumerosDeLigne", true).ok());
  EXPECT_EQ(readFile(dir / "ailleurs.conf"), "[Affichage]\nZoom=2\n");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "orvex.conf"));
  EXPECT_FALSE(std::filesystem::exists(dir / "absent.conf"));
}

TEST(Preferences, WithoutAPlaceNothingIsReadOrWritten) {
  Preferences nowhere{std::filesystem::path()};
  EXPECT_TRUE(nowhere.reload());
  EXPECT_TRUE(nowhere.storeFlag("Affichage/NumerosDeLigne", true).ok());
  EXPECT_FALSE(nowhere.flag("Affichage/NumerosDeLigne", false));
}

TEST(RecentFiles, NewestFirstOnceEachAtMostTen) {
  using Files = std::vector<std::filesystem::path>;
  EXPECT_EQ(withRecentFile({}, "/a"), Files{"/a"});
  EXPECT_EQ(withRecentFile({"/a", "/b", "/c"}, "/c"), (Files{"/c", "/a", "/b"}));
  EXPECT_EQ(withRecentFile({"/a", "/b"}, "/x/../b"), (Files{"/b", "/a"}));
  Files ten;
  for (int i = 0; i < 10; ++i) ten.emplace_back("/f" + std::to_string(i));
  const Files kept = withRecentFile(ten, "/neuf");
  ASSERT_EQ(kept.size(), 10u);
  EXPECT_EQ(kept.front(), "/neuf");
  EXPECT_EQ(kept.back(), "/f8");
}

}  // namespace
}  // namespace orvex
