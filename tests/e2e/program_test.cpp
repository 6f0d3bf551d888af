// The built program: its help, version and exit codes, its start without a
// display, and the signals that end it.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>

#include "test_support.h"

namespace orvex {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// Whether the process has a handler for `signal`, as /proc/PID/status tells.
bool catchesSignal(pid_t pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.starts_with("SigCgt:")) return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1U;
  return false;
}

// Runs a copy of the program, after `environment` (an `env` prefix) when given.
std::pair<int, std::string> runProgram(const std::string& arguments, const std::string& environment = "") {
  TempDir dir;
  const auto copy = dir / "orvex";
  std::filesystem::copy_file(ORVEX_BINARY, copy);
  const std::string command = environment + " " + copy.string() + " " + arguments + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(Program, HelpVersionAndExitCodes) {
  const auto [helpExit, help] = runProgram("--help");
  EXPECT_EQ(helpExit, 0);
  EXPECT_NE(help.find("Orvex dispose d'un mode batch."), std::string::npos);
  EXPECT_NE(help.find("8 : Crytper le fichier"), std::string::npos);
  EXPECT_NE(help.find("  orvex - 5 1 < entrée.txt > sortie.txt\n"), std::string::npos);
  EXPECT_EQ(runProgram("'/?'").second, help);
  // "/?" with a display that cannot be reached prints the help it cannot show.
  EXPECT_EQ(runProgram("'/?'", "env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:987"), std::make_pair(0, help));
  EXPECT_EQ(runProgram("--version").second, "Orvex 1.3\n");
  EXPECT_EQ(runProgram("/nonexistent/file.txt 1").first, 2);

  TempDir dir;
  writeFile(dir / "f.txt", "abc\n");
  const auto [exit, output] = runProgram((dir / "f.txt").string() + " 1");
  EXPECT_EQ(exit, 0);
  EXPECT_EQ(output, "");
  EXPECT_EQ(readFile(dir / "f.txt"), "ABC\n");
}

TEST(Program, WithoutADisplayTheEditorSaysSoInFrench) {
  TempDir dir;
  writeFile(dir / "f.txt", "abc\n");
  const auto [exit, output] =
      runProgram((dir / "f.txt").string(), "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM");
  EXPECT_EQ(exit, 1);
  EXPECT_EQ(output,
            "Orvex : impossible d'ouvrir une fenêtre, aucun affichage graphique n'est disponible.\n"
            "Le mode batch (orvex FICHIER OPTIONS...) fonctionne sans affichage.\n");
  EXPECT_EQ(readFile(dir / "f.txt"), "abc\n");
}

// Starts the editor offscreen with its own temporary directory, waits until its
// scratch directory is there, sends `signal` and waits for the end.
TEST(Program, AnEndingSignalRemovesTheScratchDirectory) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    TempDir dir;
    std::filesystem::create_directory(dir / "tmp");
    std::filesystem::copy_file(ORVEX_BINARY, dir / "orvex");
    writeFile(dir / "f.txt", "abc\n");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::setenv("TMPDIR", (dir / "tmp").c_str(), 1);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      ::execl((dir / "orvex").c_str(), "orvex", (dir / "f.txt").c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // Qt may keep a runtime directory there too; the scratch one is the program's.
    const auto scratchDirectories = [&] {
      int count = 0;
      for (const auto& entry : std::filesystem::directory_iterator(dir / "tmp"))
        count += entry.path().filename().string().starts_with("orvex-");
      return count;
    };
    bool started = false;
    for (int i = 0; i < 500 && !started; ++i) {
      started = scratchDirectories() == 1;
      if (!started) ::usleep(20'000);
    }
    EXPECT_TRUE(started);
    // The scratch directory exists just before the handler is installed.
    for (int i = 0; i < 500 && !catchesSignal(child, signal); ++i) ::usleep(10'000);
    EXPECT_TRUE(catchesSignal(child, signal)) << signal;
    ::kill(child, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
    EXPECT_EQ(scratchDirectories(), 0) << signal;
  }
}

}  // namespace
}  // namespace orvex
