// The pipeline between the editor and the scratch files: progress, clean-up, and a
// document that survives every failure.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <initializer_list>
#include <new>
#include <typeinfo>

#include "history/tool_history.h"
#include "io/atomic_file.h"
#include "io/file_handle.h"
#include "io/piece_reader.h"
#include "pipeline/line_pipeline.h"
#include "test_support.h"
#include "text/format_detection.h"
#include "tools/case_tool.h"
#include "tools/cipher_tool.h"
#include "tools/line_edit_tools.h"
#include "tools/sort_tool.h"

namespace orvex {
namespace {

// An editor stand-in holding the document's bytes.
class FakeEditor : public DocumentPort {
 public:
  explicit FakeEditor(std::string text) : text(std::move(text)) {}

  std::size_t lineCount() const override {
    std::size_t count = 0;
    for (const char c : text) count += c == '\n';
    return count + (!text.empty() && text.back() != '\n');
  }
  Result<TextFormat> saveTo(const std::filesystem::path& path) override {
    return resultOf([&] {
      writeWholeFile(path, text);
      return detectFormat(text);
    });
  }
  void clear() override {
    text.clear();
    ++clears;
  }
  Status loadFrom(const std::filesystem::path& path, const TextFormat&, bool) override {
    if (failLoads > 0) {
      --failLoads;
      return Status::failure("Erreur E/S 5");
    }
    text = readWholeFile(path);
    return {};
  }
  void recordChange(const std::filesystem::path& before, const std::filesystem::path& after) override {
    recorded.emplace_back(readWholeFile(before), readWholeFile(after));
  }
  void reloadFailed() override { damaged = true; }

  std::string text;
  std::vector<std::pair<std::string, std::string>> recorded;
  int clears = 0;
  int failLoads = 0;
  bool damaged = false;
};

// An editor stand-in that loads a tool's result while the tool writes it.
class FollowingEditor : public FakeEditor {
 public:
  using FakeEditor::FakeEditor;
  bool followsGrowingResult() const override { return true; }
  Status loadGrowing(const std::filesystem::path& path, const TextFormat&, const GrowingFile& growing) override {
    PieceReader::Options options;
    options.pieceSize = 4096;
    options.writerFinished = growing.writerFinished;
    Result<PieceReader> reader = PieceReader::open(path, options);
    if (!reader.ok()) return Status::failure(reader.error());
    text.clear();
    std::string_view piece;
    while (reader.value().next(piece)) text += piece;
    if (!reader.value().error().empty()) return Status::failure(reader.value().error());
    return {};
  }
};

class RecordingListener : public ProgressListener {
 public:
  void progressChanged(std::int64_t, std::int64_t position, std::int64_t maximum) override {
    positions.push_back(position);
    lastMaximum = maximum;
  }
  std::vector<std::int64_t> positions;
  std::int64_t lastMaximum = 0;
};

TEST(LinePipeline, RunsTheToolAndFollowsTheProgressProtocol) {
  ScratchDirectory scratch;
  FakeEditor editor("un\ndeux\ntrois\n");
  CaseTool upper(LetterCase::Upper);
  RecordingListener listener;
  ASSERT_TRUE(runLinePipeline(editor, upper, scratch, &listener).ok());
  EXPECT_EQ(editor.text, "UN\nDEUX\nTROIS\n");
  EXPECT_EQ(listener.lastMaximum, 3 + 50);
  EXPECT_EQ(listener.positions, (std::vector<std::int64_t>{0, 0, 25, 26, 27, 28, 53, 0}));
  EXPECT_FALSE(std::filesystem::exists(scratch.firstFile()));
  EXPECT_FALSE(std::filesystem::exists(scratch.secondFile()));
}

TEST(LinePipeline, EmptyDocumentAndToolsWithoutSteps) {
  ScratchDirectory scratch;
  FakeEditor editor("");
  CipherTool encrypt(CipherDirection::Encrypt);
  RecordingListener listener;
  ASSERT_TRUE(runLinePipeline(editor, encrypt, scratch, &listener).ok());
  EXPECT_EQ(editor.text, "");
  EXPECT_EQ(listener.lastMaximum, 50);
  EXPECT_EQ(listener.positions, (std::vector<std::int64_t>{0, 0, 25, 50, 0}));

  FakeEditor sorted("b\r\na\r\n");
  SortTool sort(SortOrder::Ascending);
  RecordingListener untouched;
  ASSERT_TRUE(runLinePipeline(sorted, sort, scratch, &untouched).ok());
  EXPECT_EQ(sorted.text, "a\r\nb\r\n");
  EXPECT_TRUE(untouched.positions.empty());
}

TEST(LinePipeline, KeepsTheDocumentLayout) {
  ScratchDirectory scratch;
  FakeEditor editor("Été\r\nà Noël");
  AccentTool accents(Encoding::Utf8);
  ASSERT_TRUE(runLinePipeline(editor, accents, scratch).ok());
  EXPECT_EQ(editor.text, "Éte\r\na Noel");
  EXPECT_EQ(editor.clears, 0);
}

TEST(LinePipeline, AFailedReloadGivesTheDocumentBack) {
  ScratchDirectory scratch;
  FakeEditor editor("garder\nce texte\n");
  editor.failLoads = 1;
  CaseTool upper(LetterCase::Upper);
  RecordingListener listener;
  const Status status = runLinePipeline(editor, upper, scratch, &listener);
  EXPECT_EQ(status.error, "Erreur E/S 5");
  EXPECT_EQ(editor.text, "garder\nce texte\n");
  EXPECT_TRUE(editor.recorded.empty());
  // The scratch files go at once, and the progress is back at 0.
  EXPECT_FALSE(std::filesystem::exists(scratch.firstFile()));
  EXPECT_FALSE(std::filesystem::exists(scratch.secondFile()));
  EXPECT_EQ(listener.positions.back(), 0);
}

// A tool that runs out of memory half-way.
class ExhaustingTool : public LineTool {
 public:
  PipelineVariation variation() const override { return {EditorClearing::AfterDump, false, true}; }

 protected:
  void transform(std::string_view, LineWriter&, Progress&) override { throw std::bad_alloc(); }
};

TEST(LinePipeline, AnyFailureOfAToolGivesTheDocumentBack) {
  ScratchDirectory scratch;
  FakeEditor editor("ligne\n");
  ExhaustingTool tool;
  RecordingListener listener;
  EXPECT_EQ(runLinePipeline(editor, tool, scratch, &listener).error, "Mémoire insuffisante");
  EXPECT_EQ(editor.text, "ligne\n");
  EXPECT_FALSE(std::filesystem::exists(scratch.firstFile()));
  EXPECT_FALSE(std::filesystem::exists(scratch.secondFile()));
  EXPECT_EQ(listener.positions.back(), 0);
}

// A result loaded while it is written is the result loaded afterwards, byte for
// byte, with the same undo step; a tool that fails half-way gives the document back.
TEST(LinePipeline, AResultLoadedWhileWrittenIsTheSame) {
  std::string text;
  for (int i = 0; text.size() < 3'000'000; ++i) text += "Ligne n° " + std::to_string(i) + " : été, ÉTÉ  \r\n";
  CaseTool upper(LetterCase::Upper);
  AccentTool accents(Encoding::Utf8);
  BlankTool blanks;
  SortTool sort(SortOrder::Descending);
  for (DocumentTool* tool : std::initializer_list<DocumentTool*>{&upper, &accents, &blanks, &sort}) {
    ScratchDirectory scratch;
    FakeEditor afterwards(text);
    FollowingEditor whileWritten(text);
    ASSERT_TRUE(runLinePipeline(afterwards, *tool, scratch).ok());
    ASSERT_TRUE(runLinePipeline(whileWritten, *tool, scratch).ok());
    EXPECT_EQ(whileWritten.text, afterwards.text) << typeid(*tool).name();
    EXPECT_EQ(whileWritten.recorded, afterwards.recorded);
  }
  ScratchDirectory scratch;
  FollowingEditor editor(text);
  ExhaustingTool failing;
  EXPECT_EQ(runLinePipeline(editor, failing, scratch).error, "Mémoire insuffisante");
  EXPECT_EQ(editor.text, text);
  EXPECT_FALSE(editor.damaged);
  EXPECT_FALSE(std::filesystem::exists(scratch.secondFile()));
}

TEST(LinePipeline, AToolThatFillsTheDiskLeavesTheSpaceForTheSave) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
  test::TempDir dir;
  const auto disk = dir / "petit";
  std::filesystem::create_directory(disk);
  if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=256k") != 0) GTEST_SKIP() << "tmpfs cannot be mounted here";
  std::string text;
  while (text.size() < 150'000) text += "une ligne du document\n";
  {
    const test::ScopedVariable tmpdir("TMPDIR", disk);
    const ScratchDirectory scratch;
    ASSERT_EQ(scratch.path().parent_path(), disk);
    // Tools that empty the editor after the dump, before the reload, or never.
    CaseTool upper(LetterCase::Upper);
    SortTool sort(SortOrder::Ascending);
    AccentTool accents(Encoding::Utf8);
    for (DocumentTool* tool : std::initializer_list<DocumentTool*>{&upper, &sort, &accents}) {
      FakeEditor editor(text);
      RecordingListener listener;
      // Both scratch files do not fit: the second one fills the disk.
      const Status status = runLinePipeline(editor, *tool, scratch, &listener);
      EXPECT_EQ(status.error, "Disque plein");
      EXPECT_EQ(editor.text, text);
      EXPECT_FALSE(std::filesystem::exists(scratch.firstFile()));
      EXPECT_FALSE(std::filesystem::exists(scratch.secondFile()));
      EXPECT_TRUE(listener.positions.empty() || listener.positions.back() == 0);
      // The save that follows finds the space the tool took.
      EXPECT_NO_THROW(writeFileAtomically(disk / "document.txt", editor.text));
      std::filesystem::remove(disk / "document.txt");
    }
  }
  ::umount(disk.c_str());
}

TEST(LinePipeline, ADocumentThatCannotBeReloadedIsKeptInAFile) {
  ScratchDirectory scratch;
  FakeEditor editor("seule copie\n");
  editor.failLoads = 2;
  CaseTool upper(LetterCase::Upper);
  const Status status = runLinePipeline(editor, upper, scratch);
  const std::string marker = "Le document est conservé dans le fichier ";
  const auto at = status.error.find(marker);
  ASSERT_NE(at, std::string::npos) << status.error;
  const std::filesystem::path kept = status.error.substr(at + marker.size());
  EXPECT_EQ(readWholeFile(kept), "seule copie\n");
  EXPECT_FALSE(kept.string().starts_with(scratch.path().string()));
  EXPECT_TRUE(editor.damaged);  // so that the editor no longer says "Non modifié"
  EXPECT_TRUE(editor.recorded.empty());
  removeQuietly(kept);
}

TEST(LinePipeline, AFailedDumpLeavesTheEditorAlone) {
  ScratchDirectory scratch;
  FakeEditor editor("texte\n");
  std::filesystem::remove_all(scratch.path());
  CaseTool upper(LetterCase::Upper);
  const Status status = runLinePipeline(editor, upper, scratch);
  EXPECT_EQ(status.error, "Impossible de créer le fichier " + scratch.firstFile().string());
  EXPECT_EQ(editor.text, "texte\n");
  EXPECT_EQ(editor.clears, 0);
}

TEST(LinePipeline, TheTextOnBothSidesOfAToolIsOfferedForUndo) {
  ScratchDirectory scratch;
  FakeEditor editor("un\r\ndeux");
  CaseTool upper(LetterCase::Upper);
  ASSERT_TRUE(runLinePipeline(editor, upper, scratch).ok());
  ASSERT_EQ(editor.recorded.size(), 1U);
  EXPECT_EQ(editor.recorded[0].first, "un\r\ndeux");
  EXPECT_EQ(editor.recorded[0].second, "UN\r\nDEUX");
}

TEST(ToolHistory, KeepsTheNewestStepsWithinItsLimits) {
  ScratchDirectory scratch;
  ToolHistory history(scratch.path() / "h", {3, 25});
  std::vector<int> tokens;
  for (const char* text : {"un", "deux", "trois", "quatre", "cinq"}) {
    writeWholeFile(scratch.firstFile(), text);
    writeWholeFile(scratch.secondFile(), std::string(text) + "!");
    tokens.push_back(history.add({scratch.firstFile(), Encoding::Windows1252, Encoding::Windows1252},
                                 {scratch.secondFile(), Encoding::Utf8, Encoding::Windows1252}));
    EXPECT_FALSE(std::filesystem::exists(scratch.firstFile()));
  }
  // Three steps fit the count, but only the last two fit in 25 bytes.
  EXPECT_EQ(history.steps(), 2U);
  EXPECT_EQ(history.bytes(), std::uintmax_t{13 + 9});
  EXPECT_FALSE(history.before(tokens[2]));
  EXPECT_EQ(readWholeFile(history.before(tokens[3])->file), "quatre");
  EXPECT_EQ(readWholeFile(history.after(tokens[4])->file), "cinq!");
  EXPECT_EQ(history.before(tokens[3])->documentEncoding, Encoding::Windows1252);
  EXPECT_EQ(history.after(tokens[3])->documentEncoding, Encoding::Utf8);

  history.setLimits({1, 1});
  EXPECT_EQ(history.steps(), 1U);
  EXPECT_TRUE(history.after(tokens[4]));

  // A step whose files cannot be taken over is gone from the start.
  const int missing = history.add({scratch.path() / "absent"}, {scratch.path() / "absent2"});
  EXPECT_NE(missing, 0);
  EXPECT_FALSE(history.before(missing));
  history.clear();
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path() / "h"));
}

TEST(ScratchDirectory, EachInstanceHasItsOwnFilesAndCleansUp) {
  std::filesystem::path kept;
  {
    ScratchDirectory one;
    ScratchDirectory two;
    EXPECT_NE(one.firstFile(), two.firstFile());
    writeWholeFile(one.secondFile(), "x");
    kept = one.path();
  }
  EXPECT_FALSE(std::filesystem::exists(kept));
}

}  // namespace
}  // namespace orvex
