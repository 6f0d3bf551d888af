// What saving does to the files around it: the program directory and links of
// other users, hard links, extended attributes, long names, other writers, kills,
// full disks and permissions. Some cases need an unprivileged user (setpriv) or a
// tmpfs mount, and are skipped where the machine cannot give them.

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <random>

#include "io/atomic_file.h"
#include "io/file_handle.h"
#include "io/status.h"
#include "paths/program_paths.h"
#include "settings/settings_record.h"
#include "test_support.h"
#include "text/messages.h"

namespace orvex {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

constexpr uid_t kNobody = 65534;

// Sets an environment variable for the scope of a test.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnvironment() {
    if (m_old)
      ::setenv(m_name, m_old->c_str(), 1);
    else
      ::unsetenv(m_name);
  }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

int hiddenTemporaries(const std::filesystem::path& directory) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    count += entry.path().filename().string().starts_with(".orvex-");
  return count;
}

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

TEST(ProgramDirectory, OnlyASafePlaceOfTheUsersOwn) {
  TempDir dir;
  const auto home = dir / "home";
  std::filesystem::create_directory(home);
  ScopedEnvironment noXdg("XDG_CONFIG_HOME", nullptr);
  ScopedEnvironment homeVariable("HOME", home.c_str());

  // A build tree of the user's own: the executable's directory.
  EXPECT_EQ(resolveProgramDirectory(dir.path()), dir.path());
  // An installed program: never a system directory, even for root.
  EXPECT_EQ(resolveProgramDirectory("/usr/bin"), home / ".config" / "orvex");
  // A copy installed under a prefix of the user's own (~/.local) too.
  std::filesystem::create_directories(home / ".local" / "bin");
  std::filesystem::create_directories(home / ".local" / "share" / "orvex");
  EXPECT_EQ(resolveProgramDirectory(home / ".local" / "bin"), home / ".config" / "orvex");
  struct stat info {};
  ASSERT_EQ(::lstat((home / ".config" / "orvex").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  // A directory another user owns is not the user's, writable or not.
  const auto foreign = dir / "foreign";
  std::filesystem::create_directory(foreign);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(foreign.c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(resolveProgramDirectory(foreign), home / ".config" / "orvex");
  }

  // The configuration directory must be a real directory nobody else may write.
  std::filesystem::remove(home / ".config" / "orvex");
  std::filesystem::create_directory_symlink(foreign, home / ".config" / "orvex");
  EXPECT_EQ(resolveProgramDirectory("/usr/bin"), std::nullopt);
  std::filesystem::remove(home / ".config" / "orvex");
  ::mkdir((home / ".config" / "orvex").c_str(), 0777);
  ::chmod((home / ".config" / "orvex").c_str(), 0777);
  EXPECT_EQ(resolveProgramDirectory("/usr/bin"), std::nullopt);

  // XDG_CONFIG_HOME wins over HOME; without either there is no place at all.
  ScopedEnvironment xdg("XDG_CONFIG_HOME", (dir / "xdg").c_str());
  EXPECT_EQ(resolveProgramDirectory("/usr/bin"), dir / "xdg" / "orvex");
  ScopedEnvironment noXdgAgain("XDG_CONFIG_HOME", nullptr);
  ScopedEnvironment noHome("HOME", nullptr);
  EXPECT_EQ(resolveProgramDirectory("/usr/bin"), std::nullopt);
  const ProgramPaths nowhere(resolveProgramDirectory("/usr/bin").value_or(std::filesystem::path()));
  EXPECT_FALSE(nowhere.available());
  EXPECT_TRUE(nowhere.configFile().empty());
  EXPECT_FALSE(writeSettings(nowhere.configFile(), SettingsRecord{}).ok());
}

TEST(ProgramDirectory, SettingsAreNeverWrittenThroughAnotherUsersLink) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
  TempDir dir;
  writeFile(dir / "victime.txt", "précieux\n");
  std::filesystem::create_symlink(dir / "victime.txt", dir / "config.dat");
  ASSERT_EQ(::lchown((dir / "config.dat").c_str(), kNobody, kNobody), 0);
  const Status status = writeSettings(dir / "config.dat", SettingsRecord{});
  EXPECT_EQ(status.error, "Impossible de créer le fichier " + (dir / "config.dat").string());
  EXPECT_EQ(readFile(dir / "victime.txt"), "précieux\n");

  // A link of the user's own is followed, as for any file.
  ASSERT_EQ(::lchown((dir / "config.dat").c_str(), 0, 0), 0);
  EXPECT_TRUE(writeSettings(dir / "config.dat", SettingsRecord{}).ok());
  EXPECT_EQ(std::filesystem::file_size(dir / "victime.txt"), 24u);
}

TEST(AtomicFile, HardLinksExtendedAttributesAndLongNamesSurvive) {
  TempDir dir;
  writeFile(dir / "h1", "hard\n");
  std::filesystem::create_hard_link(dir / "h1", dir / "h2");
  writeFileAtomically(dir / "h1", "HARD\n");
  EXPECT_EQ(readFile(dir / "h2"), "HARD\n");
  EXPECT_EQ(std::filesystem::hard_link_count(dir / "h1"), 2u);
  EXPECT_EQ(hiddenTemporaries(dir.path()), 0);

  const std::string longName(255, 'n');
  writeFile(dir / longName, "court\n");
  writeFileAtomically(dir / longName, "long\n");
  EXPECT_EQ(readFile(dir / longName), "long\n");

  writeFile(dir / "x.txt", "attributs\n");
  if (::setxattr((dir / "x.txt").c_str(), "user.orvex", "garde", 5, 0) != 0)
    GTEST_SKIP() << "no extended attributes on this file system";
  writeFileAtomically(dir / "x.txt", "ATTRIBUTS\n");
  char value[16] = {};
  EXPECT_EQ(::getxattr((dir / "x.txt").c_str(), "user.orvex", value, sizeof value), 5);
  EXPECT_EQ(std::string(value, 5), "garde");
}

TEST(AtomicFile, AnotherWritersChangesAreNeverReplaced) {
  TempDir dir;
  const auto file = dir / "f.txt";
  writeFile(file, "lu\n");
  const auto identity = identifyFile(file);
  ASSERT_TRUE(identity);
  {
    AtomicFile output(file, identity);
    writeAll(output.fd(), "LU\n");
    writeFile(file, "lu\najouté par un autre\n");
    try {
      output.commit();
      ADD_FAILURE() << "replaced another writer's file";
    } catch (const IoFailure& failure) {
      EXPECT_EQ(std::string(failure.what()), changedDuringRunMessage(file.string()));
    }
  }
  EXPECT_EQ(readFile(file), "lu\najouté par un autre\n");
  EXPECT_EQ(hiddenTemporaries(dir.path()), 0);
}

TEST(AtomicFile, TheNewContentHasNoNameWhileItIsWritten) {
  TempDir dir;
  AtomicFile output(dir / "f.txt");
  writeAll(output.fd(), "contenu\n");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  output.commit();
  EXPECT_EQ(readFile(dir / "f.txt"), "contenu\n");
  EXPECT_EQ(hiddenTemporaries(dir.path()), 0);
}

TEST(AtomicFile, AFullDiskLeavesTheOldFileWhole) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
  TempDir dir;
  const auto mount = dir / "petit";
  std::filesystem::create_directory(mount);
  if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=256k") != 0) GTEST_SKIP() << "tmpfs cannot be mounted here";
  const std::string old(100'000, 'o');
  writeFile(mount / "f.txt", old);
  writeFile(mount / "lien1", old);
  std::filesystem::create_hard_link(mount / "lien1", mount / "lien2");
  const std::string big(200'000, 'N');
  for (const char* name : {"f.txt", "lien1"}) {
    try {
      writeFileAtomically(mount / name, big);
      ADD_FAILURE() << name << " written on a full disk";
    } catch (const IoFailure& failure) {
      EXPECT_EQ(std::string(failure.what()), diskFullMessage()) << name;
    }
    EXPECT_EQ(readFile(mount / name), old) << name;
  }
  EXPECT_EQ(hiddenTemporaries(mount), 0);
  ::umount(mount.c_str());
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
  EXPECT_EQ(hiddenTemporaries(sticky), 0);
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
  EXPECT_EQ(hiddenTemporaries(program.dir().path()), 0);
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
    EXPECT_EQ(hiddenTemporaries(program.dir().path()), 0) << "round " << round << ", signal " << signal;
  }
}

}  // namespace
}  // namespace orvex
