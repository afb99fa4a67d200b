// QDesktopServices-based document opening, for documents and web or mail links only.
#include "platform/qtdocumentopener.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {

// One-letter schemes are drive letters of names written for the host's platform.
bool isUrl(const QString& name) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(name).hasMatch();
}

// Links the desktop hands to a browser or a mail program, never to something it would run.
bool isSafeLink(const QUrl& url) {
    static const QStringList schemes = {QStringLiteral("http"), QStringLiteral("https"),
                                        QStringLiteral("mailto")};
    return url.isValid() && schemes.contains(url.scheme().toLower());
}

bool isLauncherName(const QString& path) {
    return path.endsWith(QStringLiteral(".desktop"), Qt::CaseInsensitive);
}

// A script (#!) or a desktop launcher by its content; what the desktop might run whatever
// the name says. The first lines are enough: launchers may only open with comments.
bool startsLikeAProgram(QFile& file) {
    if (file.peek(2) == "#!") return true;
    for (int lines = 0; lines < 64 && !file.atEnd(); ++lines) {
        const QByteArray line = file.readLine(4096).trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        return line == "[Desktop Entry]";
    }
    return false;
}

// A regular file that nobody may execute and that is neither a script nor a launcher, by
// its own name, by the name a symbolic link leads to, and by its first lines.
bool isDocument(const QFileInfo& info) {
    constexpr QFile::Permissions kExecute = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    if (!info.isFile() || (info.permissions() & kExecute) != 0) return false;
    if (isLauncherName(info.fileName()) || isLauncherName(info.canonicalFilePath())) {
        return false;
    }
    QFile file(info.absoluteFilePath());
    return file.open(QIODevice::ReadOnly) && !startsLikeAProgram(file);
}

// The URL to hand to the desktop, or an empty one when the name must not be opened.
QUrl documentUrl(const QString& name) {
    if (name.isEmpty()) return {};
    if (!isUrl(name)) {
        const QFileInfo info(name);
        return isDocument(info) ? QUrl::fromLocalFile(info.absoluteFilePath()) : QUrl();
    }
    const QUrl url(name);
    const bool localFileUrl = url.isLocalFile() && url.host().isEmpty();
    if (localFileUrl) return documentUrl(url.toLocalFile());
    return isSafeLink(url) ? url : QUrl();
}

}  // namespace

OpenResult QtDocumentOpener::open(const QString& name) {
    const QUrl url = documentUrl(name);
    if (url.isEmpty()) return OpenResult::Failed;
    return QDesktopServices::openUrl(url) ? OpenResult::Opened : OpenResult::Failed;
}
