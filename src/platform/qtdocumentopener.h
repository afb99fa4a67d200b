// Opens a document through the desktop's associations (QDesktopServices).
#pragma once

#include "platform/documentopener.h"

class QtDocumentOpener : public DocumentOpener {
public:
    // A name with a scheme of two or more letters ("https:", "mailto:") is a URL; anything
    // else is a local file, which must exist. The name is used as given.
    OpenResult open(const QString& name) override;
};
