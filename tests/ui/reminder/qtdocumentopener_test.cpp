// "&Documento" through the Qt document opener: documents and web or mail links open, programs
// never do, and a refusal shows the same box as a failed opening.
#include "platform/qtdocumentopener.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QObject>
#include <QUrl>
#include <QtTest/QTest>
#include <functional>

#include "support/fakes.h"
#include "support/tempdir.h"
#include "ui/reminder/apridocumento.h"

namespace {

// Stands in for the desktop: records what would have been opened, for every scheme a
// document name could carry.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder() {
        for (const QString& scheme : schemes_)
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlRecorder() override {
        for (const QString& scheme : schemes_) QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }

private:
    const QStringList schemes_ = {"file", "http", "https", "mailto", "javascript", "ftp", "smb"};
};

QString executable(const TestFolder& folder, const QString& name, const QByteArray& bytes) {
    const QString path = folder.write(name, bytes);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    return path;
}

// As a Windows share shows every file: mode 0755.
QString executableByAll(const TestFolder& folder, const QString& name, const QByteArray& bytes) {
    const QString path = folder.write(name, bytes);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadUser | QFile::WriteUser | QFile::ExeUser |
                                    QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                    QFile::ExeOther);
    return path;
}

// What a case expects: the URL handed to the desktop, or nothing (a refusal with the box).
struct DocumentCase {
    const char* name;
    std::function<QString(const TestFolder&)> document;  // the caption of lbDocumento
    std::function<QUrl(const QString&)> opened;          // empty: refused
};

QUrl asLocalFile(const QString& document) {
    return QUrl::fromLocalFile(document);
}
QUrl asUrl(const QString& document) {
    return QUrl(document);
}
QUrl refused(const QString&) {
    return {};
}

class DocumentoTest : public ::testing::TestWithParam<DocumentCase> {};

TEST_P(DocumentoTest, OpensDocumentsAndRefusesPrograms) {
    TestFolder folder;
    const QString document = GetParam().document(folder);
    const QUrl expected = GetParam().opened(document);
    UrlRecorder desktop;
    QtDocumentOpener opener{QString()};  // Qt's desktop services, which the recorder stands for
    ScriptedMessageBox messages;

    ApriDocumento(document, opener, messages);

    if (expected.isEmpty()) {
        EXPECT_TRUE(desktop.opened.isEmpty()) << desktop.opened.value(0).toString().toStdString();
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].text,
                  "ERRORE DI ESECUZIONE DEL PROGRAMMA  '" + document + "' ");
        EXPECT_EQ(messages.shown[0].title, "ERRORE IN ESECUZIONE DI '" + document + "'");
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
    } else {
        EXPECT_EQ(desktop.opened, QList<QUrl>{expected});
        EXPECT_TRUE(messages.shown.isEmpty());
    }
}

const QByteArray kScript = "#!/bin/sh\ntouch /tmp/scadex-pwned\n";
const QByteArray kElf = QByteArrayLiteral("\x7F\x45\x4C\x46\x02\x01\x01\x00");

INSTANTIATE_TEST_SUITE_P(
    Names, DocumentoTest,
    ::testing::Values(
        DocumentCase{"Pdf",
                     [](const TestFolder& f) {
                         return f.write("referti 2024/esame finale.pdf", "%PDF-1.4");
                     },
                     asLocalFile},
        DocumentCase{"TextFile", [](const TestFolder& f) { return f.write("nota.txt", "ciao"); },
                     asLocalFile},
        DocumentCase{
            "PdfExecutableByAll",
            [](const TestFolder& f) { return executableByAll(f, "referto.pdf", "%PDF-1.4\n"); },
            asLocalFile},
        DocumentCase{"TextExecutableByAll",
                     [](const TestFolder& f) { return executableByAll(f, "nota.txt", "ciao"); },
                     asLocalFile},
        DocumentCase{"ScriptNamedPdf",
                     [](const TestFolder& f) { return f.write("referto.pdf", kScript); }, refused},
        DocumentCase{"ElfWithoutExecuteBit",
                     [](const TestFolder& f) { return f.write("fattura.pdf", kElf); }, refused},
        DocumentCase{"PythonByName",
                     [](const TestFolder& f) { return f.write("report.py", "print(1)\n"); },
                     refused},
        DocumentCase{"WindowsProgram",
                     [](const TestFolder& f) { return f.write("setup.exe", "MZ\x90"); }, refused},
        DocumentCase{"JavaProgram",
                     [](const TestFolder& f) { return f.write("agenda.jar", "PK\x03\x04"); },
                     refused},
        DocumentCase{"LauncherByContent",
                     [](const TestFolder& f) {
                         return f.write("lettera.txt",
                                        "# nota\n\n[Desktop Entry]\nType=Application\nExec=x\n");
                     },
                     refused},
        DocumentCase{"SymlinkToALauncherName",
                     [](const TestFolder& f) {
                         QFile::link(f.write("avvio.desktop", "testo"), f.path("lettera.pdf"));
                         return f.path("lettera.pdf");
                     },
                     refused},
        DocumentCase{
            "BlanksAndQuotes",
            [](const TestFolder& f) { return f.write("l'esame \"finale\" $(x) `y`.txt", "testo"); },
            asLocalFile},
        DocumentCase{"Folder",
                     [](const TestFolder& f) {
                         QDir().mkpath(f.path("referti"));
                         return f.path("referti");
                     },
                     refused},
        DocumentCase{"Executable",
                     [](const TestFolder& f) { return executable(f, "fattura.pdf", kElf); },
                     refused},
        DocumentCase{"ScriptWithoutExecuteBit",
                     [](const TestFolder& f) { return f.write("lettera.txt", kScript); }, refused},
        DocumentCase{"DesktopLauncher",
                     [](const TestFolder& f) {
                         return f.write("Lettera.Desktop",
                                        "[Desktop Entry]\nType=Application\nExec=true\n");
                     },
                     refused},
        DocumentCase{"SymlinkToExecutable",
                     [](const TestFolder& f) {
                         const QString target = executable(f, "nascosto/prog", kScript);
                         QFile::link(target, f.path("lettera.pdf"));
                         return f.path("lettera.pdf");
                     },
                     refused},
        DocumentCase{"SymlinkToDocument",
                     [](const TestFolder& f) {
                         QFile::link(f.write("vero.pdf", "%PDF"), f.path("collegamento.pdf"));
                         return f.path("collegamento.pdf");
                     },
                     asLocalFile},
        DocumentCase{"FileUrlOfDocument",
                     [](const TestFolder& f) {
                         return QUrl::fromLocalFile(f.write("nota.txt", "ciao")).toString();
                     },
                     [](const QString& document) {
                         return QUrl::fromLocalFile(QUrl(document).toLocalFile());
                     }},
        DocumentCase{"FileUrlOfExecutable",
                     [](const TestFolder& f) {
                         return QUrl::fromLocalFile(executable(f, "prog", kScript)).toString();
                     },
                     refused},
        DocumentCase{"Missing", [](const TestFolder& f) { return f.path("manca.doc"); }, refused},
        DocumentCase{"Empty", [](const TestFolder&) { return QString(); }, refused},
        DocumentCase{"Http", [](const TestFolder&) { return QString("http://example.org/a"); },
                     asUrl},
        DocumentCase{"Https",
                     [](const TestFolder&) { return QString("https://example.org/a b?q=1"); },
                     asUrl},
        DocumentCase{"Mailto",
                     [](const TestFolder&) { return QString("mailto:studio@example.org"); }, asUrl},
        DocumentCase{"Javascript", [](const TestFolder&) { return QString("javascript:alert(1)"); },
                     refused},
        DocumentCase{"OtherScheme",
                     [](const TestFolder&) { return QString("smb://server/share/a.pdf"); },
                     refused},
        DocumentCase{"HostPlatformPath",
                     [](const TestFolder&) { return QString("C:\\Documenti\\lettera.doc"); },
                     refused}),
    [](const auto& info) { return std::string(info.param.name); });

// A name that leads to nowhere still gets the box, and is told on standard error with its path
// for whoever keeps the appointment book.
TEST(DocumentoInesistente, IsAlsoToldOnStandardError) {
    TestFolder folder;
    const QString document = folder.path("referti/manca.pdf");
    QtDocumentOpener opener{QString()};
    ScriptedMessageBox messages;
    ::testing::internal::CaptureStderr();
    ApriDocumento(document, opener, messages);
    const QString diagnostica = QString::fromStdString(::testing::internal::GetCapturedStderr());
    EXPECT_EQ(diagnostica, "SCADEX: documento inesistente: " + document + "\n");
    EXPECT_EQ(messages.shown.size(), 1);
}

// The desktop's launcher, as xdg-open: it gets the document and ends with a failure status when
// no program opens it, which the operator must see in the box.
struct LaunchCase {
    const char* name;
    std::function<QString(const TestFolder&)> document;
    int status;  // the launcher's; -1: it crashes
    std::function<QString(const QString&)> argument;
};

class LauncherTest : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(LauncherTest, ItsFailureIsShownInTheBox) {
    TestFolder folder;
    const QString document = GetParam().document(folder);
    const QString received = folder.path("ricevuto");
    const QString end =
        GetParam().status < 0 ? "kill -KILL $$" : "exit " + QString::number(GetParam().status);
    const QString launcher = executable(
        folder, "apri",
        ("#!/bin/sh\nprintf '%s\\n' \"$@\" >'" + received + "'\n" + end + "\n").toUtf8());
    UrlRecorder desktop;
    QtDocumentOpener opener(launcher);
    ScriptedMessageBox messages;

    ApriDocumento(document, opener, messages);
    ASSERT_TRUE(QTest::qWaitFor([&] { return opener.running() == 0; }, 60000));

    EXPECT_TRUE(desktop.opened.isEmpty());
    EXPECT_EQ(TestFolder::read(received), (GetParam().argument(document) + "\n").toUtf8());
    if (GetParam().status == 0) {
        EXPECT_TRUE(messages.shown.isEmpty());
    } else {
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].text,
                  "ERRORE DI ESECUZIONE DEL PROGRAMMA  '" + document + "' ");
    }
}

QString asIs(const QString& document) {
    return document;
}
QString encoded(const QString& document) {
    return QString::fromUtf8(QUrl(document).toEncoded());
}
QString pdf(const TestFolder& folder) {
    return folder.write("referti 2024/esame finale.pdf", "%PDF-1.4");
}

INSTANTIATE_TEST_SUITE_P(Outcomes, LauncherTest,
                         ::testing::Values(LaunchCase{"Opens", pdf, 0, asIs},
                                           LaunchCase{"OpensALink",
                                                      [](const TestFolder&) {
                                                          return QString(
                                                              "https://example.org/a b?q=1");
                                                      },
                                                      0, encoded},
                                           LaunchCase{"NoProgramForTheType", pdf, 3, asIs},
                                           LaunchCase{"Crashes", pdf, -1, asIs}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

#include "qtdocumentopener_test.moc"
