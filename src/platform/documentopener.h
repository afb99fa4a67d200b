// Opens a document (a local file or a URL) with the program associated to it.
#pragma once

#include <QString>
#include <functional>

enum class OpenResult { Opened, OutOfResources, Failed };

class DocumentOpener {
public:
    // Called when a document the desktop took in turns out not to open (no program for its
    // type); on the thread that asked, after open has returned.
    using LaterFailure = std::function<void()>;

    virtual ~DocumentOpener() = default;
    // Opened: the desktop took the document in; should it find afterwards that it cannot open
    // it, `failedLater` is called once.
    virtual OpenResult open(const QString& name, LaterFailure failedLater) = 0;
};
