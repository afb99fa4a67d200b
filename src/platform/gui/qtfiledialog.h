// The file-open dialog through QFileDialog.
#pragma once

#include "platform/filedialog.h"

class QWidget;

class QtFileDialog : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<FileChoice> open(const FileDialogRequest& request) override;

private:
    QWidget* parent_;
};
