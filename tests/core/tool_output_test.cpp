// A user tool's output: captured in an unnamed file, read once the tool has ended,
// shown as UTF-8 whatever it was written in.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "config/tool_output.h"
#include "io/file_handle.h"
#include "test_support.h"

namespace orvex {
namespace {

namespace fs = std::filesystem;

bool endsWithin(const ToolRun& run, int milliseconds) {
  pollfd end{run.endDescriptor(), POLLIN, 0};
  return ::poll(&end, 1, milliseconds) == 1;
}

std::optional<ToolRun> runScript(const std::string& script, const fs::path& outputDirectory) {
  return startToolWithOutput({"/bin/sh", "-c", script, "sh", "premier argument"}, "/", outputDirectory);
}

bool isEmptyDirectory(const fs::path& directory) { return fs::directory_iterator(directory) == fs::directory_iterator(); }

TEST(ToolOutput, KeepsOutputAndErrorUntilTheToolEnds) {
  test::TempDir dir;
  const std::optional<ToolRun> run =
      runScript("echo \"$1\"; echo erreur >&2; pwd; test $PPID -ne " + std::to_string(::getpid()) + " && echo adopté",
                dir.path());
  ASSERT_TRUE(run);
  ASSERT_TRUE(run->isWatched());
  ASSERT_TRUE(endsWithin(*run, 10000));
  // Started in "/", as a child of init rather than of this process.
  EXPECT_EQ(run->output(1 << 20), "premier argument\nerreur\n/\nadopté\n");
  EXPECT_TRUE(isEmptyDirectory(dir.path()));
}

TEST(ToolOutput, AToolThatCannotStartGivesNothing) {
  test::TempDir dir;
  EXPECT_FALSE(startToolWithOutput({(dir / "absent").native()}, "/", dir.path()));
  EXPECT_FALSE(startToolWithOutput({"/bin/true"}, (dir / "absent").native(), dir.path()));
  EXPECT_FALSE(startToolWithOutput({}, "/", dir.path()));
}

TEST(ToolOutput, WithoutItsDirectoryTheOutputGoesToTheTemporaryOne) {
  test::TempDir dir;
  const test::ScopedVariable tmpdir("TMPDIR", dir.path().native());
  const std::optional<ToolRun> run = runScript("echo ici", dir / "absent");
  ASSERT_TRUE(run);
  ASSERT_TRUE(endsWithin(*run, 10000));
  EXPECT_EQ(run->output(100), "ici\n");
}

TEST(ToolOutput, AnonymousFilesHaveNoNameAndAreTheOwnersOnly) {
  test::TempDir dir;
  const FileHandle file = createAnonymousFile({dir / "absent", "", dir.path()});
  ASSERT_TRUE(file.isOpen());
  struct stat info {};
  ASSERT_EQ(::fstat(file.get(), &info), 0);
  EXPECT_EQ(info.st_nlink, 0u);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_TRUE(isEmptyDirectory(dir.path()));
  EXPECT_FALSE(createAnonymousFile({dir / "absent"}).isOpen());
}

TEST(ToolOutput, ShownAsUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"déjà € ok\n", "déjà € ok\n"},
      {"\xE9t\xE9 \x80 \x9C\n", "été € œ\n"},
      {"m\xC3l\xE9", "mÃlé"},  // a broken UTF-8 sequence: the whole text is Windows-1252
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(outputText(bytes), text) << bytes;
}

TEST(ToolOutput, ALimitThatCutsACharacterKeepsTheTextUtf8) {
  test::TempDir dir;
  const std::pair<std::size_t, std::string> cases[] = {{4, "aé"}, {3, "aé"}, {2, "a"}, {9, "aé€b"}};
  for (const auto& [limit, shown] : cases) {
    FileHandle file = createAnonymousFile({dir.path()});
    writeAll(file.get(), "aé€b");
    const ToolRun run(std::move(file), FileHandle());
    EXPECT_EQ(run.output(limit), shown) << limit;
  }
}

}  // namespace
}  // namespace orvex
