// The real program killed with SIGKILL while the user types: what was typed comes
// back at the next start. Driven under a private X server with xdotool, as a user
// would drive it; skipped where neither is installed.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "io/file_handle.h"
#include "recovery/journal_format.h"
#include "settings/settings_record.h"
#include "test_support.h"

namespace orvex {
namespace {

using namespace std::chrono_literals;
using test::readFile;
using test::TempDir;
using test::writeFile;

bool installed(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

pid_t spawn(const std::vector<std::string>& command, const std::string& display,
            const std::string& errors = "/dev/null") {
  const pid_t child = ::fork();
  if (child == 0) {
    ::setenv("DISPLAY", display.c_str(), 1);
    ::unsetenv("QT_QPA_PLATFORM");
    ::unsetenv("WAYLAND_DISPLAY");
    std::vector<char*> argv;
    for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    const int log = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(log, 2);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return child;
}

void killAndReap(pid_t pid, int signal = SIGKILL) {
  if (pid <= 0) return;
  ::kill(pid, signal);
  ::waitpid(pid, nullptr, 0);
}

int run(const std::string& command, const std::string& display) {
  return std::system(("DISPLAY=" + display + " " + command + " >/dev/null 2>&1").c_str());
}

// An X server of the test's own, on a display number it chose free itself, so
// that tests running side by side never share one. Without -noreset the server
// resets when its last client goes, a kill for instance, and refuses the next start
// for a moment.
class PrivateDisplay {
 public:
  // A server that does not answer (one now and then takes a number an ending
  // server still holds) is replaced, up to three times.
  PrivateDisplay() {
    for (int attempt = 0; attempt < 3; ++attempt) {
      start();
      for (int i = 0; ready() && i < 50; ++i) {
        if (run("xdotool getdisplaygeometry", m_name) == 0) return;
        std::this_thread::sleep_for(100ms);
      }
      killAndReap(m_pid, SIGTERM);
      m_pid = -1;
      m_name.clear();
    }
  }
  ~PrivateDisplay() { killAndReap(m_pid, SIGTERM); }
  bool ready() const { return m_pid > 0 && m_name.size() > 1; }
  const std::string& name() const { return m_name; }

 private:
  void start() {
    int ends[2];
    if (::pipe(ends) != 0) return;
    const pid_t server = ::fork();
    if (server == 0) {
      ::close(ends[0]);
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 2);
      const std::string fd = std::to_string(ends[1]);
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset",
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(ends[1]);
    std::array<char, 16> number{};
    const ssize_t got = ::read(ends[0], number.data(), number.size() - 1);
    ::close(ends[0]);
    m_pid = server;
    if (got <= 0) return;
    m_name = ":";
    m_name += std::string(number.data(), static_cast<std::size_t>(got));
    while (!m_name.empty() && (m_name.back() == '\n' || m_name.back() == ' ')) m_name.pop_back();
  }

  pid_t m_pid = -1;
  std::string m_name;
};

// The text of the only journal in `directory`, when there is a whole one.
std::optional<std::string> journalText(const std::filesystem::path& directory) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    if (entry.path().extension() != ".journal") continue;
    FileHandle file(::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.get(), &info) != 0) return std::nullopt;
    const Result<JournalLayout> layout = readJournalLayout(file.get(), static_cast<std::uint64_t>(info.st_size));
    if (!layout.ok()) return std::string("<illisible>");
    std::string text(layout.value().textLength, '\0');
    readFull(file.get(), text.data(), text.size(), static_cast<off_t>(layout.value().textOffset));
    return text;
  }
  return std::nullopt;
}

// A copy of the program in its own directory, without splash or tips.
struct Installed {
  Installed() {
    std::filesystem::copy_file(ORVEX_BINARY, dir / "orvex");
    SettingsRecord quiet;
    quiet.EcranBienvenue = false;
    quiet.BoiteAstuces = false;
    EXPECT_TRUE(writeSettings(dir / "config.dat", quiet).ok());
    writeFile(dir / "f.txt", "fin\n");
  }
  pid_t start(const std::string& display) const {
    return spawn({(dir / "orvex").string(), (dir / "f.txt").string()}, display);
  }
  TempDir dir;
};

// The windows of the program whose title matches, oldest first.
std::vector<std::string> windows(pid_t pid, const std::string& display, const char* title) {
  const std::string command = "DISPLAY=" + display + " xdotool search --onlyvisible --pid " + std::to_string(pid) +
                              " --name '" + title + "' 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  std::vector<std::string> found;
  std::array<char, 64> line{};
  while (pipe && std::fgets(line.data(), line.size(), pipe)) {
    found.emplace_back(line.data());
    while (!found.back().empty() && found.back().back() == '\n') found.back().pop_back();
  }
  if (pipe) ::pclose(pipe);
  return found;
}

// Gives the keyboard to the program's newest window whose title matches, once at
// least `count` of them are shown. There is no window manager: the focus is set
// and then read back, since a window just mapped may refuse it for a moment. A
// loaded machine may take long to map the window, hence the generous wait.
bool focusWindow(pid_t pid, const std::string& display, const char* title, std::size_t count = 1) {
  const auto deadline = std::chrono::steady_clock::now() + 40s;
  while (std::chrono::steady_clock::now() < deadline) {
    const std::vector<std::string> found = windows(pid, display, title);
    if (found.size() >= count && run("xdotool windowfocus " + found.back(), display) == 0) {
      std::this_thread::sleep_for(100ms);
      const std::string check = "test \"$(DISPLAY=" + display + " xdotool getwindowfocus)\" = " + found.back();
      if (std::system(check.c_str()) == 0) return true;
    }
    std::this_thread::sleep_for(100ms);
  }
  return false;
}

// The question box comes over the main window: both are titled "Orvex".
bool focusQuestion(pid_t pid, const std::string& display) { return focusWindow(pid, display, "^Orvex$", 2); }

// Driven through a real X server with xdotool, whose waits for windows do not hold on
// a loaded machine: run on demand (ORVEX_KILL_TESTS=1, or make test-kill).
bool killTestsWanted() { return std::getenv("ORVEX_KILL_TESTS") != nullptr; }

TEST(RecoveryAfterKill, TypedTextComesBackAndSaves) {
  if (!killTestsWanted()) GTEST_SKIP() << "set ORVEX_KILL_TESTS=1 to run the program under X and kill it";
  if (!installed("Xvfb") || !installed("xdotool")) GTEST_SKIP() << "Xvfb and xdotool are needed";
  const PrivateDisplay display;
  ASSERT_TRUE(display.ready());
  const Installed copy;
  const pid_t first = copy.start(display.name());
  ASSERT_TRUE(focusWindow(first, display.name(), "Orvex - "));
  ASSERT_EQ(run("xdotool type --delay 30 bonjour", display.name()), 0);
  const auto journals = copy.dir / "recuperation";
  for (int i = 0; i < 100 && journalText(journals) != "bonjourfin\n"; ++i) std::this_thread::sleep_for(50ms);
  EXPECT_EQ(journalText(journals), "bonjourfin\n");
  killAndReap(first);
  EXPECT_EQ(readFile(copy.dir / "f.txt"), "fin\n");

  // The question, "Oui" by default, then "Enregistrer" (Ctrl+E) and a normal end.
  const pid_t second = copy.start(display.name());
  ASSERT_TRUE(focusQuestion(second, display.name()));
  ASSERT_EQ(run("xdotool key Return", display.name()), 0);
  ASSERT_TRUE(focusWindow(second, display.name(), "Orvex - "));
  ASSERT_EQ(run("xdotool key ctrl+e", display.name()), 0);
  for (int i = 0; i < 100 && readFile(copy.dir / "f.txt") != "bonjourfin\n"; ++i) std::this_thread::sleep_for(50ms);
  EXPECT_EQ(readFile(copy.dir / "f.txt"), "bonjourfin\n");
  EXPECT_FALSE(journalText(journals));
  killAndReap(second, SIGTERM);
}

bool updateUnderWay(const std::filesystem::path& journals) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(journals, error))
    if (entry.path().extension() == ".tmp") return true;
  return false;
}

// Killed while a journal's update is being written: the journal of the previous
// update is left whole, never the half-written one.
TEST(RecoveryAfterKill, AKillDuringAnUpdateLeavesThePreviousJournal) {
  if (!killTestsWanted()) GTEST_SKIP() << "set ORVEX_KILL_TESTS=1 to run the program under X and kill it";
  if (!installed("Xvfb") || !installed("xdotool")) GTEST_SKIP() << "Xvfb and xdotool are needed";
  const PrivateDisplay display;
  ASSERT_TRUE(display.ready());
  const Installed copy;
  // Large enough for an update to last a good part of a second.
  std::string content;
  while (content.size() < 150'000'000) content += "une ligne que le journal doit garder entière\n";
  const auto journals = copy.dir / "recuperation";
  int killedDuringAnUpdate = 0;
  for (int round = 0; round < 5; ++round) {
    std::filesystem::remove_all(journals);
    writeFile(copy.dir / "f.txt", content);
    const pid_t program = copy.start(display.name());
    ASSERT_TRUE(focusWindow(program, display.name(), "Orvex - "));
    ASSERT_EQ(run("xdotool type a", display.name()), 0);
    for (int i = 0; i < 100 && journalText(journals) != "a" + content; ++i) std::this_thread::sleep_for(100ms);
    ASSERT_EQ(journalText(journals), "a" + content);
    ASSERT_EQ(run("xdotool type b", display.name()), 0);
    for (int i = 0; i < 5000 && !updateUnderWay(journals); ++i) std::this_thread::sleep_for(1ms);
    const bool underWay = updateUnderWay(journals);
    killAndReap(program);
    killedDuringAnUpdate += underWay ? 1 : 0;
    const std::optional<std::string> text = journalText(journals);
    EXPECT_TRUE(text == "a" + content || text == "ab" + content) << text.value_or("<aucun>").substr(0, 80);
  }
  std::printf("%d of 5 kills during an update\n", killedDuringAnUpdate);
  EXPECT_GE(killedDuringAnUpdate, 4);
}

// A document the loop is killed over: its bytes on disk, or none for a new one.
struct KillDocument {
  const char* name;
  std::optional<std::string> bytes;
  bool windows1252;
  const char* lineBreak;
};

// What the user does before the kill, each step sent to the window in turn.
enum class KillAction { Type, TypeThenUpperCase, TypeThenUpperCaseThenUndo };

std::string upperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// `bytes` of `document` as the window holds them (UTF-8).
std::string shownText(const KillDocument& document, const std::string& bytes) {
  if (!document.windows1252) return bytes;
  std::string text;
  for (const char c : bytes) text += c == '\xE9' ? std::string("\xC3\xA9") : std::string(1, c);
  return text;
}

// The states the text goes through in a round: each prefix of the typed text before
// the document's own, then the upper-cased whole, then the whole again after undo.
class StatesOfTheText {
 public:
  StatesOfTheText(std::string typed, std::string content, KillAction action)
      : m_typed(std::move(typed)), m_content(std::move(content)), m_action(action) {}
  bool holds(const std::string& text) const {
    if (m_action != KillAction::Type && text == upperAscii(m_typed + m_content)) return true;
    if (text.size() <= m_content.size() || !text.ends_with(m_content)) return false;
    return m_typed.starts_with(std::string_view(text).substr(0, text.size() - m_content.size()));
  }
  bool isLast(const std::string& text) const {
    return text == (m_action == KillAction::TypeThenUpperCase ? upperAscii(m_typed + m_content) : m_typed + m_content);
  }

 private:
  std::string m_typed;
  std::string m_content;
  KillAction m_action;
};

// What a failure shows of a journal's text, which may be megabytes long.
std::string beginning(const std::optional<std::string>& text) {
  if (!text) return "<aucun>";
  return text->substr(0, 80) + (text->size() > 80 ? "... (" + std::to_string(text->size()) + " octets)" : "");
}

// The text as the window holds it (UTF-8) written as a save of `document` would.
std::string savedBytes(const KillDocument& document, const std::string& text) {
  if (!document.windows1252) return text;
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\xC3\xA9") == 0) {
      bytes += '\xE9';
      ++i;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

class KillRounds {
 public:
  KillRounds(const Installed& copy, const std::string& display) : m_copy(copy), m_display(display) {}

  struct Round {
    KillDocument document;
    KillAction action;
    int killAfterMs;
  };
  // Runs one round; false when the window never came, so no kill was made.
  bool play(const Round& round);
  void report() const {
    std::printf(
        "%d kills: %d left a journal (%d during an update), %d after the last step settled, %d recovered "
        "and saved, none torn\n",
        m_kills, m_journals, m_duringUpdate, m_settled, m_saved);
  }
  int kills() const { return m_kills; }

 private:
  std::filesystem::path file() const { return m_copy.dir / "f.txt"; }
  std::filesystem::path journals() const { return m_copy.dir / "recuperation"; }
  pid_t start(const KillDocument& document) const {
    std::vector<std::string> command{(m_copy.dir / "orvex").string()};
    if (document.bytes) command.push_back(file().string());
    return spawn(command, m_display, errors().string());
  }
  std::filesystem::path errors() const { return m_copy.dir / "orvex.err"; }
  void checkRecovery(const KillDocument& document, const std::string& text);

  const Installed& m_copy;
  std::string m_display;
  int m_kills = 0;
  int m_journals = 0;
  int m_duringUpdate = 0;
  int m_settled = 0;
  int m_saved = 0;
};

bool KillRounds::play(const Round& round) {
  const KillDocument& document = round.document;
  std::filesystem::remove_all(journals());
  std::filesystem::remove(file());
  if (document.bytes) writeFile(file(), *document.bytes);
  const pid_t program = start(document);
  // A new document's window is titled "Orvex" alone.
  if (!focusWindow(program, m_display, document.bytes ? "Orvex - " : "^Orvex$")) {
    if (int status = 0; ::waitpid(program, &status, WNOHANG) == program)
      ADD_FAILURE() << document.name << ": the program ended at its start: " << readFile(errors());
    killAndReap(program);
    return false;
  }
  // Typed at the start of the text, where the caret is after an open.
  const std::string typed = "kill" + std::to_string(m_kills) + "abcdefghijklmnopqrstuvwxyz";
  std::string script = "xdotool type --delay 20 " + typed;
  if (round.action != KillAction::Type) script += "; sleep 0.4; xdotool key ctrl+alt+a";
  if (round.action == KillAction::TypeThenUpperCaseThenUndo) script += "; sleep 0.4; xdotool key ctrl+z";
  const pid_t driver = spawn({"sh", "-c", script}, m_display);

  const auto killAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(round.killAfterMs);
  std::optional<std::chrono::steady_clock::time_point> driverDone;
  while (std::chrono::steady_clock::now() < killAt) {
    if (!driverDone && ::waitpid(driver, nullptr, WNOHANG) == driver) driverDone = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(10ms);
  }
  killAndReap(program);
  ++m_kills;
  if (!driverDone) killAndReap(driver);
  const bool settled = driverDone && killAt - *driverDone > 3s;
  m_settled += settled ? 1 : 0;

  const std::string content = document.bytes ? shownText(document, *document.bytes) : "";
  const StatesOfTheText states{typed, content, round.action};
  m_duringUpdate += std::filesystem::exists(journals()) && [&] {
    for (const auto& entry : std::filesystem::directory_iterator(journals()))
      if (entry.path().extension() == ".tmp") return true;
    return false;
  }();
  const std::optional<std::string> text = journalText(journals());
  EXPECT_TRUE(!settled || (text && states.isLast(*text))) << document.name << ": " << beginning(text);
  if (!text) return true;
  ++m_journals;
  EXPECT_TRUE(states.holds(*text)) << document.name << ": " << beginning(text);
  if (document.bytes) checkRecovery(document, *text);
  return true;
}

// A new start offers the journal; "Oui" and "Enregistrer" write what a save of the
// text before the kill would have written.
void KillRounds::checkRecovery(const KillDocument& document, const std::string& text) {
  const pid_t program = start(document);
  const char* failed = !focusQuestion(program, m_display)             ? "no recovery question"
                       : run("xdotool key Return", m_display) != 0    ? "no answer"
                       : !focusWindow(program, m_display, "Orvex - ") ? "no window after the answer"
                       : run("xdotool key ctrl+e", m_display) != 0    ? "no save key"
                                                                      : nullptr;
  if (failed) {
    const std::string shot = "/tmp/orvex-kill-" + std::to_string(m_kills) + ".png";
    run("import -window root " + shot, m_display);
    int status = 0;
    const bool ended = ::waitpid(program, &status, WNOHANG) == program;
    ADD_FAILURE() << document.name << ": " << failed << " (screen in " << shot << "; "
                  << (ended ? "ended with status " + std::to_string(status) : std::string("still running"))
                  << "; errors: " << readFile(errors()) << ")";
    if (ended) return;
  } else {
    const std::string expected = savedBytes(document, text);
    for (int i = 0; i < 200 && readFile(file()) != expected; ++i) std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(readFile(file()) == expected) << document.name << ": " << beginning(readFile(file()));
    m_saved += readFile(file()) == expected ? 1 : 0;
  }
  killAndReap(program, SIGTERM);
}

// Killed at random moments while typing, after a tool, after an undo: every
// journal left behind is whole and holds one of the states the text went through,
// the last one when nothing had changed for a while; a new start brings it back
// and saves it in the file's own encoding and line breaks.
// Large enough for a journal's update to take a while, so that kills fall inside one.
std::string largeText() {
  std::string text = "été\n";
  while (text.size() < 40'000'000) text += "une ligne de texte que le journal doit garder\n";
  return text + "fin\n";
}

TEST(RecoveryAfterKill, RandomKillsLeaveAStateOfTheText) {
  if (!killTestsWanted()) GTEST_SKIP() << "set ORVEX_KILL_TESTS=1 to run the program under X and kill it";
  if (!installed("Xvfb") || !installed("xdotool")) GTEST_SKIP() << "Xvfb and xdotool are needed";
  const PrivateDisplay display;
  ASSERT_TRUE(display.ready());
  const Installed copy;
  const KillDocument documents[] = {
      {"UTF-8, LF", "été\nfin\n", false, "\n"},
      {"UTF-8, CR LF", "été\r\nfin\r\n", false, "\r\n"},
      {"Windows-1252, LF", "\xE9t\xE9\nfin\n", true, "\n"},
      {"Windows-1252, CR LF", "\xE9t\xE9\r\nfin\r\n", true, "\r\n"},
      {"sans nom", std::nullopt, false, "\n"},
      {"UTF-8, LF, 40 Mo", largeText(), false, "\n"},
  };
  const KillAction actions[] = {KillAction::Type, KillAction::TypeThenUpperCase, KillAction::TypeThenUpperCaseThenUndo};
  std::mt19937 random(std::random_device{}());
  KillRounds rounds(copy, display.name());
  for (int round = 0; round < 80 && rounds.kills() < 60; ++round) {
    const int killAfterMs = std::uniform_int_distribution<>(300, 5500)(random);
    rounds.play({documents[round % 6], actions[(round / 6) % 3], killAfterMs});
    if (::testing::Test::HasFailure()) break;
  }
  rounds.report();
  EXPECT_GE(rounds.kills(), 60);
}

}  // namespace
}  // namespace orvex
