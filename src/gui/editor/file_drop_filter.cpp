#include "editor/file_drop_filter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

#include "paths/file_names.h"

namespace orvex::gui {

namespace {

// The local file a drag from the file manager carries, if any. The list is read as
// bytes: decoded addresses would lose a name that is not UTF-8.
std::filesystem::path droppedFile(const QMimeData* data) {
  if (!data || !data->hasFormat(QStringLiteral("text/uri-list"))) return {};
  const QByteArray list = data->data(QStringLiteral("text/uri-list"));
  return localFileFromUriList(std::string_view(list.constData(), static_cast<std::size_t>(list.size())))
      .value_or(std::filesystem::path());
}

}  // namespace

FileDropFilter::FileDropFilter(QWidget* target, QObject* parent) : QObject(parent), m_target(target) {
  m_target->installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_target) return false;
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (droppedFile(drag->mimeData()).empty()) return false;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const std::filesystem::path file = droppedFile(drop->mimeData());
      if (file.empty()) return false;
      drop->acceptProposedAction();
      QMetaObject::invokeMethod(
          this, [this, file] { emit fileDropped(file); }, Qt::QueuedConnection);
      return true;
    }
    default: return false;
  }
}

}  // namespace orvex::gui
