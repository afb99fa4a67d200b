// Document opening through the desktop's launcher, for documents and web or mail links only.
#include "platform/qtdocumentopener.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "platform/pathsearch.h"

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

bool isLauncherName(const QString& name) {
    return name.endsWith(QStringLiteral(".desktop"), Qt::CaseInsensitive);
}

// Types the desktop would run rather than open (programs, libraries, scripts, launchers,
// Java and Windows programs), and every type derived from them (Python, Perl, JavaScript...).
bool isRunnable(const QMimeType& type) {
    static const QStringList runnable = {
        QStringLiteral("application/x-executable"),
        QStringLiteral("application/x-pie-executable"),
        QStringLiteral("application/x-sharedlib"),
        QStringLiteral("application/x-shellscript"),
        QStringLiteral("application/x-desktop"),
        QStringLiteral("application/x-ms-dos-executable"),
        QStringLiteral("application/x-msdownload"),
        QStringLiteral("application/vnd.microsoft.portable-executable"),
        QStringLiteral("application/x-msi"),
        QStringLiteral("application/x-ms-shortcut"),
        QStringLiteral("application/x-java-archive"),
        QStringLiteral("application/x-java"),
        QStringLiteral("application/x-java-jnlp-file"),
    };
    return std::any_of(runnable.begin(), runnable.end(),
                       [&type](const QString& name) { return type.inherits(name); });
}

// A name the desktop would take for something to run, whatever the file holds.
bool namesAProgram(const QString& name) {
    if (isLauncherName(name)) return true;
    const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName(name);
    return std::any_of(types.begin(), types.end(), isRunnable);
}

// The first bytes of every ELF file: programs, libraries, objects.
const QByteArray kElfMagic = QByteArrayLiteral("\x7F\x45\x4C\x46");

// A program by its first bytes: an ELF file, a script (#!), any other type the shared MIME
// database says is run, or a desktop launcher (whose first lines may be comments).
bool startsLikeAProgram(QFile& file) {
    const QByteArray start = file.peek(kElfMagic.size());
    if (start == kElfMagic || start.startsWith("#!")) return true;
    if (isRunnable(QMimeDatabase().mimeTypeForData(&file))) return true;
    for (int lines = 0; lines < 64 && !file.atEnd(); ++lines) {
        const QByteArray line = file.readLine(4096).trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        return line == "[Desktop Entry]";
    }
    return false;
}

// A regular file that is no program by its own name, by the name a symbolic link leads to,
// or by its content. Its mode bits say nothing: a Windows share shows every file executable.
bool isDocument(const QFileInfo& info) {
    if (!info.isFile() || namesAProgram(info.fileName())) return false;
    const QFileInfo target(info.canonicalFilePath());
    if (namesAProgram(target.fileName())) return false;
    QFile file(target.filePath());
    return file.open(QIODevice::ReadOnly) && !startsLikeAProgram(file);
}

// The URL of a local file, or an empty one when it must not be opened. A name that leads to
// no file is told on the diagnostic output too, for whoever keeps the appointment book.
QUrl localFileUrl(const QString& name) {
    const QFileInfo info(name);
    if (!info.exists()) {
        qWarning("SCADEX: documento inesistente: %s", qUtf8Printable(name));
        return {};
    }
    return isDocument(info) ? QUrl::fromLocalFile(info.absoluteFilePath()) : QUrl();
}

// The URL to hand to the desktop, or an empty one when the name must not be opened.
QUrl documentUrl(const QString& name) {
    if (name.isEmpty()) return {};
    if (!isUrl(name)) return localFileUrl(name);
    const QUrl url(name);
    const bool localFileUrl = url.isLocalFile() && url.host().isEmpty();
    if (localFileUrl) return documentUrl(url.toLocalFile());
    return isSafeLink(url) ? url : QUrl();
}

}  // namespace

QtDocumentOpener::QtDocumentOpener(QString launcher) : launcher_(std::move(launcher)) {}

// A launcher still running (the viewer it waits for is open) is stopped, its viewer not.
QtDocumentOpener::~QtDocumentOpener() = default;

OpenResult QtDocumentOpener::open(const QString& name, LaterFailure failedLater) {
    const QUrl url = documentUrl(name);
    if (url.isEmpty()) return OpenResult::Failed;
    const QString launcher = launcher_.contains(QLatin1Char('/'))
                                 ? launcher_
                                 : pathsearch::findExecutable(launcher_, qgetenv("PATH"));
    if (launcher.isEmpty())
        return QDesktopServices::openUrl(url) ? OpenResult::Opened : OpenResult::Failed;

    // The launcher may run for as long as the viewer it starts: its end is awaited, not waited
    // for. What it says goes to the diagnostic output, as Qt's own start of it would.
    auto* process = new QProcess(&launches_);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    QObject::connect(
        process, &QProcess::finished, process,
        [process, failedLater = std::move(failedLater)](int status, QProcess::ExitStatus how) {
            // Gone from the running ones before the box a failure may bring.
            process->setParent(nullptr);
            process->deleteLater();
            if ((status != 0 || how != QProcess::NormalExit) && failedLater) failedLater();
        });
    process->start(launcher,
                   {url.isLocalFile() ? url.toLocalFile() : QString::fromUtf8(url.toEncoded())});
    if (process->waitForStarted()) return OpenResult::Opened;
    delete process;
    return OpenResult::Failed;
}

int QtDocumentOpener::running() const {
    return static_cast<int>(launches_.findChildren<QProcess*>().size());
}
