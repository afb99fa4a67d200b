// QDesktopServices-based document opening.
#include "platform/qtdocumentopener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {

// One-letter schemes are drive letters of names written for the host's platform.
bool isUrl(const QString& name) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(name).hasMatch();
}

}  // namespace

OpenResult QtDocumentOpener::open(const QString& name) {
    QUrl url;
    if (isUrl(name)) {
        url = QUrl(name);
    } else {
        const QFileInfo file(name);
        // Nothing is started for a file that is not there.
        if (name.isEmpty() || !file.exists()) return OpenResult::Failed;
        url = QUrl::fromLocalFile(file.absoluteFilePath());
    }
    return QDesktopServices::openUrl(url) ? OpenResult::Opened : OpenResult::Failed;
}
