#include "recovery/journal_format.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "io/file_handle.h"
#include "text/messages.h"

namespace orvex {

namespace {

constexpr std::string_view kMagic = "ORVEXJNL";
// Magic, version, description length, text length, checksum.
constexpr std::size_t kFixedLength = 8 + 4 + 4 + 8 + 8;
// Encodings, mark, break, final break, identity flag, device, inode, size,
// seconds, nanoseconds, name length.
constexpr std::size_t kDescriptionLength = 6 + 5 * 8 + 4;
constexpr std::uint32_t kLongestName = 1U << 16;
const std::string kNotJournal = "not a journal";

void putInteger(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t getInteger(std::string_view in, std::size_t at, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i)
    value |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)])) << (8 * i);
  return value;
}

// FNV-1a: enough to tell a torn or foreign head from ours.
std::uint64_t checksum(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::string description(const JournalRecord& record) {
  std::string out;
  const TextFormat& format = record.format;
  out.push_back(static_cast<char>(format.encoding));
  out.push_back(static_cast<char>(record.shown));
  out.push_back(static_cast<char>(format.bom ? 1 : 0));
  out.push_back(static_cast<char>(format.lineBreak));
  out.push_back(static_cast<char>(format.finalBreak ? 1 : 0));
  out.push_back(static_cast<char>(record.identity ? 1 : 0));
  const FileIdentity identity = record.identity.value_or(FileIdentity{});
  putInteger(out, static_cast<std::uint64_t>(identity.device), 8);
  putInteger(out, static_cast<std::uint64_t>(identity.inode), 8);
  putInteger(out, static_cast<std::uint64_t>(identity.size), 8);
  putInteger(out, static_cast<std::uint64_t>(identity.modified.tv_sec), 8);
  putInteger(out, static_cast<std::uint64_t>(identity.modified.tv_nsec), 8);
  putInteger(out, record.fileName.size(), 4);
  out += record.fileName;
  return out;
}

// The checksummed part: the three lengths and the description.
std::string checked(std::string_view lengths, std::string_view described) {
  return std::string(lengths).append(described);
}

bool readFlag(std::string_view in, std::size_t at, bool& flag) {
  const auto value = static_cast<unsigned char>(in[at]);
  flag = value == 1;
  return value <= 1;
}

std::optional<JournalRecord> parseDescription(std::string_view in) {
  if (in.size() < kDescriptionLength) return std::nullopt;
  JournalRecord record;
  const auto own = static_cast<unsigned char>(in[0]);
  const auto shown = static_cast<unsigned char>(in[1]);
  const auto lineBreak = static_cast<unsigned char>(in[3]);
  bool hasIdentity = false;
  if (own > 1 || shown > 1 || lineBreak > 2 || !readFlag(in, 2, record.format.bom) ||
      !readFlag(in, 4, record.format.finalBreak) || !readFlag(in, 5, hasIdentity))
    return std::nullopt;
  record.format.encoding = static_cast<Encoding>(own);
  record.shown = static_cast<Encoding>(shown);
  record.format.lineBreak = static_cast<LineBreak>(lineBreak);
  if (hasIdentity) {
    FileIdentity identity;
    identity.device = static_cast<dev_t>(getInteger(in, 6, 8));
    identity.inode = static_cast<ino_t>(getInteger(in, 14, 8));
    identity.size = static_cast<off_t>(getInteger(in, 22, 8));
    identity.modified.tv_sec = static_cast<time_t>(getInteger(in, 30, 8));
    identity.modified.tv_nsec = static_cast<long>(getInteger(in, 38, 8));
    record.identity = identity;
  }
  const std::uint64_t nameLength = getInteger(in, 46, 4);
  if (nameLength != in.size() - kDescriptionLength) return std::nullopt;
  record.fileName = std::string(in.substr(kDescriptionLength));
  return record;
}

}  // namespace

bool JournalRecord::operator==(const JournalRecord& other) const {
  return fileName == other.fileName && identity == other.identity && format.encoding == other.format.encoding &&
         format.bom == other.format.bom && format.lineBreak == other.format.lineBreak &&
         format.finalBreak == other.format.finalBreak && shown == other.shown;
}

std::size_t journalHeadLength(const JournalRecord& record) {
  return kFixedLength + kDescriptionLength + record.fileName.size();
}

std::string journalHead(const JournalRecord& record, std::uint64_t textLength) {
  const std::string described = description(record);
  std::string lengths;
  putInteger(lengths, kJournalVersion, 4);
  putInteger(lengths, described.size(), 4);
  putInteger(lengths, textLength, 8);
  std::string head(kMagic);
  head += lengths;
  putInteger(head, checksum(checked(lengths, described)), 8);
  head += described;
  return head;
}

Result<JournalLayout> readJournalLayout(int fd, std::uint64_t fileSize) {
  std::array<char, kFixedLength> fixed{};
  const Result<std::size_t> got = resultOf([&] { return readFull(fd, fixed.data(), fixed.size(), 0); });
  if (!got.ok()) return Status::failure(got.error());
  const std::string_view head(fixed.data(), got.value());
  if (head.size() < kFixedLength || head.substr(0, kMagic.size()) != kMagic ||
      getInteger(head, 8, 4) != kJournalVersion)
    return Status::failure(kNotJournal);
  const std::uint64_t describedLength = getInteger(head, 12, 4);
  const std::uint64_t textLength = getInteger(head, 16, 8);
  if (describedLength < kDescriptionLength || describedLength > kDescriptionLength + kLongestName ||
      fileSize < kFixedLength + describedLength || fileSize - kFixedLength - describedLength != textLength)
    return Status::failure(kNotJournal);
  std::string described(describedLength, '\0');
  const Result<std::size_t> read =
      resultOf([&] { return readFull(fd, described.data(), described.size(), static_cast<off_t>(kFixedLength)); });
  if (!read.ok()) return Status::failure(read.error());
  if (read.value() != described.size() || checksum(checked(head.substr(8, 16), described)) != getInteger(head, 24, 8))
    return Status::failure(kNotJournal);
  std::optional<JournalRecord> record = parseDescription(described);
  if (!record) return Status::failure(kNotJournal);
  return JournalLayout{std::move(*record), kFixedLength + describedLength, textLength};
}

Result<JournalLayout> readJournalForRecovery(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return Status::failure(messageForErrno(errno));
  Result<JournalLayout> layout = readJournalLayout(fd, static_cast<std::uint64_t>(info.st_size));
  if (layout.ok() && ::lseek(fd, static_cast<off_t>(layout.value().textOffset), SEEK_SET) < 0)
    return Status::failure(messageForErrno(errno));
  return layout;
}

}  // namespace orvex
