// Opens a document through the desktop's associations: its launcher, else QDesktopServices.
#pragma once

#include <QObject>

#include "platform/documentopener.h"

class QtDocumentOpener : public DocumentOpener {
public:
    // `launcher` hands a document to the desktop's associations and ends with a failure status
    // when it finds no program for it (xdg-open); it is looked for through PATH. Where it is
    // empty or missing, Qt's desktop services open the document, which start their launcher
    // detached and so never learn of such a failure.
    explicit QtDocumentOpener(QString launcher);
    ~QtDocumentOpener() override;

    // A name with a scheme of two or more letters ("https:", "mailto:") is a URL; anything
    // else is a local file, used as given. The names in the appointment book are written by
    // every operator of the office, so only documents open: a local file (also as a file:
    // URL) that is regular and, by its name and its content, no program, script or desktop
    // launcher, whatever its mode bits; a URL only for http, https and mailto. Anything else
    // fails without starting anything; a local file that does not exist is also told on the
    // diagnostic output. The launcher's failure, or its crash, comes through `failedLater`.
    OpenResult open(const QString& name, LaterFailure failedLater) override;

    // The launchers started that have not ended yet (tests wait for them).
    int running() const;

private:
    const QString launcher_;
    QObject launches_;  // parent of the launchers still running
};
