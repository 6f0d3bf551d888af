// The desktop entry as the desktop sees it, through the system's own tools.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "config/desktop_entry.h"
#include "test_support.h"

namespace orvex {
namespace {

// The entry as the desktop sees it: the real lookups of GIO, the launch, and the
// validator, with a program whose path holds every character the format reserves.
class DesktopLookups : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v gio > /dev/null 2>&1") != 0) GTEST_SKIP() << "gio is not installed";
    std::filesystem::create_directories(m_dir / "config");
  }

  // Runs `command` with the user's data in the temporary directory (the system's
  // still in /usr/share); its output, and whether it succeeded.
  std::string run(const std::string& command, bool& succeeded) const {
    const std::string line = "env XDG_DATA_HOME='" + (m_dir / "data").string() + "' XDG_DATA_DIRS=/usr/share " +
                             "XDG_CONFIG_HOME='" + (m_dir / "config").string() + "' " + command + " 2>&1";
    std::string output;
    FILE* pipe = ::popen(line.c_str(), "r");
    if (!pipe) {
      succeeded = false;
      return output;
    }
    char buffer[4096];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
    succeeded = ::pclose(pipe) == 0;
    return output;
  }

  test::TempDir m_dir;
};

TEST_F(DesktopLookups, TextFilesOpenWithTheDeclaredProgram) {
  const auto record = m_dir / "record";
  const std::vector<std::string> programDirectories = {"plain", "a dir % \"q\" $HOME \\b 'x' `y` %f"};
  for (const std::string& name : programDirectories) {
    SCOPED_TRACE(name);
    const auto programDirectory = m_dir / name;
    std::filesystem::create_directories(programDirectory);
    const auto program = programDirectory / "orvex stub";
    test::writeFile(program, "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > '" +
                                 record.string() + ".tmp' && mv '" + record.string() + ".tmp' '" + record.string() +
                                 "'\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const auto applications = m_dir / "data" / "applications";
    ASSERT_TRUE(declareDesktopEntry(applications, program.string()).ok());
    const std::string entry = (applications / kDesktopEntryName).string();

    bool ok = false;
    EXPECT_EQ(run("desktop-file-validate '" + entry + "'", ok), "");
    EXPECT_TRUE(ok);
    // GIO reads the types of the user's entries from the cache the program refreshes.
    run("update-desktop-database '" + applications.string() + "'", ok);
    ASSERT_TRUE(ok);
    for (const char* type : {"text/plain", "text/x-csrc"}) {
      const std::string listed = run(std::string("gio mime ") + type, ok);
      EXPECT_TRUE(ok) << listed;
      EXPECT_NE(listed.find(std::string("\t") + kDesktopEntryName + "\n"), std::string::npos) << type << "\n" << listed;
    }
    const std::string unknown = run("gio mime application/octet-stream", ok);
    EXPECT_EQ(unknown.find(kDesktopEntryName), std::string::npos) << unknown;

    const auto document = m_dir / "lettre à Léa $x.txt";
    test::writeFile(document, "texte\n");
    std::filesystem::remove(record);
    const std::string launched = run("gio launch '" + entry + "' '" + document.string() + "'", ok);
    EXPECT_TRUE(ok) << launched;
    // gio returns once the program has started; the record follows.
    for (int i = 0; i < 200 && !std::filesystem::exists(record); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(std::filesystem::exists(record)) << "not launched";
    EXPECT_EQ(test::readFile(record), std::string("[").append(document.string()).append("]\n"));
  }
}

}  // namespace
}  // namespace orvex
