#include "mainwindow/tool_output_watch.h"

#include <QSocketNotifier>
#include <QWidget>

#include "windows/tool_output_window.h"

namespace orvex::gui {

ToolOutputWatch::ToolOutputWatch(ToolRun run, const QString& label, QWidget& window)
    : QObject(&window),
      m_run(std::move(run)),
      m_label(label),
      m_window(window),
      m_notifier(new QSocketNotifier(m_run.endDescriptor(), QSocketNotifier::Read, this)) {
  setObjectName(QStringLiteral("ToolOutputWatch"));
  connect(m_notifier, &QSocketNotifier::activated, this, &ToolOutputWatch::showOutput);
}

void ToolOutputWatch::showOutput() {
  m_notifier->setEnabled(false);
  const std::string output = m_run.output(kShownBytes);
  if (!output.empty()) (new ToolOutputWindow(m_label, QString::fromStdString(output), &m_window))->show();
  deleteLater();
}

}  // namespace orvex::gui
