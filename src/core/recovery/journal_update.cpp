#include "recovery/journal_update.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "text/messages.h"

namespace orvex {

JournalUpdate::JournalUpdate(FileHandle directory, FileHandle file, JournalRecord record, std::string temporary,
                             std::string journal, std::string shown)
    : m_directory(std::move(directory)),
      m_file(std::move(file)),
      m_record(std::move(record)),
      m_temporary(std::move(temporary)),
      m_journal(std::move(journal)),
      m_shown(std::move(shown)),
      m_headLength(journalHeadLength(m_record)) {}

Result<JournalUpdate> JournalUpdate::start(const JournalDirectory& directory, const JournalSlot& slot,
                                           JournalRecord record) {
  const std::string shown = directory.journalPath(slot).string();
  FileHandle dir(::fcntl(directory.fd(), F_DUPFD_CLOEXEC, 0));
  FileHandle file(::openat(directory.fd(), slot.temporaryName().c_str(),
                           O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!dir.isOpen() || !file.isOpen()) return Status::failure(cannotCreateMessage(shown));
  // The text goes after the head, which commit() writes once the text's length is known.
  if (::ftruncate(file.get(), static_cast<off_t>(journalHeadLength(record))) != 0)
    return Status::failure(messageForErrno(errno));
  return JournalUpdate(std::move(dir), std::move(file), std::move(record), slot.temporaryName(), slot.journalName(),
                       shown);
}

Status JournalUpdate::append(std::string_view text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t put = ::pwrite(m_file.get(), text.data() + done, text.size() - done,
                                 static_cast<off_t>(m_headLength + m_written + done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return Status::failure(messageForErrno(put < 0 ? errno : EIO));
    done += static_cast<std::size_t>(put);
  }
  m_written += text.size();
  return {};
}

Status JournalUpdate::rewind(std::uint64_t length) {
  if (length >= m_written) return {};
  if (::ftruncate(m_file.get(), static_cast<off_t>(m_headLength + length)) != 0)
    return Status::failure(messageForErrno(errno));
  m_written = length;
  return {};
}

Status JournalUpdate::commit() {
  const std::string head = journalHead(m_record, m_written);
  Status written = statusOf([&] {
    for (std::size_t done = 0; done < head.size();) {
      const ssize_t put = ::pwrite(m_file.get(), head.data() + done, head.size() - done, static_cast<off_t>(done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) throw IoFailure(messageForErrno(put < 0 ? errno : EIO));
      done += static_cast<std::size_t>(put);
    }
    if (::fsync(m_file.get()) != 0) throw IoFailure(messageForErrno(errno));
    m_file.close();
  });
  if (!written.ok()) return written;
  if (::renameat(m_directory.get(), m_temporary.c_str(), m_directory.get(), m_journal.c_str()) != 0)
    return Status::failure(cannotCreateMessage(m_shown));
  // Makes the rename itself durable.
  ::fsync(m_directory.get());
  return {};
}

Status writeJournal(const JournalDirectory& directory, const JournalSlot& slot, const JournalRecord& record,
                    std::string_view text) {
  Result<JournalUpdate> update = JournalUpdate::start(directory, slot, record);
  if (!update.ok()) return Status::failure(update.error());
  if (Status appended = update.value().append(text); !appended.ok()) return appended;
  return update.value().commit();
}

}  // namespace orvex
