// What saving does to the files around it: the program directory and links of
// other users, hard links, extended attributes, long names, other writers, full
// disks and permissions. Some cases need root or a tmpfs mount, and are skipped
// where the machine cannot give them.

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>

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
  EXPECT_EQ(test::hiddenTemporaries(dir.path()), 0);

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
  EXPECT_EQ(test::hiddenTemporaries(dir.path()), 0);
}

TEST(AtomicFile, TheNewContentHasNoNameWhileItIsWritten) {
  TempDir dir;
  AtomicFile output(dir / "f.txt");
  writeAll(output.fd(), "contenu\n");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  output.commit();
  EXPECT_EQ(readFile(dir / "f.txt"), "contenu\n");
  EXPECT_EQ(test::hiddenTemporaries(dir.path()), 0);
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
  EXPECT_EQ(test::hiddenTemporaries(mount), 0);
  ::umount(mount.c_str());
}

}  // namespace
}  // namespace orvex
