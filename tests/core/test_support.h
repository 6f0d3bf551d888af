#pragma once
// Helpers shared by the engine tests and the end-to-end tests: a temporary
// directory, whole-file access and a killed copy of the program.

#include <filesystem>
#include <optional>
#include <string>

#include <sys/types.h>

namespace orvex::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

// Sets an environment variable (TMPDIR, HOME...) for the object's lifetime.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value);
  ~ScopedVariable();
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

// How many hidden temporaries of a save (".orvex-...") lie in `directory`.
int hiddenTemporaries(const std::filesystem::path& directory);

// A copy of the program in a child process: it makes its scratch directory, fills
// it with an undo file, says where it is, and waits to be killed.
class RunningCopy {
 public:
  RunningCopy();
  ~RunningCopy() { kill(); }
  RunningCopy(const RunningCopy&) = delete;
  RunningCopy& operator=(const RunningCopy&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  void kill();

 private:
  pid_t m_pid = -1;
  std::filesystem::path m_path;
};

}  // namespace orvex::test
