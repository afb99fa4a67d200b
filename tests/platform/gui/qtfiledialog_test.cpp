// The Qt file dialog shows the sound-file filter as written and still matches it in any case.
#include "platform/gui/qtfiledialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTimer>

#include "support/tempdir.h"

namespace {

// The file names the open dialog lists in its folder, once it has read the folder.
QStringList listedNames(QFileDialog& dialog, const QString& folder) {
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (model == nullptr) return {};
    const QModelIndex root = model->index(folder);
    QDeadlineTimer deadline(5000);
    while (model->rowCount(root) == 0 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    QStringList names;
    for (int row = 0; row < model->rowCount(root); ++row) {
        names.append(model->index(row, 0, root).data().toString());
    }
    names.sort();
    return names;
}

TEST(QtFileDialog, TheSoundFilterMatchesBothCases) {
    TestFolder folder;
    folder.write("ding.wav", "RIFF");
    folder.write("DONG.WAV", "RIFF");
    folder.write("nota.txt", "testo");
    QStringList filters;
    QStringList names;
    bool ownDialog = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        // The desktop's own dialog may match patterns by case: only Qt's is known not to.
        ownDialog = dialog->testOption(QFileDialog::DontUseNativeDialog);
        filters = dialog->nameFilters();
        names = listedNames(*dialog, folder.path(""));
        dialog->reject();
    });
    FileDialogRequest request;
    request.title = "SUONO DI AVVISO";
    request.filter = "File di Suono (*.WAV);;Tutti i files (*.*)";
    request.initialFolder = folder.path("");
    EXPECT_FALSE(QtFileDialog().open(request));
    EXPECT_EQ(filters, (QStringList{"File di Suono (*.WAV)", "Tutti i files (*.*)"}));
    EXPECT_TRUE(ownDialog);
    EXPECT_EQ(names, (QStringList{"DONG.WAV", "ding.wav"}));
}

}  // namespace
