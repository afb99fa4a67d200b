// QFileDialog-based file choice.
#include "platform/gui/qtfiledialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

std::optional<FileChoice> QtFileDialog::open(const FileDialogRequest& request) {
    QFileDialog dialog(parent_, request.title, request.initialFolder, request.filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = QDir::toNativeSeparators(dialog.selectedFiles().first());
    return FileChoice{path, QFileInfo(path).fileName()};
}
