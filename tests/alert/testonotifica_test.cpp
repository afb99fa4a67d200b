// The notification of a batch: how many wait, and who, what and when, newest first.
#include "alert/testonotifica.h"

#include <gtest/gtest.h>

#include "gestarprova.h"

namespace {

TEST(TestoNotificaTest, TitleCountsTheWindowsRemindersAndLinesGoNewestFirst) {
    const GestarProva gestar;
    const QList<AvvisoDescritto> lotto = {
        DescriviAvviso(LeggiAvviso(gestar.argomento(2, 1234, "VIS", "06/12/2026 10:00:00"))),
        DescriviAvviso(LeggiAvviso(gestar.argomento(4, 55, "", "07/12/2026"))),
        DescriviAvviso(LeggiAvviso(gestar.argomento(3, 9, "XYZ", "06/12/2026 08:05:00"))),
    };
    const TestoNotifica notifica = TestoNotifica::perLotto(lotto, 5);
    EXPECT_EQ(notifica.titolo, "SCADEX: 5 PROMEMORIA NELLA FINESTRA D'AVVISO");
    EXPECT_EQ(notifica.testo,
              "06/12/2026 08:05 cliente 9 - XYZ\n"
              "07/12/2026 00:00 cliente 55 BIANCHI\n"
              "06/12/2026 10:00 cliente 1234 ROSSI >MARIO ROSSI & C. - VIS Visita");
}

}  // namespace
