#include "services/program_dialog.h"

#include <QFileSystemModel>
#include <QSortFilterProxyModel>

namespace orvex::gui {

namespace {

// Executables carry no common name pattern on Linux, and the dialog's own
// permission filter (QDir::Executable) leaves the list empty, folders included:
// the choice is made here, entry by entry, from the file system model.
class ProgramFilter : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  // The file system model sorts as the dialog always shows: folders first, names
  // without regard to case.
  void sort(int column, Qt::SortOrder order) override {
    if (sourceModel()) sourceModel()->sort(column, order);
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    return !files || isProgramChoice(files->fileInfo(files->index(row, 0, parent)));
  }
};

}  // namespace

bool isProgramChoice(const QFileInfo& entry) { return entry.isDir() || (entry.isFile() && entry.isExecutable()); }

std::unique_ptr<QFileDialog> createProgramDialog(QWidget* parent, const QString& directory) {
  auto dialog = std::make_unique<QFileDialog>(parent, QString(), directory, QStringLiteral("Exécutables (*)"));
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setProxyModel(new ProgramFilter(dialog.get()));
  return dialog;
}

}  // namespace orvex::gui
