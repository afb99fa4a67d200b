// Opens a document through the desktop's associations (QDesktopServices).
#pragma once

#include "platform/documentopener.h"

class QtDocumentOpener : public DocumentOpener {
public:
    // A name with a scheme of two or more letters ("https:", "mailto:") is a URL; anything
    // else is a local file, used as given. The names in the appointment book are written by
    // every operator of the office, so only documents open: a local file (also as a file:
    // URL) that is regular and, by its name and its content, no program, script or desktop
    // launcher, whatever its mode bits; a URL only for http, https and mailto. Anything else
    // fails without starting anything; a local file that does not exist is also told on the
    // diagnostic output.
    OpenResult open(const QString& name) override;
};
