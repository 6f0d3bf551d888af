#include "test_support.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "paths/scratch_directory.h"

namespace orvex::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvex-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(m_path, ignored);
}

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : m_name(name) {
  if (const char* old = std::getenv(name)) m_old = old;
  ::setenv(name, value.c_str(), 1);
}

ScopedVariable::~ScopedVariable() {
  if (m_old)
    ::setenv(m_name, m_old->c_str(), 1);
  else
    ::unsetenv(m_name);
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

int hiddenTemporaries(const std::filesystem::path& directory) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    count += entry.path().filename().string().starts_with(".orvex-");
  return count;
}

RunningCopy::RunningCopy() {
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

void RunningCopy::kill() {
  if (m_pid <= 0) return;
  ::kill(m_pid, SIGKILL);
  ::waitpid(m_pid, nullptr, 0);
  m_pid = -1;
}

}  // namespace orvex::test
