// The recovery journal: its format read back byte for byte, the files that are not
// journals, the atomic update and the directory's slots and locks.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "io/file_handle.h"
#include "recovery/journal_directory.h"
#include "recovery/journal_format.h"
#include "recovery/journal_update.h"
#include "test_support.h"

namespace orvex {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

struct Journal {
  JournalRecord record;
  std::string text;
};

Result<Journal> readBack(const JournalDirectory& directory, const JournalSlot& slot) {
  Result<FileHandle> file = directory.openJournal(slot);
  if (!file.ok()) return Status::failure(file.error());
  struct stat info {};
  ::fstat(file.value().get(), &info);
  Result<JournalLayout> layout = readJournalLayout(file.value().get(), static_cast<std::uint64_t>(info.st_size));
  if (!layout.ok()) return Status::failure(layout.error());
  std::string text(layout.value().textLength, '\0');
  readFull(file.value().get(), text.data(), text.size(), static_cast<off_t>(layout.value().textOffset));
  return Journal{layout.value().record, text};
}

JournalDirectory openDirectory(const TempDir& dir) {
  Result<JournalDirectory> directory = JournalDirectory::open(dir.path());
  EXPECT_TRUE(directory.ok()) << directory.error();
  return std::move(directory.value());
}

JournalRecord record(std::string name, Encoding own, Encoding shown, bool bom, LineBreak lineBreak, bool finalBreak,
                     bool identity) {
  JournalRecord made;
  made.fileName = std::move(name);
  made.format = TextFormat{own, bom, lineBreak, finalBreak};
  made.shown = shown;
  if (identity) made.identity = FileIdentity{41, 123456789, 1 << 20, timespec{1700000000, 999999999}};
  return made;
}

struct RoundTrip {
  const char* label;
  JournalRecord record;
  std::string text;
};

class JournalRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(JournalRoundTrip, GivesBackTheRecordAndTheTextByteForByte) {
  const TempDir dir;
  const JournalDirectory directory = openDirectory(dir);
  Result<JournalSlot> slot = directory.createSlot();
  ASSERT_TRUE(slot.ok());
  ASSERT_TRUE(writeJournal(directory, slot.value(), GetParam().record, GetParam().text).ok());
  const Result<Journal> back = readBack(directory, slot.value());
  ASSERT_TRUE(back.ok()) << back.error();
  EXPECT_TRUE(back.value().record == GetParam().record);
  EXPECT_EQ(back.value().text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, JournalRoundTrip,
    ::testing::Values(
        RoundTrip{"utf8_lf", record("/home/u/a.txt", Encoding::Utf8, Encoding::Utf8, false, LineBreak::Lf, true, true),
                  "é€\nligne\n"},
        RoundTrip{"cp1252_crlf_no_final_break",
                  record("b.txt", Encoding::Windows1252, Encoding::Windows1252, false, LineBreak::CrLf, false, true),
                  "caf\xC3\xA9\r\nfin"},
        RoundTrip{"bom_cr", record("c.txt", Encoding::Utf8, Encoding::Utf8, true, LineBreak::Cr, true, true), "a\rb\r"},
        RoundTrip{"nul_bytes", record("d", Encoding::Utf8, Encoding::Utf8, false, LineBreak::Lf, false, true),
                  std::string("a\0b\0\0c", 6)},
        RoundTrip{"new_document", record("", Encoding::Utf8, Encoding::Utf8, false, LineBreak::Lf, false, false),
                  "sans nom"},
        RoundTrip{"non_utf8_name",
                  record("/tmp/caf\xE9 \xFF.txt", Encoding::Utf8, Encoding::Utf8, false, LineBreak::Lf, true, true),
                  "x\n"},
        RoundTrip{"encrypted_shown_as_cp1252",
                  record("e.txt", Encoding::Utf8, Encoding::Windows1252, true, LineBreak::CrLf, true, true),
                  "\xC3\x83\xC2\xA9"},
        RoundTrip{"empty_text", record("f.txt", Encoding::Utf8, Encoding::Utf8, false, LineBreak::Lf, false, true),
                  ""}),
    [](const ::testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.label); });

struct Damage {
  const char* label;
  // Turns a whole journal into what is left of it.
  std::string (*apply)(std::string bytes);
};

class DamagedJournal : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedJournal, IsAFailureNeverAText) {
  const TempDir dir;
  const JournalDirectory directory = openDirectory(dir);
  Result<JournalSlot> slot = directory.createSlot();
  ASSERT_TRUE(slot.ok());
  ASSERT_TRUE(writeJournal(directory, slot.value(),
                           record("a.txt", Encoding::Utf8, Encoding::Utf8, false, LineBreak::Lf, true, true),
                           "du texte\n")
                  .ok());
  const auto path = directory.journalPath(slot.value());
  writeFile(path, GetParam().apply(readFile(path)));
  EXPECT_FALSE(readBack(directory, slot.value()).ok());
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedJournal,
    ::testing::Values(Damage{"empty", [](std::string) { return std::string(); }},
                      Damage{"text_cut", [](std::string b) { return b.substr(0, b.size() - 1); }},
                      Damage{"text_grown", [](std::string b) { return b + "x"; }},
                      Damage{"head_cut", [](std::string b) { return b.substr(0, 20); }},
                      Damage{"foreign", [](std::string) { return std::string("Bonjour, ceci est un texte\n"); }},
                      Damage{"other_version",
                             [](std::string b) {
                               b[8] = 2;
                               return b;
                             }},
                      Damage{"name_changed",
                             [](std::string b) {
                               b[b.find("a.txt")] = 'b';
                               return b;
                             }}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.label); });

TEST(JournalUpdate, LeavesThePreviousJournalWholeUntilItCommits) {
  const TempDir dir;
  const JournalDirectory directory = openDirectory(dir);
  Result<JournalSlot> slot = directory.createSlot();
  ASSERT_TRUE(slot.ok());
  const JournalRecord described = record("a.txt", Encoding::Utf8, Encoding::Utf8, false, LineBreak::Lf, true, true);
  ASSERT_TRUE(writeJournal(directory, slot.value(), described, "ancien\n").ok());

  Result<JournalUpdate> update = JournalUpdate::start(directory, slot.value(), described);
  ASSERT_TRUE(update.ok());
  ASSERT_TRUE(update.value().append("abcdef").ok());
  // An edit at byte 3 sends the writing back there.
  ASSERT_TRUE(update.value().rewind(3).ok());
  ASSERT_TRUE(update.value().append("XY").ok());
  EXPECT_EQ(readBack(directory, slot.value()).value().text, "ancien\n");
  ASSERT_TRUE(update.value().commit().ok());
  EXPECT_EQ(readBack(directory, slot.value()).value().text, "abcXY");
}

TEST(JournalDirectory, KeepsItsFilesPrivate) {
  const TempDir dir;
  const JournalDirectory directory = openDirectory(dir);
  Result<JournalSlot> slot = directory.createSlot();
  ASSERT_TRUE(slot.ok());
  ASSERT_TRUE(writeJournal(directory, slot.value(), JournalRecord{}, "t").ok());
  struct stat info {};
  ASSERT_EQ(::stat(directory.path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700U);
  for (const std::string& name : {slot.value().journalName(), slot.value().lockName()}) {
    ASSERT_EQ(::stat((directory.path() / name).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600U) << name;
  }
}

TEST(JournalDirectory, RefusesALinkInItsPlace) {
  const TempDir dir;
  const TempDir elsewhere;
  std::filesystem::create_directory_symlink(elsewhere.path(), dir / "recuperation");
  EXPECT_FALSE(JournalDirectory::open(dir.path()).ok());
}

TEST(JournalDirectory, OffersOnlyTheJournalsOfWindowsThatAreGone) {
  const TempDir dir;
  const JournalDirectory directory = openDirectory(dir);
  Result<JournalSlot> running = directory.createSlot();
  ASSERT_TRUE(running.ok());
  ASSERT_TRUE(writeJournal(directory, running.value(), JournalRecord{}, "vivant").ok());
  std::string goneName;
  {
    Result<JournalSlot> gone = directory.createSlot();
    ASSERT_TRUE(gone.ok());
    goneName = gone.value().name();
    ASSERT_TRUE(writeJournal(directory, gone.value(), JournalRecord{}, "perdu").ok());
  }
  // A lock file without journal, left by a window killed before its first write.
  { ASSERT_TRUE(directory.createSlot().ok()); }

  std::vector<JournalSlot> orphans = directory.takeOrphans();
  ASSERT_EQ(orphans.size(), 1U);
  EXPECT_EQ(orphans.front().name(), goneName);
  EXPECT_EQ(readBack(directory, orphans.front()).value().text, "perdu");
  // Held now: a second start does not offer it too.
  EXPECT_TRUE(directory.takeOrphans().empty());
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory.path())) ++files;
  EXPECT_EQ(files, 4);  // the running and the orphaned journal, each with its lock

  // Once moved aside, the journal's slot goes with it.
  const Result<std::string> aside = directory.setAside(orphans.front());
  ASSERT_TRUE(aside.ok());
  EXPECT_EQ(aside.value(), goneName + ".illisible-1");
  EXPECT_EQ(readFile(directory.path() / aside.value()).find("perdu") != std::string::npos, true);
  EXPECT_FALSE(std::filesystem::exists(directory.path() / orphans.front().lockName()));
  EXPECT_TRUE(directory.takeOrphans().empty());
}

struct BlockedMove {
  const char* label;
  std::string name;
  // Makes the move aside of the journal `name` in `directory` fail.
  void (*block)(const std::filesystem::path& directory, const std::string& name);
};

class UnmovableJournal : public ::testing::TestWithParam<BlockedMove> {};

// A journal that cannot be moved aside keeps its text and its slot's files, and the
// next start finds it again.
TEST_P(UnmovableJournal, StaysWhereItIsForTheNextStart) {
  const TempDir dir;
  const JournalDirectory directory = openDirectory(dir);
  const std::string& name = GetParam().name;
  const auto journal = directory.path() / (name + ".journal");
  const auto temporary = directory.path() / (name + ".tmp");
  const std::string bytes("ORVEXJNL tronqu\xC3\xA9\0\xFF", 19);
  writeFile(journal, bytes);
  writeFile(temporary, "à moitié");
  GetParam().block(directory.path(), name);
  {
    const std::vector<JournalSlot> orphans = directory.takeOrphans();
    ASSERT_EQ(orphans.size(), 1U);
    EXPECT_FALSE(directory.setAside(orphans.front()).ok());
    EXPECT_TRUE(std::filesystem::exists(directory.path() / orphans.front().lockName()));
  }
  EXPECT_EQ(readFile(journal), bytes);
  EXPECT_EQ(readFile(temporary), "à moitié");
  const std::vector<JournalSlot> again = directory.takeOrphans();
  ASSERT_EQ(again.size(), 1U);
  EXPECT_EQ(again.front().name(), name);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, UnmovableJournal,
    ::testing::Values(BlockedMove{"every_name_aside_taken", "fenetre-bloquee",
                                  [](const std::filesystem::path& directory, const std::string& name) {
                                    for (int number = 1; number < 1000; ++number)
                                      writeFile(directory / (name + ".illisible-" + std::to_string(number)), "");
                                  }},
                      // The journal's name fits in the directory, its name aside does not.
                      BlockedMove{"name_aside_too_long", std::string(245, 'n'),
                                  [](const std::filesystem::path&, const std::string&) {}}),
    [](const ::testing::TestParamInfo<BlockedMove>& info) { return std::string(info.param.label); });

// What a window does with the orphans it took, before it reports their names.
using AfterTaking = void (*)(const JournalDirectory&, const std::vector<JournalSlot>&);

// Starts `windows` processes on the journals of `dir` at the same moment, as windows
// started together do: each takes the orphans, does `afterTaking` with them, reports
// their names and keeps its locks until every window has reported. The names
// reported, all windows together, go into `offered`.
void startTogether(const TempDir& dir, int windows, AfterTaking afterTaking, std::multiset<std::string>& offered) {
  int start[2];
  int end[2];
  ASSERT_EQ(::pipe(start), 0);
  ASSERT_EQ(::pipe(end), 0);
  std::vector<std::pair<pid_t, int>> started;
  for (int w = 0; w < windows; ++w) {
    int names[2];
    ASSERT_EQ(::pipe(names), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(start[1]);
      ::close(end[1]);
      ::close(names[0]);
      char byte = 0;
      static_cast<void>(::read(start[0], &byte, 1));  // returns once the parent closes it
      Result<JournalDirectory> own = JournalDirectory::open(dir.path());
      if (!own.ok()) ::_exit(2);
      const std::vector<JournalSlot> taken = own.value().takeOrphans();
      afterTaking(own.value(), taken);
      std::string list;
      for (const JournalSlot& slot : taken) list += slot.name() + "\n";
      if (::write(names[1], list.data(), list.size()) != static_cast<ssize_t>(list.size())) ::_exit(3);
      ::close(names[1]);
      static_cast<void>(::read(end[0], &byte, 1));  // the locks are held until then
      ::_exit(0);
    }
    ::close(names[1]);
    started.emplace_back(child, names[0]);
  }
  ::close(start[0]);
  ::close(start[1]);
  for (const auto& [child, names] : started) {
    std::string list;
    char buffer[512];
    for (ssize_t got; (got = ::read(names, buffer, sizeof buffer)) > 0;)
      list.append(buffer, static_cast<std::size_t>(got));
    ::close(names);
    for (std::size_t from = 0, to; (to = list.find('\n', from)) != std::string::npos; from = to + 1)
      offered.insert(list.substr(from, to - from));
  }
  ::close(end[0]);
  ::close(end[1]);
  for (const auto& window : started) {
    int status = 0;
    ::waitpid(window.first, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
}

// Round after round, each journal left by windows that are gone is offered by
// exactly one of the windows started together: never twice, and none is left out.
void expectEachOrphanOfferedOnce(AfterTaking afterTaking) {
  constexpr int kJournals = 12;
  constexpr int kWindows = 4;
  for (int round = 0; round < 20; ++round) {
    const TempDir dir;
    std::set<std::string> all;
    {
      const JournalDirectory directory = openDirectory(dir);
      for (int i = 0; i < kJournals; ++i) {
        Result<JournalSlot> slot = directory.createSlot();
        ASSERT_TRUE(slot.ok());
        ASSERT_TRUE(writeJournal(directory, slot.value(), JournalRecord{}, "texte").ok());
        all.insert(slot.value().name());
      }
    }
    std::multiset<std::string> offered;
    startTogether(dir, kWindows, afterTaking, offered);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    EXPECT_EQ(offered.size(), all.size()) << "round " << round;
    EXPECT_TRUE(std::equal(offered.begin(), offered.end(), all.begin(), all.end())) << "round " << round;
  }
}

// Each window keeps the orphans it took while it runs.
TEST(JournalDirectory, WindowsStartedTogetherShareTheOrphansOut) {
  expectEachOrphanOfferedOnce([](const JournalDirectory&, const std::vector<JournalSlot>&) {});
}

// The first window to take a journal removes it at once, as "Non" does, while the
// others may still be on their way to its lock.
TEST(JournalDirectory, WindowsStartedTogetherShareTheOrphansOutWhenTheFirstLetsGoAtOnce) {
  expectEachOrphanOfferedOnce([](const JournalDirectory& directory, const std::vector<JournalSlot>& taken) {
    for (const JournalSlot& slot : taken) directory.release(slot);
  });
}

TEST(JournalDirectory, NeverReadsAnotherUsersJournal) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
  const TempDir dir;
  const JournalDirectory directory = openDirectory(dir);
  {
    Result<JournalSlot> slot = directory.createSlot();
    ASSERT_TRUE(writeJournal(directory, slot.value(), JournalRecord{}, "pas à moi").ok());
    ASSERT_EQ(::chown(directory.journalPath(slot.value()).c_str(), 4242, 4242), 0);
  }
  std::vector<JournalSlot> orphans = directory.takeOrphans();
  ASSERT_EQ(orphans.size(), 1U);
  EXPECT_FALSE(directory.openJournal(orphans.front()).ok());
}

}  // namespace
}  // namespace orvex
