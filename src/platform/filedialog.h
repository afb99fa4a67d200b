// The file-open dialog.
#pragma once

#include <QString>
#include <optional>

struct FileDialogRequest {
    QString title;
    QString filter;  // Qt form: "Label (*.WAV);;Label (*.*)", patterns matched in any case
    QString initialFolder;
    QString fileName;
    QString defaultSuffix;
};

struct FileChoice {
    QString fullPath;
    QString fileTitle;  // the chosen file's name without its folder
};

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The operator's choice, or nothing when the dialog was cancelled.
    virtual std::optional<FileChoice> open(const FileDialogRequest& request) = 0;
};
