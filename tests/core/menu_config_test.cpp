// menu.cfg: reading, menus, the configuration list, saving and launching.

#include <gtest/gtest.h>

#include <cstdlib>

#include "config/desktop_entry.h"
#include "config/menu_config.h"
#include "test_support.h"

namespace orvex {
namespace {

using Strings = std::vector<std::string>;

const Strings kTwoTools = {"MENU-GENERAL=Mes outils ", "MENU=Calculatrice", "CHEMIN=/usr/bin/calc",
                           "PARAMETRE=",               "MENU=Comparer",     "CHEMIN=/opt/a=b/compare",
                           "PARAMETRE=$CheminFic$NomFic"};

TEST(ToolEntry, JoinsAndSplitsOnTheSeparator) {
  const ToolEntry tool{"Nouveau ", "Outils", ""};
  EXPECT_EQ(joinToolEntry(tool), "Nouveau  || Outils || ");
  EXPECT_EQ(splitToolEntry("Nouveau  || Outils || "), tool);
  EXPECT_EQ(splitToolEntry("a=1 || b || c || d"), (ToolEntry{"a=1", "b", "c || d"}));
  EXPECT_EQ(valueOf("CHEMIN=/a=b"), "/a=b");
}

TEST(MenuFile, ReadsCrLfAndLfAlike) {
  test::TempDir dir;
  test::writeFile(dir / "crlf.cfg", "MENU-GENERAL=Outils\r\nMENU=Un\r\n");
  test::writeFile(dir / "lf.cfg", "MENU-GENERAL=Outils\nMENU=Un\n");
  EXPECT_EQ(readMenuLines(dir / "crlf.cfg"), readMenuLines(dir / "lf.cfg"));
  EXPECT_EQ(readMenuLines(dir / "lf.cfg"), (Strings{"MENU-GENERAL=Outils", "MENU=Un"}));
}

TEST(MenuFile, BuildsMenusAndTheConfigurationList) {
  const auto menus = buildToolMenus(kTwoTools);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].title, "Mes outils ");
  EXPECT_EQ(menus[0].labels, (Strings{"Calculatrice", "Comparer"}));

  const ToolList list = loadToolList(kTwoTools);
  EXPECT_EQ(list.title, "Mes outils ");
  EXPECT_EQ(list.entries, (Strings{"Calculatrice || /usr/bin/calc || ", "Comparer || /opt/a=b/compare || $CheminFic$NomFic"}));

  // Tools before any title line go to the existing view menu (no title).
  const auto early = buildToolMenus({"MENU=Avant", "CHEMIN=x", "MENU-GENERAL=Apres", "MENU=Dedans"});
  ASSERT_EQ(early.size(), 2u);
  EXPECT_FALSE(early[0].title.has_value());
  EXPECT_EQ(early[0].labels, (Strings{"Avant"}));
  EXPECT_EQ(early[1].labels, (Strings{"Dedans"}));
  // A line holding both keys opens a menu and adds an item to it.
  const auto both = buildToolMenus({"MENU-GENERAL=Outils MENU=Calc", "MENU=Autre"});
  ASSERT_EQ(both.size(), 1u);
  EXPECT_EQ(both[0].title, "Outils MENU=Calc");
  EXPECT_EQ(both[0].labels, (Strings{"Outils MENU=Calc", "Autre"}));
  // A program line before any tool has nothing to extend.
  EXPECT_TRUE(loadToolList({"CHEMIN=/bin/x", "PARAMETRE=y"}).entries.empty());
}

TEST(MenuFile, SaveRoundTripsAndRefusesAnEmptyTitle) {
  test::TempDir dir;
  const auto file = dir / "menu.cfg";
  Status status;
  EXPECT_EQ(saveToolList(file, " \t", {"a || b || c"}, status), ToolListSave::NotWritten);
  EXPECT_FALSE(std::filesystem::exists(file));

  const ToolList list = loadToolList(kTwoTools);
  EXPECT_EQ(saveToolList(file, list.title, list.entries, status), ToolListSave::Written);
  EXPECT_TRUE(status.ok());
  std::string expected;
  for (const auto& line : kTwoTools) expected += line + "\r\n";
  EXPECT_EQ(test::readFile(file), expected);

  EXPECT_EQ(saveToolList(file, "", list.entries, status), ToolListSave::TitleMissing);
  EXPECT_EQ(saveToolList(file, "Titre", {}, status), ToolListSave::NotWritten);
  EXPECT_EQ(test::readFile(file), expected);
}

TEST(ToolLaunch, FindsTheFirstContainingLineAndSubstitutesOnce) {
  EXPECT_EQ(findTool(kTwoTools, "&Comparer").program, "/opt/a=b/compare");
  EXPECT_EQ(findTool(kTwoTools, "Com&parer").parameters, "$CheminFic$NomFic");
  // Containment: "Calc" matches the line of "Calculatrice".
  EXPECT_EQ(findTool(kTwoTools, "Calc").program, "/usr/bin/calc");
  EXPECT_EQ(findTool(kTwoTools, "A&&B").program, "");

  EXPECT_EQ(substituteToolVariables("$CheminFic$NomFic", "/home/a/doc.txt", ""), "/home/a/doc.txt");
  EXPECT_EQ(substituteToolVariables("$CheminFic$NomFic", "", ""), "");
  EXPECT_EQ(substituteToolVariables("$NomFic $NomFic", "/d/x.txt", ""), "x.txt $NomFic");
  EXPECT_EQ(substituteToolVariables("-s '$Selection'", "", "mot"), "-s 'mot'");
}

}  // namespace
}  // namespace orvex

namespace orvex {
namespace {

TEST(DesktopEntry, DeclaredValidAndRemoved) {
  test::TempDir dir;
  const auto applications = dir / "applications";
  const std::filesystem::path executable = "/opt/mes outils/$orvex%1\"/orvex";
  ASSERT_TRUE(declareDesktopEntry(applications, executable).ok());
  ASSERT_TRUE(declareDesktopEntry(applications, "/usr/local/bin/orvex").ok());  // the latest wins
  const std::string text = test::readFile(applications / kDesktopEntryName);
  EXPECT_NE(text.find("Name=Ouvrir avec Orvex\n"), std::string::npos);
  EXPECT_NE(text.find("Exec=\"/usr/local/bin/orvex\" %f\n"), std::string::npos);
  EXPECT_NE(text.find("MimeType=application/octet-stream;\n"), std::string::npos);
  // Quoting: blanks, $, %, double quotes and backslashes of a path stay literal.
  EXPECT_NE(desktopEntryText(executable).find("Exec=\"/opt/mes outils/\\\\$orvex%%1\\\\\"/orvex\" %f\n"),
            std::string::npos)
      << desktopEntryText(executable);
  if (std::system("command -v desktop-file-validate > /dev/null") == 0) {
    test::writeFile(dir / "quoted.desktop", desktopEntryText(executable));
    for (const auto& file : {applications / kDesktopEntryName, dir / "quoted.desktop"}) {
      const std::string command = "desktop-file-validate '" + file.string() + "' > " + (dir / "out.txt").string() + " 2>&1";
      EXPECT_EQ(std::system(command.c_str()), 0) << test::readFile(dir / "out.txt");
      EXPECT_EQ(test::readFile(dir / "out.txt"), "");
    }
  }
  removeDesktopEntry(applications);
  EXPECT_FALSE(std::filesystem::exists(applications / kDesktopEntryName));
  removeDesktopEntry(applications);  // twice: nothing happens
  EXPECT_EQ(declareDesktopEntry("", "/usr/bin/orvex").error, "Echec à la définition des données pour ''");
}

}  // namespace
}  // namespace orvex
