#pragma once
// Waits, without holding the window up, for a user tool to end, then shows what
// it wrote (nothing when it wrote nothing) and goes. It lives under the window:
// when the window goes first, the tool runs on and its output is dropped.

#include <QObject>
#include <QString>

#include "config/tool_output.h"

class QSocketNotifier;
class QWidget;

namespace orvex::gui {

class ToolOutputWatch : public QObject {
  Q_OBJECT

 public:
  // The most of a tool's output shown.
  static constexpr std::size_t kShownBytes = std::size_t{8} << 20;

  // `label` is the tool's menu label; `run` must be watched.
  ToolOutputWatch(ToolRun run, const QString& label, QWidget& window);

 private:
  void showOutput();

  ToolRun m_run;
  QString m_label;
  QWidget& m_window;
  QSocketNotifier* m_notifier;
};

}  // namespace orvex::gui
