// The batch run, in process.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <sstream>

#include "batch/batch_run.h"
#include "settings/settings_record.h"
#include "test_support.h"
#include "tools/cipher_tool.h"

namespace orvex {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

struct BatchResult {
  int exit;
  std::string errors;
};

BatchResult batch(const TempDir& dir, std::vector<std::string> arguments) {
  std::ostringstream errors;
  const int exit = runBatch(arguments, ProgramPaths(dir.path()), errors);
  return {exit, errors.str()};
}

TEST(Batch, AccentsThenUpperCaseThenEncryption) {
  TempDir dir;
  const auto file = (dir / "toto.txt").string();
  writeFile(file, "Élève à l'école\r\nnaïve\r\n");
  ASSERT_EQ(batch(dir, {file, "5", "1", "8"}).exit, kBatchDone);
  EXPECT_EQ(readFile(file), cipher("ÉLEVE A L'ECOLE", CipherDirection::Encrypt) + "\r\n" +
                                cipher("NAIVE", CipherDirection::Encrypt) + "\r\n");
  ASSERT_EQ(batch(dir, {file, "9"}).exit, kBatchDone);
  EXPECT_EQ(readFile(file), "ÉLEVE A L'ECOLE\r\nNAIVE\r\n");
  EXPECT_TRUE(std::filesystem::exists(dir / "config.dat"));
  EXPECT_EQ(readSettings(dir / "config.dat").record, SettingsRecord{});
}

TEST(Batch, EncodingAndLayoutSurviveEveryOption) {
  const struct {
    std::string in;
    std::vector<std::string> options;
    std::string out;
  } cases[] = {
      {"\xEF\xBB\xBFzèbre\nabc", {"3"}, "\xEF\xBB\xBF" "abc\nzèbre"},
      {"b\ra\r", {"4"}, "b\ra\r"},
      {"caf\xE9 \xE0\r\n", {"5", "6"}, "cafea\r\n"},
      {"été\nab\n", {"7"}, "été\nab \n"},
      {"\xE9t\xE9\nab\n", {"7"}, "\xE9t\xE9\nab \n"},
      {"abc", {"1", "1"}, "ABC"},
      {"Mixed\r\nbreaks\nhere", {"x"}, "Mixed\r\nbreaks\r\nhere"},
      {"", {"1", "3", "7"}, ""},
      {std::string("nul\0\x1A" "fin\n", 8), {"2"}, std::string("nul\0\x1A" "fin\n", 8)},
      {"été\n", {"8", "5", "9"}, "été\n"},
      // Later saves keep every line break: the layout follows what was written.
      {"titre\n\n\n ", {"6", "x", "x", "x"}, "titre\n\n\n"},
      {"a\r\n \r\nb\r\n  ", {"6", "2"}, "a\r\n\r\nb\r\n"},
      {"a\n\n", {"x", "x"}, "a\n\n"},
      // Windows-1252 bytes that, once the blank goes, happen to form UTF-8 "é": the
      // encoding read at the start holds, and Ã and © have no accent to remove.
      {"d\xc3 \xa9" "but\n", {"6", "5"}, "d\xc3\xa9" "but\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const auto file = (dir / "f.txt").string();
    writeFile(file, c.in);
    std::vector<std::string> arguments{file};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    EXPECT_EQ(batch(dir, arguments).exit, kBatchDone);
    EXPECT_EQ(readFile(file), c.out) << testing::PrintToString(c.in);
  }
}

TEST(Batch, AMissingFileIsNeverCreated) {
  TempDir dir;
  const auto missing = (dir / "absent.txt").string();
  const auto result = batch(dir, {missing, "1"});
  EXPECT_EQ(result.exit, kBatchNoFile);
  EXPECT_EQ(result.errors, "");
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_TRUE(std::filesystem::exists(dir / "config.dat"));
  EXPECT_EQ(batch(dir, {"/?", "1"}).exit, kBatchNoFile);
  // A directory is not a file either: silent, and nothing written in it.
  std::filesystem::create_directory(dir / "dossier");
  const auto directory = batch(dir, {(dir / "dossier").string(), "1"});
  EXPECT_EQ(directory.exit, kBatchNoFile);
  EXPECT_EQ(directory.errors, "");
  EXPECT_TRUE(std::filesystem::is_empty(dir / "dossier"));
}

TEST(Batch, FilesThatCannotBeReadOrReplacedStayWhole) {
  TempDir dir;
  const auto readOnly = (dir / "lecture.txt").string();
  writeFile(readOnly, "garde moi\n");
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
  const auto refused = batch(dir, {readOnly, "1"});
  EXPECT_EQ(refused.exit, kBatchIoError);
  EXPECT_EQ(refused.errors, "Impossible de créer le fichier " + readOnly + ".\n");
  EXPECT_EQ(readFile(readOnly), "garde moi\n");

  const auto sub = dir / "ro";
  std::filesystem::create_directory(sub);
  writeFile(sub / "f.txt", "abc\n");
  std::filesystem::permissions(sub, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_EQ(batch(dir, {(sub / "f.txt").string(), "1"}).exit, kBatchIoError);
  EXPECT_EQ(readFile(sub / "f.txt"), "abc\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sub), {}), 1);
}

TEST(Batch, ANamedPipeIsRefusedWithoutWaiting) {
  TempDir dir;
  const auto pipe = (dir / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const auto result = batch(dir, {pipe, "1"});
  EXPECT_EQ(result.exit, kBatchIoError);
  EXPECT_EQ(result.errors, "Impossible d'ouvrir le fichier " + pipe + ".\n");
}

TEST(Batch, AnUnreadableFileIsRefused) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root from reading";
  TempDir dir;
  const auto hidden = (dir / "secret.txt").string();
  writeFile(hidden, "abc\n");
  std::filesystem::permissions(hidden, std::filesystem::perms::none);
  EXPECT_EQ(batch(dir, {hidden, "1"}).errors, "Impossible d'ouvrir le fichier " + hidden + ".\n");
}

// A file size limit makes writes fail as a full disk does, without needing one.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &m_saved);
    m_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_handler);
  }

 private:
  rlimit m_saved{};
  void (*m_handler)(int);
};

TEST(Batch, AFullDiskLeavesTheLastCompleteWrite) {
  TempDir dir;
  const auto file = (dir / "f.txt").string();
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "ligne " + std::to_string(i) + "\n";
  writeFile(file, text);
  BatchResult result;
  {
    FileSizeLimit limit(text.size() / 2);
    result = batch(dir, {file, "1"});
  }
  EXPECT_EQ(result.exit, kBatchIoError);
  EXPECT_EQ(result.errors, "Disque plein.\n");
  EXPECT_EQ(readFile(file), text);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // f.txt, config.dat
}

TEST(Batch, ABrokenConfigFileIsReportedAfterTheWork) {
  TempDir dir;
  writeFile(dir / "config.dat", std::string(23, '\1'));
  const auto file = (dir / "f.txt").string();
  writeFile(file, "abc\n");
  const auto result = batch(dir, {file, "1"});
  EXPECT_EQ(result.exit, kBatchDone);
  EXPECT_EQ(result.errors,
            "Avertissement : " + (dir / "config.dat").string() + " : Lecture au-delà de la fin de fichier.\n");
  EXPECT_EQ(readFile(file), "ABC\n");

  // Settings that cannot be written: the file is done all the same.
  std::filesystem::remove(dir / "config.dat");
  std::filesystem::create_directory(dir / "config.dat");
  const auto unwritable = batch(dir, {file, "2"});
  EXPECT_EQ(unwritable.exit, kBatchDone);
  EXPECT_TRUE(unwritable.errors.starts_with("Avertissement : " + (dir / "config.dat").string() + " : "))
      << unwritable.errors;
  EXPECT_EQ(readFile(file), "abc\n");
}

TEST(Batch, AHundredMegabyteLineIsCarriedWhole) {
  TempDir dir;
  const auto file = (dir / "big.txt").string();
  std::string line(100 * 1000 * 1000, 'a');
  line[12345] = ' ';
  writeFile(file, line + "\n");
  ASSERT_EQ(batch(dir, {file, "1", "6"}).exit, kBatchDone);
  const std::string out = readFile(file);
  ASSERT_EQ(out.size(), line.size());
  EXPECT_EQ(out.find_first_not_of('A'), out.size() - 1);
}

}  // namespace
}  // namespace orvex
