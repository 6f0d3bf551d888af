#pragma once
// One update of a window's journal: the text goes into the slot's temporary file,
// possibly in several slices between edits, then commit() writes the head, flushes
// the file to disk and renames it over the journal, so that a kill at any moment
// leaves the previous journal whole. commit() touches only its own descriptors and
// may run on another thread.

#include <cstdint>
#include <string_view>

#include "io/file_handle.h"
#include "io/status.h"
#include "recovery/journal_directory.h"
#include "recovery/journal_format.h"

namespace orvex {

class JournalUpdate {
 public:
  static Result<JournalUpdate> start(const JournalDirectory& directory, const JournalSlot& slot, JournalRecord record);

  const JournalRecord& record() const { return m_record; }
  // Bytes of text written so far.
  std::uint64_t written() const { return m_written; }
  // Adds `text` after what is written.
  Status append(std::string_view text);
  // Keeps only the first `length` bytes of text written (an edit before the end
  // changed the rest).
  Status rewind(std::uint64_t length);
  Status commit();

 private:
  JournalUpdate(FileHandle directory, FileHandle file, JournalRecord record, std::string temporary, std::string journal,
                std::string shown);

  FileHandle m_directory;
  FileHandle m_file;
  JournalRecord m_record;
  std::string m_temporary;
  std::string m_journal;
  std::string m_shown;  // the journal's path, for messages
  std::uint64_t m_headLength;
  std::uint64_t m_written = 0;
};

// The whole journal at once: start, the text, commit.
Status writeJournal(const JournalDirectory& directory, const JournalSlot& slot, const JournalRecord& record,
                    std::string_view text);

}  // namespace orvex
