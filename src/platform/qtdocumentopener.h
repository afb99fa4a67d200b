// Opens a document through the desktop's associations (QDesktopServices).
#pragma once

#include "platform/documentopener.h"

class QtDocumentOpener : public DocumentOpener {
public:
    // A name with a scheme of two or more letters ("https:", "mailto:") is a URL; anything
    // else is a local file, used as given. The names in the appointment book are written by
    // every operator of the office, so only documents open: a local file (also as a file:
    // URL) that is regular, executable by nobody, neither a script nor a desktop launcher;
    // a URL only for http, https and mailto. Anything else fails without starting anything.
    OpenResult open(const QString& name) override;
};
