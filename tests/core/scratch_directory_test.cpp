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

// A copy of the program in a child process: it makes its scratch directory, fills
// it with an undo file, says where it is, and waits to be killed.
class RunningCopy {
 public:
  RunningCopy() {
    int pipe[2];
    if (::pipe(pipe) != 0) throw std::runtime_error("pipe");
    m_pid = ::fork();
    if (m_pid == 0) {
      ::close(pipe[0]);
      try {
        const ScratchDirectory scratch;
        std::filesystem::create_directory(scratch.path() / "annulations");
        writeFile(scratch.path() / "annulations" / "1-avant", std::string(1000, 'u'));
        const std::string path = scratch.path().string() + "\n";
        if (::write(pipe[1], path.data(), path.size()) < 0) ::_exit(1);
        for (;;) ::pause();
      } catch (...) {
        ::_exit(1);
      }
    }
    ::close(pipe[1]);
    char buffer[4096];
    std::string text;
    for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
      text.append(buffer, static_cast<std::size_t>(got));
      if (text.ends_with('\n')) break;
    }
    ::close(pipe[0]);
    if (!text.empty()) text.pop_back();
    m_path = text;
  }
  ~RunningCopy() { kill(); }
  RunningCopy(const RunningCopy&) = delete;
  RunningCopy& operator=(const RunningCopy&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  void kill() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
  }

 private:
  pid_t m_pid = -1;
  std::filesystem::path m_path;
};

TEST(ScratchDirectory, TheNextStartRemovesOnlyWhatKilledCopiesLeft) {
  TempDir base;
  const test::ScopedVariable tmpdir("TMPDIR", base.path());
  RunningCopy killed;
  RunningCopy live;
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

  // A batch run cleans up too, and so does a new scratch directory's owner at the
  // interactive start (the same function).
  RunningCopy killedAgain;
  killedAgain.kill();
  ASSERT_TRUE(std::filesystem::exists(killedAgain.path()));
  writeFile(base / "texte.txt", "abc\n");
  const std::string command =
      std::string("TMPDIR=") + base.path().string() + " " + ORVEX_BINARY + " " + (base / "texte.txt").string() + " 1";
  EXPECT_EQ(std::system(command.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(killedAgain.path()));
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
