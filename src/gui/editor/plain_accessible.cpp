#include "editor/plain_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLatin1StringView>
#include <QWidget>

namespace orvex::gui {

namespace {

QAccessibleInterface* plainEditorAccessible(const QString& className, QObject* object) {
  if (className != QLatin1StringView("QsciScintilla") || !object || !object->isWidgetType()) return nullptr;
  if (QAccessible::isActive()) return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
}

}  // namespace

void preferPlainEditorAccessible() {
  static const bool installed = [] {
    QAccessible::installFactory(plainEditorAccessible);
    return true;
  }();
  static_cast<void>(installed);
}

}  // namespace orvex::gui
