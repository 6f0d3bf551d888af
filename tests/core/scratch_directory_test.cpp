// The scratch directories of running and killed copies of the program: the next
// start removes what a killed copy left, never a live copy's directory, another
// user's, a link or anything else; and the lock that tells them apart.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "io/file_handle.h"
#include "io/file_lock.h"
#include "paths/scratch_directory.h"
#include "test_support.h"

namespace orvex {
namespace {

using test::TempDir;
using test::writeFile;

TEST(ScratchDirectory, TheNextStartRemovesOnlyWhatKilledCopiesLeft) {
  TempDir base;
  const test::ScopedVariable tmpdir("TMPDIR", base.path());
  test::RunningCopy killed;
  test::RunningCopy live;
  ASSERT_TRUE(std::filesystem::is_directory(killed.path())) << killed.path();
  ASSERT_EQ(killed.path().parent_path(), base.path());
  killed.kill();
  std::filesystem::create_directory(base / "elsewhere");
  writeFile(base / "elsewhere" / "precieux", "x");
  // Removing never follows a link, inside or at the top.
  std::filesystem::create_directory_symlink(base / "elsewhere", killed.path() / "lien");

  // Things that look like scratch directories and are not a killed copy's.
  std::filesystem::create_directory_symlink(base / "elsewhere", base / "orvex-scratch-LIEN00");
  std::filesystem::create_directory(base / "orvex-scratch-toolong");
  std::filesystem::create_directory(base / "orvex-nolock");
  std::filesystem::create_directory(base / "orvex-scratch-SANSVR");
  writeFile(base / "orvex-scratch-SANSVR" / "temp.txt", "pas le nôtre");
  // Killed before it could take its lock: empty, and removed.
  std::filesystem::create_directory(base / "orvex-scratch-VIDE00");
  writeFile(base / "orvex-scratch-ROOT00", "a file");
  std::filesystem::create_directory(base / "orvex-scratch-AUTRE0");
  writeFile(base / "orvex-scratch-AUTRE0" / "verrou", "");
  const bool otherUser = ::geteuid() == 0 && ::chown((base / "orvex-scratch-AUTRE0").c_str(), 61002, 61002) == 0;

  removeAbandonedScratchDirectories(base.path());

  EXPECT_FALSE(std::filesystem::exists(killed.path()));
  EXPECT_TRUE(std::filesystem::exists(live.path() / "annulations" / "1-avant"));
  EXPECT_TRUE(std::filesystem::exists(base / "elsewhere" / "precieux"));
  EXPECT_TRUE(std::filesystem::is_symlink(base / "orvex-scratch-LIEN00"));
  EXPECT_TRUE(std::filesystem::exists(base / "orvex-scratch-toolong"));
  EXPECT_TRUE(std::filesystem::exists(base / "orvex-nolock"));
  EXPECT_TRUE(std::filesystem::exists(base / "orvex-scratch-SANSVR" / "temp.txt"));
  EXPECT_FALSE(std::filesystem::exists(base / "orvex-scratch-VIDE00"));
  EXPECT_TRUE(std::filesystem::exists(base / "orvex-scratch-ROOT00"));
  EXPECT_EQ(std::filesystem::exists(base / "orvex-scratch-AUTRE0" / "verrou"), otherUser);

  EXPECT_TRUE(std::filesystem::exists(live.path() / "annulations" / "1-avant"));
}

TEST(ScratchDirectory, ItsLockIsHeldWhileItLives) {
  TempDir base;
  const test::ScopedVariable tmpdir("TMPDIR", base.path());
  std::filesystem::path lock;
  {
    const ScratchDirectory scratch;
    lock = scratch.path() / "verrou";
    EXPECT_FALSE(isLockFree(lock));
  }
  EXPECT_FALSE(std::filesystem::exists(lock.parent_path()));
  EXPECT_TRUE(isLockFree(lock));
}

TEST(FileLock, OneHolderAtATime) {
  TempDir dir;
  const auto path = dir / "verrou";
  EXPECT_TRUE(isLockFree(path));
  {
    std::optional<FileLock> held = FileLock::tryTake(path);
    ASSERT_TRUE(held);
    EXPECT_TRUE(held->stillNamed());
    EXPECT_FALSE(FileLock::tryTake(path));
    EXPECT_FALSE(isLockFree(path));
    std::filesystem::remove(path);
    EXPECT_FALSE(held->stillNamed());
  }
  EXPECT_TRUE(FileLock::tryTake(path, true));
  // Never through a link: a lock taken through one would guard another file.
  std::filesystem::create_symlink(path, dir / "lien");
  EXPECT_FALSE(FileLock::tryTake(dir / "lien", false));
  EXPECT_FALSE(FileLock::tryTake(dir / "absent", false));
}

TEST(ScratchDirectory, AMissingTmpdirFallsBackToTmp) {
  TempDir base;
  const test::ScopedVariable tmpdir("TMPDIR", base / "absent");
  const ScratchDirectory scratch;
  EXPECT_EQ(scratch.path().parent_path(), "/tmp");
}

}  // namespace
}  // namespace orvex
