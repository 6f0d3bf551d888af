#pragma once
// Files dragged from the file manager onto the text are opened, not inserted as
// their addresses; text dragged inside the editor moves as the control moves it.

#include <QObject>
#include <filesystem>

class QWidget;

namespace orvex::gui {

class FileDropFilter : public QObject {
  Q_OBJECT

 public:
  // Watches the drags and drops on `target`, the control's viewport.
  explicit FileDropFilter(QWidget* target, QObject* parent = nullptr);

 signals:
  // A local file was dropped; said once the drop is over, since opening may ask
  // questions.
  void fileDropped(const std::filesystem::path& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_target;
};

}  // namespace orvex::gui
