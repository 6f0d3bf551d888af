#pragma once
// The recovery journal of a window's unsaved text: from it alone a later start
// rebuilds exactly what saving the document would have written.
//
// Layout (integers little-endian): the magic "ORVEXJNL", the version (u32), the
// length of the description (u32), the length of the text (u64), a checksum (u64)
// of the three lengths and the description; then the description (encodings, mark,
// break, final break, the file's identity, the file name as bytes); then the text
// as the editor holds it, in UTF-8. A file whose size is not exactly the sum of the
// parts, or whose checksum does not match, is not a journal.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "io/atomic_file.h"
#include "io/status.h"
#include "text/text_format.h"

namespace orvex {

// What a journal says of the document besides its text.
struct JournalRecord {
  std::string fileName;                  // bytes as the system has them; empty: a new document
  std::optional<FileIdentity> identity;  // the file at the last open or save
  TextFormat format;                     // the document's own encoding, mark, break, final break
  Encoding shown = Encoding::Utf8;       // the encoding its bytes are shown from
  bool operator==(const JournalRecord& other) const;
};

inline constexpr std::uint32_t kJournalVersion = 1;

// The fixed part, the description and the text's position in the file.
struct JournalLayout {
  JournalRecord record;
  std::uint64_t textOffset = 0;
  std::uint64_t textLength = 0;
};

// The fixed part and the description, for a text of `textLength` bytes.
std::string journalHead(const JournalRecord& record, std::uint64_t textLength);
// The length of journalHead() for this record, whatever the text.
std::size_t journalHeadLength(const JournalRecord& record);

// Reads and checks the head of the journal open as `fd` (of `fileSize` bytes); a
// failure for an empty, truncated, foreign or other-version file.
Result<JournalLayout> readJournalLayout(int fd, std::uint64_t fileSize);
// The same for the whole file open as `fd`, which is left at the text's start.
Result<JournalLayout> readJournalForRecovery(int fd);

}  // namespace orvex
