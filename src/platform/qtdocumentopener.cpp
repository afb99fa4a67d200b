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

QUrl urlOf(const QString& name) {
    if (isUrl(name)) return QUrl(name);
    if (name.isEmpty()) return {};
    return QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath());
}

}  // namespace

OpenResult QtDocumentOpener::open(const QString& name) {
    const QUrl url = urlOf(name);
    // Nothing is started for a file that is not there.
    if (url.isEmpty() || (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))) {
        return OpenResult::Failed;
    }
    return QDesktopServices::openUrl(url) ? OpenResult::Opened : OpenResult::Failed;
}
