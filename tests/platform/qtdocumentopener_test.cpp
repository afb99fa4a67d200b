// The Qt document opener: which names become URLs, which local files, and what is refused.
#include "platform/qtdocumentopener.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include "support/tempdir.h"

namespace {

// Stands in for the desktop: records what would have been opened.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    explicit UrlRecorder(const QStringList& schemes) : schemes_(schemes) {
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
    QStringList schemes_;
};

TEST(QtDocumentOpener, LocalFileWithBlanksOpensAsIs) {
    TestFolder folder;
    const QString file = folder.write("referti 2024/esame finale.pdf", "%PDF");
    UrlRecorder desktop({"file"});
    EXPECT_EQ(QtDocumentOpener().open(file), OpenResult::Opened);
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(desktop.opened[0].toLocalFile(), file);
}

TEST(QtDocumentOpener, UrlGoesToItsScheme) {
    UrlRecorder desktop({"https", "mailto"});
    QtDocumentOpener opener;
    EXPECT_EQ(opener.open("https://example.org/a b"), OpenResult::Opened);
    EXPECT_EQ(opener.open("mailto:studio@example.org"), OpenResult::Opened);
    ASSERT_EQ(desktop.opened.size(), 2);
    EXPECT_EQ(desktop.opened[0].host(), "example.org");
    EXPECT_EQ(desktop.opened[1].scheme(), "mailto");
}

class MissingDocumentTest : public ::testing::TestWithParam<QString> {};

TEST_P(MissingDocumentTest, FailsWithoutStartingAnything) {
    UrlRecorder desktop({"file"});
    EXPECT_EQ(QtDocumentOpener().open(GetParam()), OpenResult::Failed);
    EXPECT_TRUE(desktop.opened.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Names, MissingDocumentTest,
                         ::testing::Values(QString(""), QString(" "),
                                           QString("/no/such/folder/lettera.doc"),
                                           QString("C:\\Documenti\\lettera.doc"),
                                           QString("file:///no/such/lettera.doc")));

}  // namespace

#include "qtdocumentopener_test.moc"
