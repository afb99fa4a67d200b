// QFileDialog-based file choice.
#include "platform/gui/qtfiledialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

std::optional<FileChoice> QtFileDialog::open(const FileDialogRequest& request) {
    QFileDialog dialog(parent_, request.title, request.initialFolder, request.filter);
    // Qt's own dialog matches the patterns without regard to case, as the host's platform
    // does, so "*.WAV" finds ding.wav too; a desktop's dialog may not.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
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
