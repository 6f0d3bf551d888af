#pragma once
// The edit menu's line commands that ask or insert: go to a line, and the date, the
// time, the file name or its directory inserted at the caret.

namespace orvex::gui {

class CommandContext;
class DocumentSession;

class LineCommands {
 public:
  LineCommands(const CommandContext& context, const DocumentSession& session)
      : m_context(context), m_session(session) {}

  void goToLine();
  void insertDate();
  void insertTime();
  void insertFileName();
  void insertDirectory();

 private:
  const CommandContext& m_context;
  const DocumentSession& m_session;
};

}  // namespace orvex::gui
