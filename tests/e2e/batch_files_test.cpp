// Batch runs of the built program on files around which other users, process
// limits and kills play: the file is written in place or whole, never half, and
// nothing is left behind. Some cases need root and setpriv to act as another user.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <random>
#include <string>

#include "test_support.h"

namespace orvex {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// Runs a shell command line; its exit status, or -1 when it did not exit.
int run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A copy of the program that an unprivileged user may run, in a directory of its own.
class ProgramCopy {
 public:
  ProgramCopy() {
    std::filesystem::permissions(m_dir.path(), std::filesystem::perms::all);
    std::filesystem::copy_file(ORVEX_BINARY, path());
  }
  std::filesystem::path path() const { return m_dir / "orvex"; }
  const TempDir& dir() const { return m_dir; }

 private:
  TempDir m_dir;
};

bool canRunAsNobody() {
  return ::geteuid() == 0 && run("setpriv --reuid=nobody --regid=nogroup --clear-groups true 2>/dev/null") == 0;
}

std::string asNobody(const std::string& command) {
  return "setpriv --reuid=nobody --regid=nogroup --clear-groups " + command;
}

TEST(BatchFiles, AFileOfAnotherUserInAStickyDirectoryIsWrittenInPlace) {
  if (!canRunAsNobody()) GTEST_SKIP() << "needs root and setpriv to act as another user";
  ProgramCopy program;
  const auto sticky = program.dir() / "partage";
  std::filesystem::create_directory(sticky);
  ::chmod(sticky.c_str(), 01777);
  writeFile(sticky / "commun.txt", "partagé\n");
  ::chmod((sticky / "commun.txt").c_str(), 0666);
  EXPECT_EQ(run(asNobody(program.path().string() + " " + (sticky / "commun.txt").string() + " 1")), 0);
  EXPECT_EQ(readFile(sticky / "commun.txt"), "PARTAGé\n");
  struct stat info {};
  ::stat((sticky / "commun.txt").c_str(), &info);
  EXPECT_EQ(info.st_uid, 0u);
  EXPECT_EQ(test::hiddenTemporaries(sticky), 0);
}

TEST(BatchFiles, AccessRefusedIsNotAMissingFile) {
  if (!canRunAsNobody()) GTEST_SKIP() << "needs root and setpriv to act as another user";
  ProgramCopy program;
  const auto secret = program.dir() / "prive";
  std::filesystem::create_directory(secret);
  ::chmod(secret.c_str(), 0700);
  writeFile(secret / "secret.txt", "abc\n");
  const std::string command = asNobody(program.path().string() + " " + (secret / "secret.txt").string() + " 1");
  EXPECT_EQ(run(command + " 2>/dev/null"), 1);
  EXPECT_EQ(readFile(secret / "secret.txt"), "abc\n");
  EXPECT_EQ(run(asNobody(program.path().string() + " " + (program.dir() / "absent.txt").string() + " 1")), 2);
}

TEST(BatchFiles, TheSortWorksWhenNoThreadCanBeCreated) {
  if (!canRunAsNobody()) GTEST_SKIP() << "process limits do not bind root; needs setpriv";
  ProgramCopy program;
  const auto file = program.dir() / "lignes.txt";
  std::string text;
  for (long long i = 400'000; i > 0; --i) text += "ligne " + std::to_string(i * 7919 % 400'009) + "\n";
  writeFile(file, text);
  ::chmod(file.c_str(), 0666);
  EXPECT_EQ(run(asNobody("prlimit --nproc=1 " + program.path().string() + " " + file.string() + " 3")), 0);
  const std::string sorted = readFile(file);
  EXPECT_EQ(sorted.size(), text.size());
  EXPECT_TRUE(sorted.starts_with("ligne 1\n")) << sorted.substr(0, 40);
  EXPECT_EQ(test::hiddenTemporaries(program.dir().path()), 0);
}

TEST(BatchFiles, AKilledRunLeavesTheOldOrTheNewTextAndNothingElse) {
  ProgramCopy program;
  const auto file = program.dir() / "gros.txt";
  std::string text;
  for (int i = 0; text.size() < 30'000'000; ++i) text += "Ligne numéro " + std::to_string(i) + " du texte\n";
  std::string upper = text;
  std::string lower = text;
  for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  std::mt19937 random(7);
  for (int round = 0; round < 12; ++round) {
    writeFile(file, text);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::execl(program.path().c_str(), "orvex", file.c_str(), "1", "2", "1", "2", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::usleep(std::uniform_int_distribution<int>(0, 400'000)(random));
    const int signal = round % 3 == 0 ? SIGTERM : round % 3 == 1 ? SIGINT : SIGKILL;
    ::kill(child, signal);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string after = readFile(file);
    EXPECT_TRUE(after == text || after == upper || after == lower) << "round " << round;
    EXPECT_EQ(test::hiddenTemporaries(program.dir().path()), 0) << "round " << round << ", signal " << signal;
  }
}

}  // namespace
}  // namespace orvex
