// File names kept as bytes: shown with U+FFFD for what cannot be decoded, found
// again from what a dialog shows, and read from a dropped address list.

#include <gtest/gtest.h>

#include "paths/file_names.h"
#include "test_support.h"

namespace orvex {
namespace {

using test::TempDir;
using test::writeFile;

TEST(FileNames, ShownNamesReplaceOnlyWhatCannotBeDecoded) {
  const struct {
    std::string bytes;
    std::string shown;
  } cases[] = {
      {"café.txt", "café.txt"},
      {"caf\xE9.txt", "caf\xEF\xBF\xBD.txt"},
      {"\xE9\xE8", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"a\xC3", "a\xEF\xBF\xBD"},                          // a sequence cut short
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
      {"😀", "😀"},
  };
  for (const auto& c : cases) EXPECT_EQ(shownName(c.bytes), c.shown) << c.bytes;
}

TEST(FileNames, DroppedAddressesGiveTheFilesBytes) {
  const struct {
    std::string list;
    std::optional<std::string> file;
  } cases[] = {
      {"file:///tmp/caf%E9.txt\r\n", "/tmp/caf\xE9.txt"},
      {"file:///tmp/a%20b%25.txt", "/tmp/a b%.txt"},
      {"# commentaire\r\nfile://localhost/tmp/x\r\nfile:///tmp/y\r\n", "/tmp/x"},
      {"file:///tmp/%zz%4", "/tmp/%zz%4"},
      {"file:///tmp/a%00b", std::nullopt},
      {"https://exemple.fr/x.txt\r\n", std::nullopt},
      {"file://autre-machine/tmp/x", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto file = localFileFromUriList(c.list);
    ASSERT_EQ(file.has_value(), c.file.has_value()) << c.list;
    if (file) {
      EXPECT_EQ(file->native(), *c.file) << c.list;
    }
  }
}

TEST(FileNames, ADialogsNameIsFoundAgainAsBytes) {
  TempDir dir;
  std::filesystem::create_directory(dir / "dossier \xE9t\xE9");
  writeFile(dir / "dossier \xE9t\xE9" / "caf\xE9.txt", "x");
  writeFile(dir / "deux\xE9.txt", "x");
  writeFile(dir / "deux\xE8.txt", "x");
  writeFile(dir / "été.txt", "x");
  const std::string base = dir.path().native();
  const std::string replacement = "\xEF\xBF\xBD";

  NameLookup found = findShownPath(base + "/dossier " + replacement + "t" + replacement + "/caf" + replacement + ".txt");
  EXPECT_FALSE(found.ambiguous);
  EXPECT_EQ(found.path, dir / "dossier \xE9t\xE9" / "caf\xE9.txt");

  found = findShownPath(base + "/été.txt");
  EXPECT_EQ(found.path, dir / "été.txt");

  // A new file in a directory whose name is not UTF-8.
  found = findShownPath(base + "/dossier " + replacement + "t" + replacement + "/nouveau é.txt");
  EXPECT_EQ(found.path, dir / "dossier \xE9t\xE9" / "nouveau é.txt");

  EXPECT_TRUE(findShownPath(base + "/deux" + replacement + ".txt").ambiguous);
  // A name holding the replacement character itself is one of the names shown alike.
  writeFile(dir / ("d\xE9" + std::string(".txt")), "x");
  writeFile(dir / ("d" + replacement + ".txt"), "x");
  EXPECT_TRUE(findShownPath(base + "/d" + replacement + ".txt").ambiguous);
}

}  // namespace
}  // namespace orvex
