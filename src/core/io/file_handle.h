#pragma once
// An owned POSIX file descriptor and the small file helpers the engine shares.

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(int fd) : m_fd(fd) {}
  FileHandle(FileHandle&& other) noexcept : m_fd(other.release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle();

  int get() const { return m_fd; }
  bool isOpen() const { return m_fd >= 0; }
  int release();
  // Closes the descriptor; throws IoFailure when the system reports a failure.
  void close();

 private:
  int m_fd = -1;
};

// Whether a symbolic link may be read or written through: the program's own files
// never go through a link another user owns, which could point them anywhere.
enum class LinkPolicy { Follow, OwnLinksOnly };

// Opens a regular file for reading; throws IoFailure("Impossible d'ouvrir le fichier").
// With OwnLinksOnly, a link of another user on the way to the file is refused the same way.
FileHandle openForReading(const std::filesystem::path& path, LinkPolicy links = LinkPolicy::Follow);

// Creates or truncates a file; throws IoFailure("Impossible de créer le fichier").
FileHandle createForWriting(const std::filesystem::path& path);

// Writes every byte, retrying short writes; throws IoFailure.
void writeAll(int fd, std::string_view bytes);

// Reads until `size` bytes are in or the file ends, retrying interrupted reads, and
// returns how many were read: fewer only at the end of the file. With `offset`,
// reads there and leaves the file position alone. Throws IoFailure.
std::size_t readFull(int fd, char* into, std::size_t size, std::optional<off_t> offset = std::nullopt);

// Reads a whole file; throws IoFailure.
std::string readWholeFile(const std::filesystem::path& path);

// Writes a file by creating or truncating it (scratch files); throws IoFailure.
void writeWholeFile(const std::filesystem::path& path, std::string_view bytes);

bool isExistingFile(const std::filesystem::path& path);

// Removes a file; a failure is not an error for the callers (scratch clean-up).
void removeQuietly(const std::filesystem::path& path);

}  // namespace orvex
