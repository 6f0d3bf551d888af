// Column blocks: anchors, the block clipboard, cut, delete, paste, file insertion
// and indents.

#include <gtest/gtest.h>

#include "editing/block_cells.h"
#include "editing/block_operations.h"
#include "tool_runner.h"

namespace orvex {
namespace {

using Lines = std::vector<std::string>;
using test::runTool;

BlockAnchor block(int startColumn, int startLine, int endColumn, int endLine) {
  return {startColumn, startLine, endColumn, endLine};
}

std::string copyToClipboard(const Lines& lines, const BlockAnchor& anchor) {
  test::TempDir dir;
  {
    FileHandle in = createForWriting(dir / "doc.txt");
    LineWriter writer(in.get(), {Encoding::Utf8, false, LineBreak::Lf, true});
    for (const auto& line : lines) writer.put(line);
    writer.finish();
    in.close();
  }
  Progress progress;
  EXPECT_TRUE(
      copyBlock(dir / "doc.txt", {Encoding::Utf8, false, LineBreak::Lf, true}, anchor, dir / "bloc.txt", progress)
          .ok());
  return test::readFile(dir / "bloc.txt");
}

TEST(BlockAnchor, MarksFromCaretPositions) {
  BlockAnchor anchor;
  EXPECT_FALSE(anchor.hasStart());
  anchor.markStart(3, 1);
  anchor.markEnd(7, 3);
  EXPECT_EQ(anchor.startColumn, 4);
  EXPECT_EQ(anchor.startLine, 2);
  EXPECT_EQ(anchor.endColumn, 7);
  EXPECT_EQ(anchor.endLine, 4);
  EXPECT_EQ(anchor.width(), 4);
  EXPECT_EQ(anchorLabel(5, 12), "col: 5 lg: 12");
}

TEST(BlockSlice, FollowsTheSubstringRule) {
  const struct {
    std::int64_t from, count;
    std::string out;
  } cases[] = {{2, 3, "bcd"}, {0, 2, "ab"}, {-5, 1, "a"}, {3, 0, ""}, {3, -1, ""}, {5, 9, "ef"}, {7, 2, ""}};
  for (const auto& c : cases) EXPECT_EQ(blockSlice("abcdef", c.from, c.count, Encoding::Utf8), c.out) << c.from;
  EXPECT_EQ(blockSlice("éèà", 2, 1, Encoding::Utf8), "è");
}

TEST(BlockClipboard, CopyWritesTheSlicesWithCrLf) {
  const Lines doc = {"0123456789", "abcdefghij", "ab", "ABCDEFGHIJ", "zzz"};
  EXPECT_EQ(copyToClipboard(doc, block(4, 2, 7, 4)), "defg\r\n\r\nDEFG\r\n");
  EXPECT_EQ(copyToClipboard(doc, block(4, 2, 3, 3)), "\r\n\r\n");  // width 0
  EXPECT_EQ(copyToClipboard(doc, block(1, 3, 2, 1)), "");          // end above start
  EXPECT_EQ(copyToClipboard(doc, block(1, 5, 2, 9)), "zz\r\n");    // past the last line
}

TEST(BlockCells, AreTheClipboardSlicesInTheWholeText) {
  const Lines doc = {"0123456789", "abcdéfghij", "ab", "klmno€qrst", "\tx\ty"};
  std::string text;
  std::vector<PlacedLine> placed;
  for (const auto& line : doc) {
    placed.push_back({text.size(), {}});
    text += line + "\r\n";
  }
  for (std::size_t i = 0; i < doc.size(); ++i)
    placed[i].text = std::string_view(text).substr(placed[i].offset, doc[i].size());

  const struct {
    BlockAnchor anchor;
    LineSpan lines;
    Lines cells;
    int linesRead;
  } cases[] = {
      {block(4, 2, 7, 4), {1, 5}, {"défg", "no€q"}, 3},  // whole characters; a short line has no cell
      {block(1, 4, 2, 9), {1, 5}, {"kl", "\tx"}, 2},     // a tab is one column; past the last line
      {block(1, 1, 3, 5), {2, 3}, {"abc", "ab"}, 2},     // only the lines asked for are read
      {block(-2, 1, 2, 1), {1, 5}, {"01234"}, 1},        // a start left of the line counts from its start
      {block(4, 2, 3, 4), {1, 5}, {}, 0},                // width 0
      {block(1, 3, 2, 1), {1, 5}, {}, 0},                // end line above the start line
      {{4, 2, -1, -1}, {1, 5}, {}, 0},                   // no end marked
      {{-1, -1, 3, 2}, {1, 5}, {}, 0},                   // no start marked
  };
  for (const auto& c : cases) {
    int read = 0;
    const auto lineAt = [&](std::int64_t number) {
      ++read;
      return placed.at(static_cast<std::size_t>(number - 1));
    };
    Lines cells;
    for (const ByteRange& cell : blockCells(c.anchor, c.lines, Encoding::Utf8, lineAt))
      cells.push_back(text.substr(cell.begin, cell.end - cell.begin));
    EXPECT_EQ(cells, c.cells) << c.anchor.startColumn << "," << c.anchor.startLine;
    EXPECT_EQ(read, c.linesRead) << c.anchor.startColumn << "," << c.anchor.startLine;
  }

  // In a Windows-1252 text a column is a byte.
  const std::string bytes = "\xE9\x80z";
  const auto cells = blockCells(block(2, 1, 3, 1), {1, 1}, Encoding::Windows1252, [&](std::int64_t) {
    return PlacedLine{0, bytes};
  });
  EXPECT_EQ(cells, (std::vector<ByteRange>{{1, 3}}));
}

TEST(BlockRemoval, CutAndDeleteRemoveTheColumns) {
  const Lines doc = {"0123456789", "abcdefghij", "ab", "ABCDEFGHIJ"};
  BlockRemovalTool remove(block(4, 2, 7, 4), Encoding::Utf8);
  EXPECT_EQ(runTool(remove, doc).lines, (Lines{"0123456789", "abchij", "ab", "ABCHIJ"}));

  test::TempDir dir;
  BlockRemovalTool cut(block(2, 1, 3, 1), Encoding::Utf8, dir / "bloc.txt");
  EXPECT_EQ(runTool(cut, {"abcd", "efgh"}).lines, (Lines{"ad", "efgh"}));
  EXPECT_EQ(test::readFile(dir / "bloc.txt"), "bc\r\n");

  // An end column left of the start removes nothing rather than doubling text.
  BlockRemovalTool reversed(block(5, 1, 2, 1), Encoding::Utf8);
  EXPECT_EQ(runTool(reversed, {"abcdefgh"}).lines, (Lines{"abcdefgh"}));
}

TEST(ColumnInsert, PastesAtTheCaretAndPadsShortLines) {
  test::TempDir dir;
  test::writeFile(dir / "bloc.txt", "xy\r\nzw\r\n");
  ColumnInsertTool atFront(dir / "bloc.txt", 0, 0, Encoding::Utf8);
  EXPECT_EQ(runTool(atFront, {"ab", "cd", "ef"}).lines, (Lines{"xyab", "zwcd", "ef"}));
  ColumnInsertTool padded(dir / "bloc.txt", 5, 1, Encoding::Utf8);
  EXPECT_EQ(runTool(padded, {"first", "ab"}).lines, (Lines{"first", "ab   xy", "     zw"}));

  // A three-line file at column 4 of a 4-character line, an empty line, a 9-character line.
  test::writeFile(dir / "file.txt", "F1\nF2\nF3\n");
  ColumnInsertTool insert(dir / "file.txt", 4, 0, Encoding::Utf8);
  EXPECT_EQ(runTool(insert, {"abcd", "", "123456789"}).lines, (Lines{"abcdF1", "    F2", "1234F356789"}));

  test::writeFile(dir / "empty.txt", "");
  ColumnInsertTool nothing(dir / "empty.txt", 2, 0, Encoding::Utf8);
  EXPECT_EQ(runTool(nothing, {"ab"}).lines, (Lines{"ab"}));
}

TEST(ColumnInsert, TheInsertedLinesTakeTheDocumentsEncoding) {
  const struct {
    Encoding document;
    std::string line;
    std::string block;
    std::string result;
    Encoding resultEncoding;
  } cases[] = {
      {Encoding::Utf8, "été", "\xE0\xE9\r\n", "éàété", Encoding::Utf8},  // a Windows-1252 block
      {Encoding::Windows1252, "\xE9t\xE9", "àé\r\n", "\xE9\xE0\xE9t\xE9", Encoding::Windows1252},
      {Encoding::Windows1252, "\xE9t\xE9", "Ωé\r\n", "éΩété", Encoding::Utf8},  // the code page lacks Ω
      {Encoding::Utf8, "abc", "\xEF\xBB\xBFxy\r\n", "axybc", Encoding::Utf8},   // a byte-order mark
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    test::writeFile(dir / "bloc.txt", c.block);
    ColumnInsertTool tool(dir / "bloc.txt", 1, 0, c.document);
    EXPECT_EQ(runTool(tool, {c.line}).lines, (Lines{c.result})) << c.block;
    EXPECT_EQ(tool.resultEncoding(), c.resultEncoding) << c.block;
  }
}

TEST(Indent, ShiftsTheBlockByFourColumns) {
  IndentTool left(block(7, 1, 9, 1), IndentDirection::Left, Encoding::Utf8);
  EXPECT_EQ(runTool(left, {"abcdefghij", "untouched"}).lines, (Lines{"abghij", "untouched"}));
  IndentTool leftNearStart(block(3, 1, 9, 2), IndentDirection::Left, Encoding::Utf8);
  EXPECT_EQ(runTool(leftNearStart, {"abcdef", "a"}).lines, (Lines{"cdef", ""}));
  IndentTool right(block(1, 1, 3, 2), IndentDirection::Right, Encoding::Utf8);
  EXPECT_EQ(runTool(right, {"ab", "cd", "ef"}).lines, (Lines{"    ab", "    cd", "ef"}));
  IndentTool rightPastEnd(block(6, 1, 8, 1), IndentDirection::Right, Encoding::Utf8);
  EXPECT_EQ(runTool(rightPastEnd, {"ab"}).lines, (Lines{"ab    "}));
}

TEST(BlockFill, TextIsPaddedToTheBlockWidth) {
  EXPECT_EQ(padToWidth("ab", 5, Encoding::Utf8), "ab   ");
  EXPECT_EQ(padToWidth("été", 4, Encoding::Utf8), "été ");
  EXPECT_EQ(padToWidth("abcdef", 3, Encoding::Utf8), "abcdef");
}

}  // namespace
}  // namespace orvex
