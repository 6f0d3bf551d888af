// The program's trust decisions made by an unprivileged user A while another user B
// tries to slip files in: root passes every permission check, so the probe and the
// program run as A (setpriv), and B's files are planted as B wherever B may write.
// Needs root (to switch users) and setpriv; skipped without them.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "recovery/journal_directory.h"
#include "recovery/journal_update.h"
#include "test_support.h"

namespace orvex {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

constexpr uid_t kUserA = 61001;
constexpr uid_t kUserB = 61002;

struct Output {
  int status = -1;
  std::string text;
};

// Runs a command line as `user` (its own group, no other), with a clean environment
// plus `environment`; standard output and error together.
Output runAs(uid_t user, const std::string& environment, const std::string& command) {
  const std::string id = std::to_string(user);
  const std::string line = "env -i PATH=/usr/bin:/bin LC_ALL=C.UTF-8 " + environment + " setpriv --reuid=" + id +
                           " --regid=" + id + " --clear-groups " + command + " 2>&1";
  Output output;
  FILE* pipe = ::popen(line.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.text.append(buffer, got);
  const int status = ::pclose(pipe);
  output.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

void makeDirectory(const std::filesystem::path& path, uid_t owner, gid_t group, mode_t mode) {
  std::filesystem::create_directories(path);
  ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
  ASSERT_EQ(::chmod(path.c_str(), mode), 0);
}

void copyAs(const std::filesystem::path& from, const std::filesystem::path& to, uid_t owner, mode_t mode) {
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  ASSERT_EQ(::chown(to.c_str(), owner, owner), 0);
  ASSERT_EQ(::chmod(to.c_str(), mode), 0);
}

class TwoUsers : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "switching to the two test users needs root";
    if (std::system("command -v setpriv > /dev/null") != 0) GTEST_SKIP() << "setpriv is not installed";
    // Every directory on the way must be reachable by both users.
    ASSERT_EQ(::chmod(m_root.path().c_str(), 0755), 0);
    makeDirectory(bin(), 0, 0, 0755);
    copyAs(ORVEX_PATHS_PROBE, bin() / "probe", 0, 0755);
    makeDirectory(home(), kUserA, kUserA, 0700);
    makeDirectory(home() / "config", kUserA, kUserA, 0700);
    makeDirectory(home() / "tmp", kUserA, kUserA, 0700);
    // What B plants, from files B may read.
    makeDirectory(seed(), 0, 0, 0755);
    writeFile(seed() / "config.dat", std::string(24, '\x01'));
    writeFile(seed() / "menu.cfg", "MENU-GENERAL=Outils\r\nMENU=Piège\r\nCHEMIN=/tmp/piege\r\n");
    writeFile(seed() / "bloc.txt", "collé\r\npar B\r\n");
  }

  std::filesystem::path bin() const { return m_root / "bin"; }
  std::filesystem::path home() const { return m_root / "a"; }
  std::filesystem::path seed() const { return m_root / "graines"; }
  std::filesystem::path configDirectory() const { return home() / "config" / "orvex"; }
  std::string environmentOfA() const {
    return "HOME=" + home().string() + " XDG_CONFIG_HOME=" + (home() / "config").string() +
           " TMPDIR=" + (home() / "tmp").string();
  }
  Output probeAsA(const std::string& arguments) const {
    return runAs(kUserA, environmentOfA(), (bin() / "probe").string() + " " + arguments);
  }
  // B copies the three files into `directory`, as B, where B may write.
  Output plantAsB(const std::filesystem::path& directory) const {
    return runAs(kUserB, "",
                 "cp " + (seed() / "config.dat").string() + " " + (seed() / "menu.cfg").string() + " " +
                     (seed() / "bloc.txt").string() + " " + directory.string());
  }

  TempDir m_root;
};

TEST_F(TwoUsers, ADirectoryAnotherUserMayWriteIsNotTheProgramDirectory) {
  const struct {
    const char* name;
    mode_t mode;
    gid_t group;
    const char* acl;  // for setfacl -m, or nothing
    bool trusted;
  } cases[] = {
      {"partage-collant", 01777, kUserA, nullptr, false},
      {"partage", 0777, kUserA, nullptr, false},
      {"groupe-de-b", 0775, kUserB, nullptr, false},
      {"groupe-de-b-collant", 01775, kUserB, nullptr, false},
      {"acl-utilisateur-b", 0755, kUserA, "u:61002:rwx", false},
      {"acl-groupe-b", 0755, kUserA, "g:61002:rwx", false},
      // The mask takes the write permission away from every named entry.
      {"acl-masque-lecture", 0755, kUserA, "u:61002:rwx,g:61002:rwx,m::r-x", true},
      {"a-seul", 0755, kUserA, nullptr, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto directory = m_root / c.name;
    makeDirectory(directory, kUserA, c.group, c.mode);
    if (c.acl) {
      ASSERT_EQ(std::system(("setfacl -m " + std::string(c.acl) + " " + directory.string()).c_str()), 0);
    }
    copyAs(ORVEX_BINARY, directory / "orvex", kUserA, 0755);
    if (!c.trusted) {
      const Output planted = plantAsB(directory);
      ASSERT_EQ(planted.status, 0) << planted.text;
    }

    const Output decided = probeAsA("directory " + directory.string());
    EXPECT_EQ(decided.text, (c.trusted ? directory : configDirectory()).string() + "\n");

    // The program itself, in a batch run: its settings go where the probe said,
    // and B's files stay as B left them.
    const auto text = home() / "texte.txt";
    writeFile(text, "abc\n");
    ASSERT_EQ(::chown(text.c_str(), kUserA, kUserA), 0);
    std::filesystem::remove(configDirectory() / "config.dat");
    const Output run = runAs(kUserA, environmentOfA(), (directory / "orvex").string() + " " + text.string() + " 1");
    EXPECT_EQ(run.status, 0) << run.text;
    EXPECT_EQ(readFile(text), "ABC\n");
    if (c.trusted) {
      EXPECT_TRUE(std::filesystem::exists(directory / "config.dat"));
    } else {
      EXPECT_TRUE(std::filesystem::exists(configDirectory() / "config.dat"));
      EXPECT_EQ(readFile(directory / "config.dat"), readFile(seed() / "config.dat"));
    }
  }
}

TEST_F(TwoUsers, TheProgramFilesAreNeverReadThroughAnotherUsersLink) {
  const auto own = m_root / "a-prive";
  makeDirectory(own, kUserA, kUserA, 0755);
  const auto others = m_root / "de-b";
  makeDirectory(others, kUserB, kUserB, 0755);
  ASSERT_EQ(plantAsB(others).status, 0);
  // B's own links to B's files, for chains that pass through them.
  for (const char* name : {"config.dat", "menu.cfg", "bloc.txt"}) {
    std::filesystem::create_symlink(others / name, others / (std::string("lien-") + name));
    ASSERT_EQ(::lchown((others / (std::string("lien-") + name)).c_str(), kUserB, kUserB), 0);
  }

  const std::string refused = "Impossible d'ouvrir le fichier ";
  const struct {
    const char* what;
    uid_t linkOwner;
    bool throughLinkOfB;
    bool followed;
  } cases[] = {
      // B cannot write A's directory: such links are left from an earlier setup.
      {"a link of B", kUserB, false, false},
      {"a link of A", kUserA, false, true},
      {"a link of A to a link of B", kUserA, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const char* name : {"config.dat", "menu.cfg", "bloc.txt"}) {
      std::filesystem::remove(own / name);
      const auto target = others / ((c.throughLinkOfB ? std::string("lien-") : std::string()) + name);
      std::filesystem::create_symlink(target, own / name);
      ASSERT_EQ(::lchown((own / name).c_str(), c.linkOwner, c.linkOwner), 0);
    }
    const Output read = probeAsA("read " + own.string());
    if (c.followed) {
      EXPECT_EQ(read.text, "config.dat: lu\nmenu.cfg: 3 lignes\nbloc.txt: 2 lignes\n");
    } else {
      EXPECT_EQ(read.text, "config.dat: " + refused + (own / "config.dat").string() + "\nmenu.cfg: " + refused +
                               (own / "menu.cfg").string() + "\nbloc.txt: " + refused + (own / "bloc.txt").string() +
                               "\n");
    }
  }
  EXPECT_EQ(readFile(others / "config.dat"), readFile(seed() / "config.dat"));
}

TEST_F(TwoUsers, AnUnwritableTmpdirFallsBackToTmp) {
  const auto missing = m_root / "absent";
  const struct {
    std::filesystem::path tmpdir;
    std::filesystem::path expected;
  } cases[] = {
      {bin(), "/tmp"},                   // root's: A may not write it
      {missing, "/tmp"},                 // does not exist
      {home() / "tmp", home() / "tmp"},  // A's own
  };
  for (const auto& c : cases) {
    const Output output = runAs(kUserA, "HOME=" + home().string() + " TMPDIR=" + c.tmpdir.string(),
                                (bin() / "probe").string() + " scratch");
    EXPECT_EQ(output.status, 0) << c.tmpdir << ": " << output.text;
    EXPECT_EQ(output.text, c.expected.string() + "\n") << c.tmpdir;
  }
}

// A's recuperation/ in `program`, owned by A, with one journal of A's and one
// journal file that belongs to B; the name of B's.
std::string journalsOfAAndB(const std::filesystem::path& program) {
  makeDirectory(program, kUserA, kUserA, 0755);
  std::string ofB;
  {
    Result<JournalDirectory> directory = JournalDirectory::open(program);
    EXPECT_TRUE(directory.ok());
    for (const char* text : {"texte de A", "texte de B"}) {
      Result<JournalSlot> slot = directory.value().createSlot();
      EXPECT_TRUE(writeJournal(directory.value(), slot.value(), JournalRecord{}, text).ok());
      ofB = slot.value().journalName();
    }
  }
  for (const auto& entry : std::filesystem::directory_iterator(program / "recuperation"))
    EXPECT_EQ(::chown(entry.path().c_str(), kUserA, kUserA), 0);
  EXPECT_EQ(::chown((program / "recuperation").c_str(), kUserA, kUserA), 0);
  EXPECT_EQ(::chown((program / "recuperation" / ofB).c_str(), kUserB, kUserB), 0);
  EXPECT_EQ(::chmod((program / "recuperation" / ofB).c_str(), 0644), 0);
  return ofB;
}

// The files B owns under `directory` and their bytes.
std::vector<std::string> filesOfB(const std::filesystem::path& directory) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(directory)) {
    struct stat info {};
    if (::lstat(entry.path().c_str(), &info) == 0 && info.st_uid == kUserB && S_ISREG(info.st_mode))
      found.push_back(readFile(entry.path()));
  }
  return found;
}

// The names in `directory` and who owns each.
std::map<std::string, uid_t> ownersIn(const std::filesystem::path& directory) {
  std::map<std::string, uid_t> owners;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    struct stat info {};
    EXPECT_EQ(::lstat(entry.path().c_str(), &info), 0) << entry.path();
    owners[entry.path().filename().string()] = info.st_uid;
  }
  return owners;
}

// The probe's lines, in order of their text: it takes the journals oldest first,
// and journals written within the same clock tick have no order.
std::vector<std::string> sortedLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t from = 0, to; (to = text.find('\n', from)) != std::string::npos; from = to + 1)
    lines.push_back(text.substr(from, to - from));
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::string slotOf(const std::string& journalName) { return journalName.substr(0, journalName.find('.')); }

// A start never reads B's journal, whether it lies among A's, is reached through a
// link, or the whole directory is B's; and B's file is never lost: moved aside
// under its own owner, or left in place when it cannot be moved.
TEST_F(TwoUsers, AnotherUsersJournalIsNeverRead) {
  const auto program = m_root / "programme-a";
  const std::string ofB = journalsOfAAndB(program);
  const auto journals = program / "recuperation";
  // Another journal of B's, whose name aside would be too long for the directory.
  const std::string unmovable = std::string(245, 'b') + ".journal";
  std::filesystem::copy_file(journals / ofB, journals / unmovable);
  ASSERT_EQ(::chown((journals / unmovable).c_str(), kUserB, kUserB), 0);
  const std::vector<std::string> before = filesOfB(journals);
  ASSERT_EQ(before.size(), 2U);

  Output output = probeAsA("journals " + program.string());
  EXPECT_EQ(output.status, 0) << output.text;
  EXPECT_EQ(sortedLines(output.text), (std::vector<std::string>{"gardé: " + unmovable, "lu: texte de A",
                                                                "mis de côté: " + slotOf(ofB) + ".illisible-1"}))
      << output.text;
  // A's journal read is gone with its slot; B's moved aside is still B's, and the
  // one kept keeps the lock file A's start made for it.
  EXPECT_EQ(ownersIn(journals),
            (std::map<std::string, uid_t>{
                {slotOf(ofB) + ".illisible-1", kUserB}, {unmovable, kUserB}, {slotOf(unmovable) + ".verrou", kUserA}}));
  EXPECT_EQ(filesOfB(journals), before);

  // A link in A's directory, A's own, to a journal B keeps elsewhere.
  const auto linked = m_root / "programme-a-lien";
  const std::string linkedOfB = journalsOfAAndB(linked);
  makeDirectory(m_root / "b", kUserB, kUserB, 0755);
  std::filesystem::rename(linked / "recuperation" / linkedOfB, m_root / "b" / "journal");
  std::filesystem::create_symlink(m_root / "b" / "journal", linked / "recuperation" / linkedOfB);
  ASSERT_EQ(::lchown((linked / "recuperation" / linkedOfB).c_str(), kUserA, kUserA), 0);
  const std::vector<std::string> elsewhere = filesOfB(m_root / "b");
  output = probeAsA("journals " + linked.string());
  EXPECT_EQ(sortedLines(output.text),
            (std::vector<std::string>{"lu: texte de A", "mis de côté: " + slotOf(linkedOfB) + ".illisible-1"}))
      << output.text;
  // The link itself is moved aside, as it was, pointing where it did.
  const auto linkAside = linked / "recuperation" / (slotOf(linkedOfB) + ".illisible-1");
  EXPECT_EQ(ownersIn(linked / "recuperation"), (std::map<std::string, uid_t>{{linkAside.filename().string(), kUserA}}));
  EXPECT_TRUE(std::filesystem::is_symlink(linkAside));
  EXPECT_EQ(std::filesystem::read_symlink(linkAside), m_root / "b" / "journal");
  EXPECT_EQ(filesOfB(m_root / "b"), elsewhere);

  // The directory itself is B's: refused as a whole.
  ASSERT_EQ(::chown(journals.c_str(), kUserB, kUserB), 0);
  output = probeAsA("journals " + program.string());
  EXPECT_EQ(output.status, 1) << output.text;
  EXPECT_NE(output.text.find("refusé"), std::string::npos) << output.text;
}

// What is seen of a file from outside, without opening it: enough to tell that it
// was read (its access time, set in the past beforehand, moves on a read), written,
// replaced, chmod-ed or given away.
struct Seen {
  std::string name;
  uid_t owner;
  gid_t group;
  mode_t mode;
  off_t size;
  ino_t inode;
  std::int64_t modified;
  std::int64_t accessed;
  bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
  return out << seen.name << " (owner " << seen.owner << ':' << seen.group << ", mode " << std::oct << seen.mode
             << std::dec << ", " << seen.size << " bytes, inode " << seen.inode << ", written " << seen.modified
             << ", read " << seen.accessed << ')';
}

std::int64_t nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

Seen lookAt(const std::filesystem::path& path, std::string name) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return {std::move(name),
          info.st_uid,
          info.st_gid,
          info.st_mode,
          info.st_size,
          info.st_ino,
          nanoseconds(info.st_mtim),
          nanoseconds(info.st_atim)};
}

// The directory itself, as "." and seen before its listing moves its access time
// on, then each of its files in order of their names.
std::vector<Seen> look(const std::filesystem::path& directory) {
  std::vector<Seen> seen{lookAt(directory, ".")};
  std::vector<std::filesystem::path> paths;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  for (const auto& path : paths) seen.push_back(lookAt(path, path.filename().string()));
  return seen;
}

// Sets the access time of `path` years back, so that a read moves it on even where
// the system updates it only once a day.
void ageAccessTime(const std::filesystem::path& path) {
  const timespec times[2]{{1000000000, 0}, {0, UTIME_OMIT}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// A's program directory holds a recuperation/ that B owns: a start of A's refuses
// it whole and touches nothing in it, not even A's own journal there, however
// open B left it.
TEST_F(TwoUsers, AnotherUsersJournalDirectoryIsLeftAsItIs) {
  // The journals planted, made in a directory of the test's own.
  const auto made = m_root / "modeles";
  const std::string ofB = journalsOfAAndB(made);
  const std::string ofA = [&] {
    for (const auto& entry : std::filesystem::directory_iterator(made / "recuperation"))
      if (entry.path().extension() == ".journal" && entry.path().filename() != ofB)
        return entry.path().filename().string();
    return std::string();
  }();
  ASSERT_FALSE(ofA.empty());

  const struct {
    const char* name;
    mode_t mode;
  } cases[] = {{"ouvert-en-lecture", 0755}, {"partage", 0777}, {"partage-collant", 01777}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto program = m_root / c.name;
    makeDirectory(program, kUserA, kUserA, 0755);
    const auto journals = program / "recuperation";
    makeDirectory(journals, kUserB, kUserB, c.mode);
    // Each file holds a whole journal, so that one read would show in the output.
    const struct {
      std::string name;
      const std::string& source;
      uid_t owner;
      mode_t mode;
    } planted[] = {
        {ofB, ofB, kUserB, 0644},
        {slotOf(ofB) + ".verrou", ofB, kUserB, 0644},
        {slotOf(ofB) + ".tmp", ofB, kUserB, 0644},
        {ofA, ofA, kUserA, 0600},
        {slotOf(ofA) + ".verrou", ofA, kUserA, 0600},
        {slotOf(ofA) + ".illisible-1", ofA, kUserA, 0600},
    };
    for (const auto& file : planted) {
      copyAs(made / "recuperation" / file.source, journals / file.name, file.owner, file.mode);
      ageAccessTime(journals / file.name);
    }
    ageAccessTime(journals);
    const std::vector<Seen> before = look(journals);
    ASSERT_EQ(before.size(), std::size(planted) + 1);
    // Listing it moved the directory's own access time on.
    ageAccessTime(journals);

    const Output output = probeAsA("journals " + program.string());
    EXPECT_EQ(output.status, 1) << output.text;
    EXPECT_EQ(output.text, "refusé: Impossible d'ouvrir le fichier " + journals.string() + "\n");
    EXPECT_EQ(look(journals), before);
    for (const auto& file : planted)
      EXPECT_EQ(readFile(journals / file.name), readFile(made / "recuperation" / file.source)) << file.name;
  }
}

}  // namespace
}  // namespace orvex
