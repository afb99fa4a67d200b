// The reminder window driven offscreen: what it shows, its keys, buttons and document.
#include "ui/reminder/gesprome.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "db/schema.h"
#include "reminderworkspace.h"
#include "support/fakes.h"
#include "util/regionalformats.h"

namespace schema = db::schema;

namespace {

const ChiavePromemoria kKey =
    keyOf(1234, QDateTime(QDate(2024, 3, 15), QTime(10, 30)), QStringLiteral("VIS"));
const QString kDocument = QStringLiteral("/archivio/referti 2024/esame.pdf");

class GesPromeTest : public ::testing::Test {
protected:
    void SetUp() override {
        workspace.addClient(1234, QString("ROSSI"), QString("MARIO ROSSI & C."));
        workspace.addAction("VIS", QString("Visita"), 255);
        workspace.add({kKey, 90.0, QVariant(), QString("Controllo"), kDocument});
    }

    // Shows the reminder of `window`, runs `whileOpen` on the open window and closes the
    // window if that did not; true when `whileOpen` closed it.
    static bool show(GesProme& window, const std::function<void()>& whileOpen) {
        bool closed = false;
        QTimer::singleShot(0, &window, [&] {
            whileOpen();
            closed = !window.isVisible();
            if (!closed) window.reject();
        });
        window.exec();
        return closed;
    }
    bool show(const std::function<void()>& whileOpen) { return show(window, whileOpen); }

    template <typename T>
    T* child(const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        if (!found) ADD_FAILURE() << "no control " << name;
        return found;
    }
    QString text(const char* label) { return child<QLabel>(label)->text(); }
    void click(const char* button) { child<QPushButton>(button)->click(); }

    QVariant appointment(const QString& field) { return workspace.appointmentField(kKey, field); }

    FakePlatform fakes;
    PlatformServices services = fakes.services();
    ReminderWorkspace workspace;
    GesProme window{*workspace.visiteDb, *workspace.workDb, services, kKey};
};

TEST_F(GesPromeTest, ShowsTheReminder) {
    show([&] {
        EXPECT_EQ(window.windowTitle(), " APPUNTAMENTO 15/03 10:30-Controllo");
        EXPECT_EQ(text("lbCliCod"), "1234");
        EXPECT_EQ(text("lbCliDes"), "ROSSI >MARIO ROSSI & C.");
        EXPECT_EQ(text("lbAziCod"), "VIS");
        EXPECT_EQ(text("LbAziDes"), "Visita");
        EXPECT_EQ(child<QLabel>("LbAziDes")->palette().color(QPalette::WindowText),
                  QColor(255, 0, 0));
        EXPECT_EQ(child<QLabel>("lbAziCod")->palette().color(QPalette::WindowText),
                  QColor(255, 0, 0));
        EXPECT_EQ(text("lbScadDD"), "15/03/24");
        EXPECT_EQ(text("lbScadHH"), "10:30");
        EXPECT_EQ(child<QLineEdit>("Txt(1)")->text(), "1,5");
        EXPECT_EQ(child<QComboBox>("cmbAllarm")->currentText(), "ore");
        EXPECT_EQ(text("lbSveglia"), QString::fromUtf8("VENERDÌ\n15/03/24  09:00"));
        EXPECT_EQ(text("lbDocumento"), kDocument);
        EXPECT_TRUE(child<QPushButton>("cmdDocumento")->isVisible());
        EXPECT_TRUE(child<QPushButton>("Command1")->isVisible());
        EXPECT_EQ(window.focusWidget(), child<QPushButton>("cmdCli(2)"));
    });
}

TEST_F(GesPromeTest, LaysOutInTwipsAndCentresOnTheScreen) {
    fakes.screen.dpi = 144;  // 10 twips a pixel
    fakes.screen.area = QRect(0, 0, 1920, 1080);
    GesProme large(*workspace.visiteDb, *workspace.workDb, services, kKey);
    EXPECT_EQ(large.size(), QSize(768, 296));
    EXPECT_EQ(large.findChild<QLabel*>("lbCliDes")->geometry(), QRect(185, 5, 578, 29));
    EXPECT_EQ(large.findChild<QLineEdit*>("Txt(1)")->geometry(), QRect(9, 27, 74, 36));
    QTimer::singleShot(0, &large, [&] {
        EXPECT_EQ(large.pos(), QPoint((1920 - 768) / 2, (1080 - 296) / 2));
        large.reject();
    });
    large.exec();
}

TEST_F(GesPromeTest, TabOrderStartsAtUscitaAndEndsWithX) {
    QStringList order;
    QWidget* first = child<QPushButton>("cmdCli(2)");
    QWidget* widget = first;
    do {
        if (widget->focusPolicy() & Qt::TabFocus) order.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != first);
    EXPECT_EQ(order, QStringList({"cmdCli(2)", "cmdDocumento", "Txt(1)", "cmbAllarm", "cmdCli(0)",
                                  "cmdCli(1)", "Command1"}));
}

struct CommandCase {
    const char* name;
    const char* button;
    const char* typed;  // nullptr: the amount is left as shown
    Comando comando;
    double allarm;
    QVariant wait;  // invalid: no reminder row left
};

class CommandTest : public GesPromeTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTest, AnswersAndCloses) {
    EXPECT_TRUE(show([&] {
        if (GetParam().typed) child<QLineEdit>("Txt(1)")->setText(GetParam().typed);
        click(GetParam().button);
    }));
    EXPECT_EQ(window.comandoScelto(), GetParam().comando);
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), GetParam().allarm);
    EXPECT_EQ(workspace.reminderField(kKey, schema::kPmWait), GetParam().wait);
}

INSTANTIATE_TEST_SUITE_P(Buttons, CommandTest,
                         ::testing::Values(CommandCase{"Imposta", "cmdCli(0)", "2",
                                                       Comando::ImpostaAvviso, 120, QString(" ")},
                                           // "1,5" hours read back whatever the desktop's locale.
                                           CommandCase{"ImpostaUnchanged", "cmdCli(0)", nullptr,
                                                       Comando::ImpostaAvviso, 90, QString(" ")},
                                           CommandCase{"NonAvvisare", "cmdCli(1)", "2",
                                                       Comando::NonAvvisarePiu, 0, QVariant()},
                                           CommandCase{"Uscita", "cmdCli(2)", "2", Comando::Uscita,
                                                       90, QString("S")}),
                         [](const auto& info) { return std::string(info.param.name); });

struct F2Case {
    const char* name;
    const char* control;
    Qt::KeyboardModifiers modifiers;
};

class F2Test : public GesPromeTest, public ::testing::WithParamInterface<F2Case> {};

TEST_P(F2Test, ClosesWithoutACommand) {
    EXPECT_TRUE(show([&] {
        child<QLineEdit>("Txt(1)")->setText("5");
        QWidget* control = window.objectName() == GetParam().control
                               ? &window
                               : window.findChild<QWidget*>(GetParam().control);
        QTest::keyClick(control, Qt::Key_F2, GetParam().modifiers);
    }));
    EXPECT_EQ(window.comandoScelto(), std::nullopt);
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 90);
    EXPECT_EQ(workspace.reminderField(kKey, schema::kPmWait).toString(), "S");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, F2Test,
    ::testing::Values(F2Case{"OnUscita", "cmdCli(2)", Qt::NoModifier},
                      F2Case{"InTheAmountWithShift", "Txt(1)", Qt::ShiftModifier},
                      F2Case{"OnTheUnitWithControl", "cmbAllarm", Qt::ControlModifier},
                      F2Case{"OnTheWindowWithAlt", "GesProme", Qt::AltModifier}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GesPromeTest, F2ClosesWhileTheUnitListIsOpen) {
    EXPECT_TRUE(show([&] {
        auto* unita = child<QComboBox>("cmbAllarm");
        unita->showPopup();
        QTest::keyClick(unita->view(), Qt::Key_F2);
    }));
    EXPECT_EQ(window.comandoScelto(), std::nullopt);
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 90);
}

struct EnterCase {
    const char* name;
    const char* control;
};

class EnterTest : public GesPromeTest, public ::testing::WithParamInterface<EnterCase> {};

// Enter belongs to the controls: it never answers the reminder, closes the window or opens
// the document, whichever control has the focus.
TEST_P(EnterTest, PressesNoButton) {
    EXPECT_FALSE(show([&] {
        child<QLineEdit>("Txt(1)")->setText("2");
        QWidget* control = window.findChild<QWidget*>(GetParam().control);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(child<QLineEdit>("Txt(1)")->text(), "2");
    }));
    EXPECT_EQ(window.comandoScelto(), std::nullopt);
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 90);
    EXPECT_TRUE(fakes.documents.opened.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Keys, EnterTest,
                         ::testing::Values(EnterCase{"InTheAmount", "Txt(1)"},
                                           EnterCase{"OnTheUnit", "cmbAllarm"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FailedAnswerCase {
    const char* name;
    const char* button;
    double allarm;
};

class FailedAnswerTest : public GesPromeTest,
                         public ::testing::WithParamInterface<FailedAnswerCase> {};

// A write the database refuses (a lock held too long, a row the host moved) leaves the window
// open with the operator's answer in it, so that it can be given again.
TEST_P(FailedAnswerTest, IsToldAndCanBeGivenAgain) {
    EXPECT_TRUE(show([&] {
        child<QLineEdit>("Txt(1)")->setText("2");
        workspace.visite().exec("UPDATE Appuntamenti SET ApData = ApData + 1");
        click(GetParam().button);
        EXPECT_TRUE(window.isVisible()) << "closed as if saved";
        ASSERT_EQ(fakes.messages.shown.size(), 1);
        EXPECT_EQ(fakes.messages.shown[0].text,
                  "RISPOSTA NON SALVATA: ARCHIVIO OCCUPATO O MODIFICATO. RIPROVARE.");
        EXPECT_EQ(fakes.messages.shown[0].icon, MessageIcon::Stop);
        EXPECT_EQ(child<QLineEdit>("Txt(1)")->text(), "2");
        workspace.visite().exec("UPDATE Appuntamenti SET ApData = ApData - 1");
        click(GetParam().button);
    }));
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), GetParam().allarm);
    EXPECT_EQ(fakes.messages.shown.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Buttons, FailedAnswerTest,
                         ::testing::Values(FailedAnswerCase{"Imposta", "cmdCli(0)", 120},
                                           FailedAnswerCase{"NonAvvisare", "cmdCli(1)", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// After "&NON AVVISARE PIU'" the list still shows the line, or a rebuild removed the row: the
// window shows no document, and setting a new alarm must not take it from the appointment.
TEST_F(GesPromeTest, ImpostaAvvisoKeepsTheDocumentWhenTheReminderRowIsMissing) {
    workspace.work().exec("DELETE FROM Promemoria");
    EXPECT_TRUE(show([&] {
        EXPECT_FALSE(child<QLabel>("lbDocumento")->isVisible());
        click("cmdCli(0)");
    }));
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 90);
    EXPECT_EQ(appointment(schema::kApDocumento).toString(), kDocument);
}

class ShowingTest : public GesPromeTest, public ::testing::WithParamInterface<const char*> {};

// However the window is shown, it loads its reminder, and its answers work.
TEST_P(ShowingTest, LoadsTheReminder) {
    if (QString(GetParam()) == "Open") {
        window.open();
    } else {
        window.show();
    }
    ASSERT_EQ(text("lbCliCod"), "1234");
    EXPECT_EQ(text("lbDocumento"), kDocument);
    child<QLineEdit>("Txt(1)")->setText("2");
    click("cmdCli(0)");
    EXPECT_FALSE(window.isVisible());
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 120);
}

INSTANTIATE_TEST_SUITE_P(Ways, ShowingTest, ::testing::Values("Open", "Show"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(GesPromeTest, EscapeDoesNotClose) {
    EXPECT_FALSE(show([&] { QTest::keyClick(child<QPushButton>("cmdCli(2)"), Qt::Key_Escape); }));
}

struct DetachCase {
    const char* name;
    const char* button;
    QString stored;
};

class DetachTest : public GesPromeTest, public ::testing::WithParamInterface<DetachCase> {};

TEST_P(DetachTest, OnlyImpostaAvvisoMakesItPermanent) {
    show([&] {
        click("Command1");
        EXPECT_EQ(text("lbDocumento"), "");
        EXPECT_TRUE(child<QLabel>("lbDocumento")->isVisible());
        click(GetParam().button);
    });
    EXPECT_EQ(appointment(schema::kApDocumento).toString(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Buttons, DetachTest,
                         ::testing::Values(DetachCase{"Imposta", "cmdCli(0)", ""},
                                           DetachCase{"NonAvvisare", "cmdCli(1)", kDocument},
                                           DetachCase{"Uscita", "cmdCli(2)", kDocument}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GesPromeTest, DocumentoOpensTheNameAsShown) {
    EXPECT_FALSE(show([&] { click("cmdDocumento"); }));
    EXPECT_EQ(fakes.documents.opened, QStringList{kDocument});
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_F(GesPromeTest, DetachedDocumentOpensAnEmptyName) {
    fakes.documents.result = OpenResult::Failed;
    EXPECT_FALSE(show([&] {
        click("Command1");
        click("cmdDocumento");
    }));
    EXPECT_EQ(fakes.documents.opened, QStringList{""});
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].title, "ERRORE IN ESECUZIONE DI ''");
}

class BlankDocumentTest : public GesPromeTest, public ::testing::WithParamInterface<QVariant> {};

TEST_P(BlankDocumentTest, HidesTheDocumentControls) {
    workspace.work().exec("UPDATE Promemoria SET PmDocumento = ?", {GetParam()});
    show([&] {
        EXPECT_EQ(text("lbDocumento"), " ");
        for (const char* name : {"cmdDocumento", "Command1", "lbDocumento"}) {
            EXPECT_FALSE(window.findChild<QWidget*>(name)->isVisible()) << name;
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Documents, BlankDocumentTest,
                         ::testing::Values(QVariant(), QString(""), QString("   ")),
                         [](const auto& info) {
                             if (info.param.isNull()) return std::string("Null");
                             return info.param.toString().isEmpty() ? std::string("Empty")
                                                                    : std::string("Blanks");
                         });

struct TypingCase {
    const char* name;
    RegionalFormats formats;
    const char* typed;
    const char* shown;
};

class TypingTest : public GesPromeTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(TypingTest, DecimalKeysTypeTheSeparatorAndFiveCharactersAtMost) {
    const ScopedRegionalFormats formats(GetParam().formats);
    show([&] {
        auto* amount = child<QLineEdit>("Txt(1)");
        amount->selectAll();
        QTest::keyClicks(amount, GetParam().typed);
        EXPECT_EQ(amount->text(), GetParam().shown);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TypingTest,
    ::testing::Values(TypingCase{"FullStopTypesComma", RegionalFormats::italian(), "1.5", "1,5"},
                      TypingCase{"CommaStays", RegionalFormats::italian(), "1,5", "1,5"},
                      TypingCase{"CommaTypesFullStop", RegionalFormats::decimalPoint(), "1,5",
                                 "1.5"},
                      TypingCase{"FiveCharacters", RegionalFormats::italian(), "1234567", "12345"}),
    [](const auto& info) { return std::string(info.param.name); });

// The limit holds for pasted text as for typed text; a longer lead shown at load can still
// be shortened.
TEST_F(GesPromeTest, PastingObeysTheFiveCharacterLimit) {
    show([&] {
        auto* amount = child<QLineEdit>("Txt(1)");
        QGuiApplication::clipboard()->setText("1234567");
        amount->selectAll();
        amount->paste();
        EXPECT_EQ(amount->text(), "1,5");
        QGuiApplication::clipboard()->setText("12");
        amount->setCursorPosition(3);
        amount->paste();
        EXPECT_EQ(amount->text(), "1,512");
        amount->paste();
        EXPECT_EQ(amount->text(), "1,512");
        amount->setText("23,9833333333333");
        amount->end(false);
        QTest::keyClick(amount, Qt::Key_Backspace);
        EXPECT_EQ(amount->text(), "23,983333333333");
    });
}

TEST_F(GesPromeTest, EnteringTheAmountSelectsIt) {
    show([&] {
        auto* amount = child<QLineEdit>("Txt(1)");
        amount->setCursorPosition(1);
        QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(amount, &focus);
        QApplication::processEvents();
        EXPECT_EQ(amount->selectedText(), "1,5");
    });
}

TEST_F(GesPromeTest, OtherConnectionsWriteBothFilesWhileItIsOpen) {
    const ChiavePromemoria other = keyOf(99, QDateTime(QDate(2024, 3, 16), QTime(8, 0)), "TEL");
    EXPECT_TRUE(show([&] {
        workspace.add({other, 15.0});
        workspace.visite().exec("UPDATE Appuntamenti SET ApNote = 'host' WHERE ApCliente = 1234");
        click("cmdCli(0)");
    }));
    EXPECT_TRUE(workspace.reminderExists(other));
    EXPECT_EQ(appointment(schema::kApNote).toString(), "host");
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 90);
}

// A key whose appointment and reminder are gone (a rebuild since the list was made) shows
// empty boxes.
TEST_F(GesPromeTest, AKeyWithoutItsRowsShowsEmptyBoxes) {
    const ChiavePromemoria missing = keyOf(5, QDateTime(QDate(2024, 3, 16), QTime(8, 0)), "TEL");
    GesProme other(*workspace.visiteDb, *workspace.workDb, services, missing);
    const auto label = [&](const char* name) { return other.findChild<QLabel*>(name); };
    show(other, [&] {
        EXPECT_EQ(label("lbCliDes")->text(), "");
        EXPECT_EQ(label("LbAziDes")->text(), "") << "no note, no action";
        EXPECT_EQ(label("lbScadDD")->text(), "");
        EXPECT_EQ(label("lbSveglia")->text(), "");
        EXPECT_EQ(other.findChild<QLineEdit*>("Txt(1)")->text(), "0");
        EXPECT_EQ(other.findChild<QComboBox*>("cmbAllarm")->currentIndex(), 0);
        EXPECT_EQ(label("LbAziDes")->palette().color(QPalette::WindowText), QColor(Qt::black));
        EXPECT_FALSE(other.findChild<QPushButton*>("cmdDocumento")->isVisible());
        EXPECT_EQ(other.windowTitle(), " APPUNTAMENTO 16/03 08:00-");
    });
}

TEST_F(GesPromeTest, LoadErrorsReachTheCaller) {
    workspace.workDb->execute("DROP TABLE TabAzioni");
    EXPECT_THROW(window.exec(), db::DbError);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
