#pragma once
// Column blocks: the same range of character columns on a range of lines, marked by
// two caret positions, and the commands that copy, cut, delete, paste, fill and
// indent them through the block clipboard file and the document's lines.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "io/atomic_file.h"
#include "io/encoding_meeting.h"
#include "io/line_reader.h"
#include "io/line_writer.h"
#include "io/status.h"
#include "text/text_format.h"
#include "tools/document_tool.h"
#include "tools/fill_tool.h"

namespace orvex {

// 1-based columns and lines of the marked block; -1 while unset.
struct BlockAnchor {
  std::int32_t startColumn = -1;
  std::int32_t startLine = -1;
  std::int32_t endColumn = -1;
  std::int32_t endLine = -1;

  bool hasStart() const { return startColumn != -1; }
  bool hasBlock() const { return endColumn != -1; }
  std::int64_t width() const { return std::int64_t(endColumn) - startColumn + 1; }
  bool containsLine(std::int64_t line) const { return line >= startLine && line <= endLine; }

  // Caret column and line are 0-based: the start is the character right of the caret,
  // the end the character left of it.
  void markStart(std::int64_t caretColumn, std::int64_t caretLine);
  void markEnd(std::int64_t caretColumn, std::int64_t caretLine);
};

// The text of a block anchor label: "col: 5 lg: 12".
std::string anchorLabel(std::int64_t column, std::int64_t line);

// Up to `count` characters from the 1-based character index `from`: a `from` below 1
// counts as 1, a count of 0 or less or a `from` past the end gives an empty slice.
std::string_view blockSlice(std::string_view line, std::int64_t from, std::int64_t count, Encoding encoding);

// Byte offsets into a line, end excluded.
struct ByteRange {
  std::size_t begin = 0;
  std::size_t end = 0;

  bool empty() const { return begin == end; }
  friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

// Where blockSlice's slice of `line` lies in it.
ByteRange blockSliceBytes(std::string_view line, std::int64_t from, std::int64_t count, Encoding encoding);

// The fill text for a block: padded with spaces to the block's width.
std::string padToWidth(std::string text, std::int64_t width, Encoding encoding);

// Writes the block's slice of each line in the block's range to the block clipboard
// (CR LF after each line). The document does not change.
Status copyBlock(const std::filesystem::path& input, const TextFormat& format, const BlockAnchor& anchor,
                 const std::filesystem::path& clipboard, Progress& progress);

// Removes the block's characters from each line of its range; with a clipboard path,
// writes them there as copyBlock does (a cut). A block whose end column lies left
// of its start removes nothing.
class BlockRemovalTool : public LineTool {
 public:
  BlockRemovalTool(const BlockAnchor& anchor, Encoding encoding,
                   std::optional<std::filesystem::path> clipboard = std::nullopt);
  PipelineVariation variation() const override { return {EditorClearing::AfterDump, false, true}; }
  void run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
           Progress& progress) override;

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override;

 private:
  BlockAnchor m_anchor;
  Encoding m_encoding;
  std::optional<std::filesystem::path> m_clipboardPath;
  std::optional<AtomicFile> m_clipboard;
  std::optional<LineWriter> m_clipboardWriter;
  std::int64_t m_lineNumber = 0;
  std::string m_line;
};

// Inserts the lines of a file as a column at caret column X, from the caret line
// down (0-based caret line Y): a shorter line is first padded with spaces to X
// characters. Source lines left over when the document ends become new lines of X
// spaces followed by the source line. Serves the block paste and the file insertion;
// the block clipboard is read with OwnLinksOnly, like the program's other files.
class ColumnInsertTool : public LineTool {
 public:
  ColumnInsertTool(std::filesystem::path source, std::int64_t caretColumn, std::int64_t caretLine, Encoding encoding,
                   LinkPolicy links = LinkPolicy::Follow);
  PipelineVariation variation() const override { return {EditorClearing::BeforeReload, false, true}; }
  std::optional<Encoding> resultEncoding() const override { return m_meeting ? m_meeting->result() : m_encoding; }
  void run(const std::filesystem::path& input, const TextFormat& format, LineWriter& output,
           Progress& progress) override;

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override;
  void finish(LineWriter& output) override;

 private:
  std::filesystem::path m_sourcePath;
  LinkPolicy m_links;
  std::optional<EncodingMeeting> m_meeting;
  std::optional<LineReader> m_source;
  std::int64_t m_column;
  std::int64_t m_caretLine;
  Encoding m_encoding;
  std::int64_t m_lineNumber = 0;
  std::string m_line;
};

// Replaces the block's characters on each line of its range by the fill text, in
// one pass: the deletion and the fill of "Remplir dans un bloc".
class BlockFillTool : public FillTool {
 public:
  // `parameters` fill the block's lines at its start column; see FillTool.
  BlockFillTool(const BlockAnchor& anchor, FillParameters parameters, Encoding encoding)
      : FillTool(std::move(parameters), encoding), m_anchor(anchor), m_encoding(encoding) {}
  PipelineVariation variation() const override { return {EditorClearing::AfterDump, false, true}; }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress& progress) override;

 private:
  BlockAnchor m_anchor;
  Encoding m_encoding;
  std::int64_t m_lineNumber = 0;
  std::string m_kept;
};

enum class IndentDirection { Left, Right };

inline constexpr int kIndentStep = 4;

// Shifts the block's lines by four columns at its start column: the left indent
// removes up to four characters just left of it, the right indent inserts four
// spaces there. The caller moves the start column by the same step.
class IndentTool : public LineTool {
 public:
  IndentTool(const BlockAnchor& anchor, IndentDirection direction, Encoding encoding)
      : m_anchor(anchor), m_direction(direction), m_encoding(encoding) {}
  PipelineVariation variation() const override { return {EditorClearing::AfterDump, false, true}; }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override;

 private:
  BlockAnchor m_anchor;
  IndentDirection m_direction;
  Encoding m_encoding;
  std::int64_t m_lineNumber = 0;
  std::string m_line;
};

}  // namespace orvex
