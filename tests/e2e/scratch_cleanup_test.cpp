// A batch run of the built program removes what killed copies left in the
// temporary directory, and never a live copy's scratch directory.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "test_support.h"

namespace orvex {
namespace {

using test::TempDir;
using test::writeFile;

TEST(ScratchDirectory, ABatchRunRemovesWhatKilledCopiesLeft) {
  TempDir base;
  const test::ScopedVariable tmpdir("TMPDIR", base.path());
  test::RunningCopy live;
  // A batch run cleans up too, and so does a new scratch directory's owner at the
  // interactive start (the same function).
  test::RunningCopy killedAgain;
  killedAgain.kill();
  ASSERT_TRUE(std::filesystem::exists(killedAgain.path()));
  writeFile(base / "texte.txt", "abc\n");
  const std::string command =
      std::string("TMPDIR=") + base.path().string() + " " + ORVEX_BINARY + " " + (base / "texte.txt").string() + " 1";
  EXPECT_EQ(std::system(command.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(killedAgain.path()));
  EXPECT_TRUE(std::filesystem::exists(live.path() / "annulations" / "1-avant"));
}

}  // namespace
}  // namespace orvex
