// menu.cfg: reading, menus, the configuration list, saving and launching.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "config/desktop_entry.h"
#include "config/detached_launch.h"
#include "config/menu_config.h"
#include "config/tool_command.h"
#include "test_support.h"

namespace orvex {
namespace {

using Strings = std::vector<std::string>;

const Strings kTwoTools = {"MENU-GENERAL=Mes outils ", "MENU=Calculatrice", "CHEMIN=/usr/bin/calc",
                           "PARAMETRE=",               "MENU=Comparer",     "CHEMIN=/opt/a=b/compare",
                           "PARAMETRE=$CheminFic$NomFic"};

TEST(ToolEntry, JoinsOnTheSeparator) {
  EXPECT_EQ(joinToolEntry({"Nouveau ", "Outils", ""}), "Nouveau  || Outils || ");
  EXPECT_EQ(joinToolEntry({"a=1", "b", "c || d"}), "a=1 || b || c || d");
  EXPECT_EQ(valueOf("CHEMIN=/a=b"), "/a=b");
}

TEST(MenuFile, ReadsCrLfAndLfAlike) {
  test::TempDir dir;
  test::writeFile(dir / "crlf.cfg", "MENU-GENERAL=Outils\r\nMENU=Un\r\n");
  test::writeFile(dir / "lf.cfg", "MENU-GENERAL=Outils\nMENU=Un\n");
  EXPECT_EQ(readMenuFile(dir / "crlf.cfg").value().lines, readMenuFile(dir / "lf.cfg").value().lines);
  EXPECT_EQ(readMenuFile(dir / "lf.cfg").value().lines, (Strings{"MENU-GENERAL=Outils", "MENU=Un"}));
}

TEST(MenuFile, BuildsMenusAndTheConfigurationList) {
  const auto menus = buildToolMenus(kTwoTools);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].title, "Mes outils ");
  EXPECT_EQ(menus[0].labels, (Strings{"Calculatrice", "Comparer"}));

  const ToolList list = loadToolList(kTwoTools);
  EXPECT_EQ(list.title, "Mes outils ");
  EXPECT_EQ(list.entries, (std::vector<ToolEntry>{{"Calculatrice", "/usr/bin/calc", ""},
                                                  {"Comparer", "/opt/a=b/compare", "$CheminFic$NomFic"}}));

  // Tools before any title line go to the existing view menu (no title).
  const auto early = buildToolMenus({"MENU=Avant", "CHEMIN=x", "MENU-GENERAL=Apres", "MENU=Dedans"});
  ASSERT_EQ(early.size(), 2u);
  EXPECT_FALSE(early[0].title.has_value());
  EXPECT_EQ(early[0].labels, (Strings{"Avant"}));
  EXPECT_EQ(early[1].labels, (Strings{"Dedans"}));
  // A hand-written line holding both keys opens a menu and adds an item to it.
  const auto both = buildToolMenus({"# MENU-GENERAL=Outils MENU=Calc", "MENU=Autre"});
  ASSERT_EQ(both.size(), 1u);
  EXPECT_EQ(both[0].title, "Outils MENU=Calc");
  EXPECT_EQ(both[0].labels, (Strings{"Outils MENU=Calc", "Autre"}));
  // A line that starts with a key is that key's line, whatever its value holds.
  const Strings keysInValues = {"MENU-GENERAL=Mes MENU=outils", "MENU=Voir CHEMIN=x", "CHEMIN=/opt/MENU=/x",
                                "PARAMETRE=MENU-GENERAL=y"};
  const auto menus2 = buildToolMenus(keysInValues);
  ASSERT_EQ(menus2.size(), 1u);
  EXPECT_EQ(menus2[0].labels, (Strings{"Voir CHEMIN=x"}));
  EXPECT_EQ(loadToolList(keysInValues).entries,
            (std::vector<ToolEntry>{{"Voir CHEMIN=x", "/opt/MENU=/x", "MENU-GENERAL=y"}}));
  EXPECT_EQ(findTool(keysInValues, "Voir CHEMIN=x")->program, "/opt/MENU=/x");
  EXPECT_EQ(findTool(keysInValues, "Voir CHEMIN=x")->parameters, "MENU-GENERAL=y");
  // A program line before any tool has nothing to extend.
  EXPECT_TRUE(loadToolList({"CHEMIN=/bin/x", "PARAMETRE=y"}).entries.empty());
}

TEST(MenuFile, SaveRoundTripsAndRefusesAnEmptyTitle) {
  test::TempDir dir;
  const auto file = dir / "menu.cfg";
  Status status;
  EXPECT_EQ(saveToolList(file, " \t", {{"a", "b", "c"}}, Encoding::Utf8, status), ToolListSave::NotWritten);
  EXPECT_FALSE(std::filesystem::exists(file));

  const ToolList list = loadToolList(kTwoTools);
  EXPECT_EQ(saveToolList(file, *list.title, list.entries, Encoding::Windows1252, status), ToolListSave::Written);
  EXPECT_TRUE(status.ok());
  std::string expected;
  for (const auto& line : kTwoTools) expected += line + "\r\n";
  EXPECT_EQ(test::readFile(file), expected);

  EXPECT_EQ(saveToolList(file, "", list.entries, Encoding::Utf8, status), ToolListSave::TitleMissing);
  EXPECT_EQ(saveToolList(file, "Titre", {}, Encoding::Utf8, status), ToolListSave::NotWritten);
  EXPECT_EQ(test::readFile(file), expected);
}

TEST(MenuFile, KeepsItsEncodingAndItsLines) {
  test::TempDir dir;
  const auto file = dir / "menu.cfg";
  Status status;
  const std::string windows1252 = "MENU-GENERAL=Outils \xE9t\xE9\r\nMENU=Caf\xE9\r\nCHEMIN=/bin/x\r\nPARAMETRE=\r\n";
  test::writeFile(file, windows1252);
  MenuFile read = readMenuFile(file).value();
  EXPECT_EQ(read.encoding, Encoding::Windows1252);
  EXPECT_EQ(read.lines[0], "MENU-GENERAL=Outils été");
  ToolList list = loadToolList(read.lines);
  ASSERT_EQ(saveToolList(file, *list.title, list.entries, read.encoding, status), ToolListSave::Written);
  EXPECT_EQ(test::readFile(file), windows1252);

  struct Case {
    std::string title;
    Encoding encoding;
    std::string expectedFirstLine;
  };
  const Case cases[] = {
      {"Outils été", Encoding::Utf8, "MENU-GENERAL=Outils été\r\n"},
      // Not in the code page: the file becomes UTF-8 rather than lose a character.
      {"Outils ☃", Encoding::Windows1252, "MENU-GENERAL=Outils ☃\r\n"},
      // Its code-page bytes would read back as UTF-8 "é": kept as UTF-8.
      {"Ã©", Encoding::Windows1252, "MENU-GENERAL=Ã©\r\n"},
      // A line break typed into a value cannot split the file.
      {"Un\r\nMENU=Deux", Encoding::Utf8, "MENU-GENERAL=Un  MENU=Deux\r\n"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(saveToolList(file, c.title, {{"a\nb", "/bin/x", ""}}, c.encoding, status), ToolListSave::Written);
    const std::string text = test::readFile(file);
    EXPECT_TRUE(text.starts_with(c.expectedFirstLine)) << text;
    EXPECT_NE(text.find("\r\nMENU=a b\r\n"), std::string::npos) << text;
    EXPECT_EQ(loadToolList(readMenuFile(file).value().lines).entries.size(), 1u) << text;
  }
}

TEST(ToolLaunch, FindsTheToolByItsExactLabel) {
  const Strings calcAfter = {"MENU-GENERAL=T", "MENU=Calculatrice", "CHEMIN=/usr/bin/calc", "PARAMETRE=",
                             "MENU=Calc",      "CHEMIN=/opt/calc",  "PARAMETRE=-x"};
  EXPECT_EQ(findTool(calcAfter, "Calc")->program, "/opt/calc");
  EXPECT_EQ(findTool(calcAfter, "Calc")->parameters, "-x");
  EXPECT_EQ(findTool(kTwoTools, "Comparer")->program, "/opt/a=b/compare");
  EXPECT_EQ(findTool(kTwoTools, "Comparer")->parameters, "$CheminFic$NomFic");
  EXPECT_FALSE(findTool(kTwoTools, "Calc").has_value());
  EXPECT_FALSE(findTool(kTwoTools, "&Comparer").has_value());
}

// A tool's keys are its own: they are read up to the next tool or title line, so
// a tool whose lines are missing never takes the next tool's program.
TEST(ToolLaunch, KeysBelongToTheirTool) {
  using Program = std::optional<std::string>;
  struct Case {
    const char* what;
    Strings lines;
    Program program;  // of the tool "A"; none: to be configured again
    std::string parameters;
  };
  const Case cases[] = {
      {"no parameter line", {"MENU-GENERAL=T", "MENU=A", "CHEMIN=/bin/a", "MENU=B", "CHEMIN=/bin/b", "PARAMETRE=-b"},
       "/bin/a", ""},
      {"no program line", {"MENU-GENERAL=T", "MENU=A", "PARAMETRE=-a", "MENU=B", "CHEMIN=/bin/b", "PARAMETRE=-b"},
       std::nullopt, "-a"},
      {"no line at all", {"MENU-GENERAL=T", "MENU=A", "MENU=B", "CHEMIN=/bin/b", "PARAMETRE=-b"}, std::nullopt, ""},
      {"the last tool of a menu", {"MENU-GENERAL=T", "MENU=A", "MENU-GENERAL=U", "CHEMIN=/bin/u", "PARAMETRE=-u"},
       std::nullopt, ""},
      {"the last tool of the file", {"MENU-GENERAL=T", "MENU=A", "CHEMIN=/bin/a"}, "/bin/a", ""},
      {"an empty program", {"MENU-GENERAL=T", "MENU=A", "CHEMIN=", "PARAMETRE=", "MENU=B", "CHEMIN=/bin/b"}, "", ""},
      {"lines after the parameters", {"MENU=A", "CHEMIN=/bin/a", "PARAMETRE=-a", "CHEMIN=/bin/x", "PARAMETRE=-x"},
       "/bin/a", "-a"},
      {"blank and foreign lines", {"MENU=A", "", "# note", "CHEMIN=/bin/a", "", "PARAMETRE=-a"}, "/bin/a", "-a"},
  };
  for (const Case& c : cases) {
    const auto launch = findTool(c.lines, "A");
    ASSERT_TRUE(launch.has_value()) << c.what;
    EXPECT_EQ(launch->program, c.program) << c.what;
    EXPECT_EQ(launch->parameters, c.parameters) << c.what;
    const ToolList list = loadToolList(c.lines);
    ASSERT_FALSE(list.entries.empty()) << c.what;
    EXPECT_EQ(list.entries[0], (ToolEntry{"A", c.program.value_or(""), c.parameters})) << c.what;
    // The next tool keeps its own keys.
    if (const auto next = findTool(c.lines, "B")) {
      EXPECT_EQ(next->program, "/bin/b") << c.what;
      EXPECT_EQ(list.entries.at(1), (ToolEntry{"B", "/bin/b", next->parameters})) << c.what;
    }
  }
}

// What the dialog saves reads back as itself, whatever a value holds: keys, the
// list's separator, "=", blanks at either end.
TEST(MenuFile, EveryValueReadsBackAsItself) {
  const std::vector<ToolEntry> tools = {
      {"Deux || outils", "/opt/a || b/prog", "-x || -y"},
      {"MENU=Faux", "CHEMIN=/bin/faux", "PARAMETRE=-p"},
      {"MENU-GENERAL=Titre", "/bin/MENU=x", "MENU=y CHEMIN=z"},
      {"PARAMETRE=", "PARAMETRE=/bin/p", "CHEMIN="},
      {" || ", " || ", " || "},
      {"CHEMIN=", "MENU-GENERAL=", "MENU-GENERAL="},
      {"  blancs  ", " /bin/x ", "  "},
      {"", "", ""},
      {"Été €", "/opt/é/prog", "a=b=c $NomFic"},
  };
  const std::string titles[] = {"Mes outils", "MENU=Outils", "CHEMIN=x || PARAMETRE=y", " MENU-GENERAL= "};
  test::TempDir dir;
  const auto file = dir / "menu.cfg";
  for (const std::string& title : titles) {
    for (const Encoding encoding : {Encoding::Utf8, Encoding::Windows1252}) {
      Status status;
      ASSERT_EQ(saveToolList(file, title, tools, encoding, status), ToolListSave::Written) << title;
      const MenuFile read = readMenuFile(file).value();
      const ToolList list = loadToolList(read.lines);
      EXPECT_EQ(list.title, title);
      EXPECT_EQ(list.entries, tools) << title;
      const auto menus = buildToolMenus(read.lines);
      ASSERT_EQ(menus.size(), 1u) << title;
      EXPECT_EQ(menus[0].title, title);
      for (const ToolEntry& tool : tools) {
        const auto launch = findTool(read.lines, tool.label);
        ASSERT_TRUE(launch.has_value()) << tool.label;
        EXPECT_EQ(launch->program, tool.program) << tool.label;
        EXPECT_EQ(launch->parameters, tool.parameters) << tool.label;
      }
    }
  }
}

TEST(ToolLaunch, ArgumentsAreSplitThenSubstituted) {
  const std::string hostile = "a b \"c'; rm -rf ~; echo";
  struct Case {
    std::string parameters;
    std::string file;
    std::string selection;
    Strings expected;
  };
  const Case cases[] = {
      {"$CheminFic$NomFic", "/home/a/doc.txt", "", {"/home/a/doc.txt"}},
      {"$CheminFic$NomFic", "", "", {""}},
      {"$NomFic $NomFic", "/d/x.txt", "", {"x.txt", "$NomFic"}},
      {"-s '$Selection'", "", "mot", {"-s", "mot"}},
      {"-s $Selection -f", "/d/x.txt", hostile, {"-s", hostile, "-f"}},
      {"\"$CheminFic$NomFic\" --", "/mes docs/a b.txt", "", {"/mes docs/a b.txt", "--"}},
      // A value put in is never searched again for the next variable.
      {"$NomFic $CheminFic", "/d/$CheminFic.txt", "", {"$CheminFic.txt", "/d/"}},
      // Quotes, backslashes and nothing expanded.
      {"'a  b' \"c \\\" $HOME\" d\\ e '' `x` *", "", "", {"a  b", "c \" $HOME", "d e", "", "`x`", "*"}},
      {"  \t ", "", "", {}},
      {"'open", "", "", {"open"}},
      {"fin\\", "", "", {"fin\\"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(toolArguments(c.parameters, c.file, c.selection), c.expected) << c.parameters;
}

TEST(ToolLaunch, ArgumentLimitsAndPrograms) {
  EXPECT_TRUE(fitsArgumentLimits({"/bin/echo", std::string(100'000, 'a')}));
  EXPECT_FALSE(fitsArgumentLimits({"/bin/echo", std::string(200'000, 'a')}));
  EXPECT_FALSE(fitsArgumentLimits(std::vector<std::string>(400, std::string(100'000, 'a'))));

  test::TempDir dir;
  test::writeFile(dir / "notes.txt", "x");
  using Kind = ToolTarget::Kind;
  EXPECT_EQ(resolveToolProgram("/bin/sh").kind, Kind::Start);
  EXPECT_EQ(resolveToolProgram("sh").kind, Kind::Start);
  EXPECT_EQ(resolveToolProgram("sh").path.back(), 'h');
  EXPECT_EQ(resolveToolProgram((dir / "notes.txt").string()).kind, Kind::Open);
  EXPECT_EQ(resolveToolProgram("https://orvex.velmora.fr").kind, Kind::Open);
  EXPECT_EQ(resolveToolProgram("mailto:a@b.fr").kind, Kind::Open);
  EXPECT_EQ(resolveToolProgram((dir / "absent").string()).kind, Kind::Missing);
  // A relative path is made whole, since the tool starts elsewhere.
  const ToolTarget relative = resolveToolProgram(std::filesystem::relative(dir / "notes.txt").string());
  EXPECT_EQ(relative.kind, Kind::Open);
  EXPECT_EQ(relative.path, (dir / "notes.txt").string());
  EXPECT_EQ(resolveToolProgram("pas-un-programme-orvex").kind, Kind::Missing);
}

}  // namespace
}  // namespace orvex

namespace orvex {
namespace {

TEST(DesktopEntry, DeclaredValidAndRemoved) {
  test::TempDir dir;
  const auto applications = dir / "applications";
  ASSERT_TRUE(declareDesktopEntry(applications, "/opt/mes outils/$orvex\"/orvex").ok());
  ASSERT_TRUE(declareDesktopEntry(applications, "/usr/local/bin/orvex").ok());  // the latest wins
  const std::string text = test::readFile(applications / kDesktopEntryName);
  EXPECT_NE(text.find("Name=Ouvrir avec Orvex\n"), std::string::npos);
  EXPECT_NE(text.find("Exec=\"/usr/local/bin/orvex\" %f\n"), std::string::npos);
  EXPECT_NE(text.find("MimeType=text/plain;\n"), std::string::npos);
  EXPECT_EQ(text.find("octet-stream"), std::string::npos);
  // Quoting: blanks, $, double quotes and backslashes of a path stay literal.
  EXPECT_NE(desktopEntryText("/opt/mes outils/$orvex\\\"/orvex").find(
                "Exec=\"/opt/mes outils/\\\\$orvex\\\\\\\\\\\\\"/orvex\" %f\n"),
            std::string::npos)
      << desktopEntryText("/opt/mes outils/$orvex\\\"/orvex");
  // GIO looks for the program before it turns "%%" back into "%": such a path goes
  // to the shell as an argument.
  EXPECT_NE(desktopEntryText("/opt/a%b/orvex").find(
                R"(Exec=/bin/sh -c "exec \\"\\$0\\" \\"\\$@\\"" "/opt/a%%b/orvex" %f)" "\n"),
            std::string::npos)
      << desktopEntryText("/opt/a%b/orvex");
  removeDesktopEntry(applications);
  EXPECT_FALSE(std::filesystem::exists(applications / kDesktopEntryName));
  removeDesktopEntry(applications);  // twice: nothing happens
  EXPECT_EQ(declareDesktopEntry("", "/usr/bin/orvex").error, "Echec à la définition des données pour ''");

  // A program in a directory whose name is not UTF-8 cannot be named: nothing is
  // written, and an earlier entry stays as it was.
  ASSERT_TRUE(declareDesktopEntry(applications, "/usr/bin/orvex").ok());
  const std::string before = test::readFile(applications / kDesktopEntryName);
  EXPECT_EQ(declareDesktopEntry(applications, "/opt/caf\xE9/orvex").error,
            "Impossible de déclarer Orvex dans le gestionnaire de fichiers : le chemin du programme n'est pas en "
            "UTF-8.");
  EXPECT_EQ(test::readFile(applications / kDesktopEntryName), before);
  EXPECT_FALSE(declareDesktopEntry(dir / "other", "/opt/caf\xE9/orvex").ok());
  EXPECT_FALSE(std::filesystem::exists(dir / "other"));

  // The running program, as the system names it.
  const auto self = runningExecutable();
  ASSERT_TRUE(self.has_value());
  EXPECT_EQ(*self, std::filesystem::canonical("/proc/self/exe").string());
}

}  // namespace
}  // namespace orvex

namespace orvex {
namespace {

TEST(DetachedLaunch, SaysWhatCouldNotStart) {
  test::TempDir dir;
  const struct {
    std::vector<std::string> command;
    std::string directory;
    bool started;
  } cases[] = {
      {{"/bin/true"}, "/", true},
      {{"/bin/true", "caf\xE9"}, "", true},
      {{(dir / "absent").string()}, "/", false},
      {{"/bin/true"}, (dir / "absent").string(), false},
      {{"/etc/hostname"}, "/", false},  // not executable
      {{}, "/", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(startDetachedProcess(c.command, c.directory), c.started) << (c.command.empty() ? "" : c.command[0]);
}

}  // namespace
}  // namespace orvex
