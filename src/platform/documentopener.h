// Opens a document (a local file or a URL) with the program associated to it.
#pragma once

#include <QString>

enum class OpenResult { Opened, OutOfResources, Failed };

class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    virtual OpenResult open(const QString& name) = 0;
};
