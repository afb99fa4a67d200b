// What the two programs tell each other reads back as it was sent.
#include "reminder/messaggi.h"

#include <gtest/gtest.h>

namespace {

using namespace messaggi;

TEST(Messaggi, ReadBackAsSent) {
    const Apri apri{{-7, 46362.4166666666642, QStringLiteral("V|S\u00e8")}};
    const auto letto = leggiPerScadex(componi(PerScadex{apri}));
    ASSERT_TRUE(letto && std::holds_alternative<Apri>(*letto));
    EXPECT_EQ(std::get<Apri>(*letto).chiave, apri.chiave);  // the serial to the last bit

    const Aree aree{{QRect(-10, 20, 300, 400), QRect(0, 0, 1, 1)}};
    const auto lette = leggiPerAvviso(componi(PerAvviso{aree}));
    ASSERT_TRUE(lette && std::holds_alternative<Aree>(*lette));
    EXPECT_EQ(std::get<Aree>(*lette).finestre, aree.finestre);

    const auto motivo = leggiPerScadex(componi(PerScadex{SuonoFallito{"riga\nseconda"}}));
    ASSERT_TRUE(motivo && std::holds_alternative<SuonoFallito>(*motivo));
    EXPECT_EQ(std::get<SuonoFallito>(*motivo).motivo, "riga seconda");
}

TEST(Messaggi, PlainMessagesKeepTheirOldMeaning) {
    const QString argomento = QStringLiteral("/dati/Gestar.ini|1|1234|VIS|06/12/2026 10:00:00");
    const auto promemoria = leggiPerAvviso(argomento.toUtf8());
    ASSERT_TRUE(promemoria && std::holds_alternative<Promemoria>(*promemoria));
    EXPECT_EQ(std::get<Promemoria>(*promemoria).argomento, argomento);
    const auto secondoAvvio = leggiPerScadex({});
    EXPECT_TRUE(secondoAvvio && std::holds_alternative<Richiama>(*secondoAvvio));
}

TEST(Messaggi, UnknownOrMalformedControlIsIgnored) {
    for (const char* testo : {"ALTRO", "APRI\n12\nVIS", "APRI\nx\nVIS\n1", "SUONO"}) {
        EXPECT_FALSE(leggiPerScadex(QByteArray(1, '\0') + testo)) << testo;
    }
    for (const char* testo : {"ALTRO", "AREE\n1 2 3", "AREE\n1 2 3 x"}) {
        EXPECT_FALSE(leggiPerAvviso(QByteArray(1, '\0') + testo)) << testo;
    }
}

}  // namespace
