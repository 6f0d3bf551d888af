// `orvex - OPTION...` in a pipe: the bytes out are those the file form leaves in the
// file, memory stays that of a batch run, and every way the run ends (a reader
// that stops early, a full disk, a signal) leaves no scratch file.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

namespace orvex {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

struct Ended {
  int exit = -1;    // when it exited
  int signal = 0;   // when a signal ended it
  long peakKb = 0;  // its peak resident memory
};

// A copy of the program run with its own temporary directory, which must be
// empty once a run is over.
class Program {
 public:
  Program() {
    std::filesystem::create_directory(m_dir / "bin");
    std::filesystem::create_directory(tmp());
    std::filesystem::copy_file(ORVEX_BINARY, m_dir / "bin" / "orvex");
  }
  std::filesystem::path tmp() const { return m_dir / "tmp"; }
  std::filesystem::path path(const std::string& name) const { return m_dir / name; }
  bool leftNothing() const {
    // The pipe form writes no config.dat beside itself either.
    return std::filesystem::is_empty(tmp()) && !std::filesystem::exists(m_dir / "bin" / "config.dat");
  }

  // Runs orvex with `arguments`, standard input and output from and to the named
  // files; `inChild` runs in the child just before the program starts.
  Ended run(const std::vector<std::string>& arguments, const std::filesystem::path& in,
            const std::filesystem::path& out, const std::function<void()>& inChild = {}) const {
    return wait(start(arguments, in, out, inChild));
  }
  pid_t start(const std::vector<std::string>& arguments, const std::filesystem::path& in,
              const std::filesystem::path& out, const std::function<void()>& inChild = {}) const {
    const pid_t child = ::fork();
    if (child == 0) {
      const int input = ::open(in.c_str(), O_RDONLY);
      const int output = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int errors = ::open((m_dir / "errors").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (input < 0 || output < 0 || errors < 0) ::_exit(126);
      ::dup2(input, 0);
      ::dup2(output, 1);
      ::dup2(errors, 2);
      ::setenv("TMPDIR", tmp().c_str(), 1);
      if (inChild) inChild();
      std::vector<char*> argv{const_cast<char*>("orvex")};
      for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      ::execv((m_dir / "bin" / "orvex").c_str(), argv.data());
      ::_exit(127);
    }
    return child;
  }
  static Ended wait(pid_t child) {
    int status = 0;
    rusage usage{};
    Ended ended;
    if (::wait4(child, &status, 0, &usage) != child) return ended;
    ended.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ended.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    ended.peakKb = usage.ru_maxrss;
    return ended;
  }
  std::string errors() const { return readFile(m_dir / "errors"); }
  std::string bash(const std::string& script) const {
    return "bash -c 'ORVEX=" + (m_dir / "bin" / "orvex").string() + " T=" + tmp().string() + "; " + script + "'";
  }

 private:
  TempDir m_dir;
};

std::vector<std::string> withFirst(const std::string& first, const std::vector<std::string>& options) {
  std::vector<std::string> arguments{first};
  arguments.insert(arguments.end(), options.begin(), options.end());
  return arguments;
}

TEST(Pipe, GivesTheBytesTheFileFormLeavesInTheFile) {
  const struct {
    std::string in;
    std::vector<std::string> options;
  } cases[] = {
      {"\xEF\xBB\xBFzèbre\nabc", {"3"}},
      {"b\ra\r", {"4", "1"}},
      {"caf\xE9 \xE0\r\n", {"5", "6"}},
      {"été\nab\n", {"7", "2"}},
      {"\xE9t\xE9\nab\n", {"7", "1"}},
      {"abc", {"1", "1"}},
      {"Mixed\r\nbreaks\nhere", {"x"}},
      {"", {"1", "3", "7"}},
      {std::string("nul\0\x1A"
                   "fin\n",
                   8),
       {"2", "3"}},
      {"été\n", {"8", "5", "9"}},
      {"Élève\r\nnaïve\r\n", {"5", "1", "8"}},
      {"titre\n\n\n ", {"6", "x", "x"}},
      {"d\xc3 \xa9"
       "but\n",
       {"6", "5"}},
      {"b\nB\na\n\nA", {"3", "inconnue", "4"}},
  };
  for (const auto& c : cases) {
    Program program;
    writeFile(program.path("entrée"), c.in);
    writeFile(program.path("fichier"), c.in);
    const Ended piped = program.run(withFirst("-", c.options), program.path("entrée"), program.path("sortie"));
    EXPECT_EQ(piped.exit, 0) << program.errors();
    EXPECT_TRUE(program.leftNothing());
    ASSERT_EQ(program.run(withFirst(program.path("fichier"), c.options), "/dev/null", "/dev/null").exit, 0);
    EXPECT_EQ(readFile(program.path("sortie")), readFile(program.path("fichier"))) << testing::PrintToString(c.in);
    EXPECT_EQ(readFile(program.path("entrée")), c.in);
  }
}

// From a pipe, to a file opened for appending: descriptors the kernel moves bytes
// between differently, and the same bytes.
TEST(Pipe, APipedInputAndAnAppendedOutput) {
  Program program;
  writeFile(program.path("sortie"), "avant\n");
  const std::string script = "printf \"b\\r\\nA\\r\\n\" | TMPDIR=$T $ORVEX - 3 1 >>" + program.path("sortie").string();
  EXPECT_EQ(std::system(program.bash(script).c_str()), 0);
  EXPECT_EQ(readFile(program.path("sortie")), "avant\nA\r\nB\r\n");
  EXPECT_TRUE(program.leftNothing());
}

TEST(Pipe, ADashAloneOrAfterADirectoryIsNotThePipe) {
  Program program;
  writeFile(program.path("-"), "tiret\n");
  const std::string script = "cd " + program.path("").string() + " && $ORVEX ./- 1 </dev/null >/dev/null";
  EXPECT_EQ(std::system(program.bash(script).c_str()), 0);
  EXPECT_EQ(readFile(program.path("-")), "TIRET\n");
  // Alone, "-" is a file for the editor, which says it has no display.
  const Ended alone = program.run({"-"}, "/dev/null", "/dev/null", [] {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) ::unsetenv(variable);
  });
  EXPECT_EQ(alone.exit, 1);
  EXPECT_NE(program.errors().find("aucun affichage"), std::string::npos);
}

// Writes `bytes` of lines to `file` without holding them.
void writeLines(const std::filesystem::path& file, std::size_t bytes) {
  std::string block;
  for (int i = 0; block.size() < (1 << 20); ++i) block += "Ligne " + std::to_string(i) + " du texte, café\n";
  FILE* out = std::fopen(file.c_str(), "wb");
  for (std::size_t written = 0; written < bytes; written += block.size())
    std::fwrite(block.data(), 1, block.size(), out);
  std::fclose(out);
}

TEST(Pipe, MemoryStaysThatOfABatchRunWhateverTheInputSize) {
  Program program;
  writeLines(program.path("gros"), 300'000'000);
  std::filesystem::copy_file(program.path("gros"), program.path("fichier"));
  const Ended piped = program.run({"-", "1"}, program.path("gros"), program.path("sortie"));
  ASSERT_EQ(piped.exit, 0) << program.errors();
  EXPECT_TRUE(program.leftNothing());
  std::filesystem::remove(program.path("gros"));
  const Ended inPlace = program.run({program.path("fichier"), "1"}, "/dev/null", "/dev/null");
  ASSERT_EQ(inPlace.exit, 0);
  EXPECT_LE(piped.peakKb, inPlace.peakKb + 8 * 1024) << piped.peakKb << " KiB against " << inPlace.peakKb;
  EXPECT_LT(piped.peakKb, 100 * 1024);
  const std::string same = "cmp -s " + program.path("sortie").string() + " " + program.path("fichier").string();
  EXPECT_EQ(std::system(same.c_str()), 0);
}

TEST(Pipe, AReaderThatStopsEarlyEndsTheRunQuietly) {
  Program program;
  writeLines(program.path("entrée"), 8'000'000);
  const std::string script = "set -o pipefail; TMPDIR=$T $ORVEX - 1 <" + program.path("entrée").string() + " 2>" +
                             program.path("errors").string() + " | head -c 10 >" + program.path("tête").string();
  const int status = std::system(program.bash(script).c_str());
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
  EXPECT_EQ(program.errors(), "");
  EXPECT_EQ(readFile(program.path("tête")), "LIGNE 0 DU");
  EXPECT_TRUE(program.leftNothing());
}

bool canMountInItsOwnNamespace() { return ::geteuid() == 0 && std::system("unshare -m true 2>/dev/null") == 0; }

TEST(Pipe, AFullDiskOrAnUnusableOutputIsReportedInFrench) {
  Program program;
  writeLines(program.path("entrée"), 4'000'000);
  const std::string in = program.path("entrée").string();
  // Scratch files on a tiny file system of their own, or over the file size limit
  // (where the system says "file too large" rather than "no space": the same report).
  if (canMountInItsOwnNamespace()) {
    const std::string script = "mount -t tmpfs -o size=256k tmpfs $T && TMPDIR=$T $ORVEX - 1 <" + in +
                               " >/dev/null 2>" + program.path("errors").string() + "; echo $? >" +
                               program.path("code").string() + "; ls -A $T >" + program.path("left").string();
    ASSERT_EQ(std::system(("unshare -m " + program.bash(script)).c_str()), 0);
    EXPECT_EQ(readFile(program.path("code")), "1\n");
    EXPECT_EQ(program.errors(), "Disque plein.\n");
    EXPECT_EQ(readFile(program.path("left")), "");
  }
  const Ended limited = program.run({"-", "1"}, in, "/dev/null", [] {
    const rlimit limit{256 * 1024, 256 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);
  });
  EXPECT_EQ(limited.exit, 1);
  EXPECT_EQ(program.errors(), "Disque plein.\n");
  EXPECT_TRUE(program.leftNothing());

  const struct {
    std::string redirections;
    std::string message;
  } outputs[] = {
      {">/dev/full", "Disque plein.\n"},
      {">&-", "Erreur E/S 9.\n"},
      {"<&-", "Erreur E/S 9.\n"},
      {"<" + program.tmp().string(), "Erreur E/S 21.\n"},
  };
  for (const auto& output : outputs) {
    const std::string script =
        "TMPDIR=$T $ORVEX - 1 <" + in + " " + output.redirections + " 2>" + program.path("errors").string();
    const int status = std::system(program.bash(script).c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << output.redirections;
    EXPECT_EQ(program.errors(), output.message) << output.redirections;
    EXPECT_TRUE(program.leftNothing()) << output.redirections;
  }
}

TEST(Pipe, ASignalWhileReadingRemovesTheScratchFiles) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    Program program;
    const std::filesystem::path fifo = program.path("lent");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t child = program.start({"-", "1"}, fifo, "/dev/null");
    const int writer = ::open(fifo.c_str(), O_WRONLY);
    ASSERT_EQ(::write(writer, "début\n", 7), 7);
    // The copy of standard input has begun: the scratch directory is known to the
    // signal handlers by then.
    bool copying = false;
    for (int i = 0; i < 500 && !copying; ++i) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(program.tmp()))
        copying = copying || (entry.path().filename() == "temp.txt" && std::filesystem::file_size(entry) == 7);
      if (!copying) ::usleep(10'000);
    }
    EXPECT_TRUE(copying);
    ::kill(child, signal);
    const Ended ended = Program::wait(child);
    ::close(writer);
    EXPECT_EQ(ended.signal, signal);
    EXPECT_TRUE(program.leftNothing()) << signal;
  }
}

}  // namespace
}  // namespace orvex
