// Qt's standard texts in Italian once the translations are loaded.
#include "platform/gui/qttranslations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

namespace {

TEST(QtTranslationsTest, StandardButtonsReadSiAndNo) {
    ASSERT_TRUE(loadQtTranslations(*QCoreApplication::instance()));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QString::fromUtf8("&Sì"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("&No"));
    // The other tests of this program expect Qt's own texts.
    qDeleteAll(qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
}

}  // namespace
