// The rebuild and the poll against a plain model of their row-by-row algorithm, written here,
// on generated appointment books on each engine; and the rebuild of a few rows written against
// the rebuild that reads the whole book.
#include <gtest/gtest.h>

#include <QHash>
#include <QRandomGenerator>
#include <algorithm>

#include "db/database.h"
#include "reminder/argomentoavviso.h"
#include "scan/controllopromemoria.h"
#include "scan/selezionaappuntamenti.h"
#include "scan/selezionetenuta.h"
#include "support/engineworkspace.h"
#include "support/fakes.h"
#include "util/dateserial.h"
#include "util/texts.h"
#include "util/valori.h"

namespace {

constexpr int kLibri = 300;
constexpr double kOggi = 46362;  // 6 December 2026: the clock's day
const QDateTime kAdesso(QDate(2026, 12, 6), QTime(10, 0));

// The rebuild's own selection, with each row's identity first.
const QString kSelezione = QStringLiteral(
    "SELECT rowid AS riga, ApCliente, ApData, ApAzione, ApAllarm, ApNote, ApCausa, ApDocumento "
    "FROM Appuntamenti WHERE ((ApData >= 46362) AND (ApAllarm > 0) AND (ApDelete < 'S') AND "
    "(ApStato = 'A')) ORDER BY rowid");

struct Promemoria {
    qint32 cliente;
    double data;
    QString azione;
    double allarme;
    QString attesa;
    QString documento;

    QString testo() const {
        return QStringLiteral("%1|%2|%3|%4|%5|%6")
            .arg(cliente)
            .arg(data, 0, 'g', 17)
            .arg(azione)
            .arg(allarme, 0, 'g', 17)
            .arg(attesa, documento);
    }
    // Key order: client, moment, action without regard to case.
    bool operator<(const Promemoria& altro) const {
        if (cliente != altro.cliente) return cliente < altro.cliente;
        if (data != altro.data) return data < altro.data;
        return azione.compare(altro.azione, Qt::CaseInsensitive) < 0;
    }
};

// Lines one per row, for a readable failure.
std::string inRighe(const QStringList& righe) {
    return righe.join(QLatin1Char('\n')).toStdString();
}

// The rows in any order.
std::string testi(const QList<Promemoria>& tabella) {
    QStringList righe;
    for (const Promemoria& riga : tabella) righe.append(riga.testo());
    righe.sort();
    return inRighe(righe);
}

// What the row-by-row rebuild leaves: the table, the two lists, the rows it named as unreadable.
struct Modello {
    QList<Promemoria> tabella;
    QStringList righe;
    QList<ChiavePromemoria> chiavi;
    QList<qint64> illeggibili;
};

// One appointment read as the rebuild reads it; throws ConversionError when it cannot be.
void leggi(const QVariantList& campi, Modello& modello) {
    const qint32 cliente = InteroLungo(campi[1]);
    const QString note = ValoreTesto(campi[5]);
    const QString causa = ValoreTesto(campi[6]).left(50).leftJustified(50);
    const double momento = ValoreNumero(campi[2]);
    const QString azione = texts::trimSpaces(ValoreTesto(campi[3]).left(6).leftJustified(6));
    const double allarme = momento - texts::roundFourDecimals(ValoreNumero(campi[4]) / 1440);
    const QString riga = texts::ddmmyyhhnn(momento) + QLatin1Char(' ') +
                         (cliente < 9999999 ? AllineaDestra(cliente, 7) : QString(7, ' ')) +
                         QLatin1Char(' ') + causa + QLatin1Char(' ') + note;
    modello.righe.append(riga);
    modello.chiavi.append({cliente, momento, azione});
    // The seek "=": the client, the moment to the second, the action without regard to case.
    const auto trovata =
        std::find_if(modello.tabella.begin(), modello.tabella.end(), [&](const Promemoria& p) {
            return p.cliente == cliente && dateserial::sameSecond(p.data, momento) &&
                   p.azione.compare(azione, Qt::CaseInsensitive) == 0;
        });
    const QString documento = ValoreTesto(campi[7]);
    if (trovata == modello.tabella.end()) {
        modello.tabella.append({cliente, momento, azione, allarme, QStringLiteral(" "), documento});
    } else {
        trovata->allarme = allarme;
        trovata->attesa = QStringLiteral(" ");
        trovata->documento = documento;
    }
}

Modello ricostruzione(DirectSql& visite) {
    Modello modello;
    for (const QVariantList& campi : visite.rows(kSelezione)) {
        try {
            leggi(campi, modello);
        } catch (const ConversionError&) {
            modello.illeggibili.append(campi[0].toLongLong());
        }
    }
    return modello;
}

// The walk in key order from client 0 on: marks and hands over what is due at `adesso`.
QStringList poll(QList<Promemoria>& tabella, double adesso, const QString& fileIni) {
    int inAttesa = static_cast<int>(std::count_if(tabella.begin(), tabella.end(), [](auto& p) {
        return p.attesa.compare(QStringLiteral("S"), Qt::CaseInsensitive) == 0;
    }));
    std::sort(tabella.begin(), tabella.end());
    QStringList consegne;
    for (Promemoria& p : tabella) {
        if (p.cliente < 0 || adesso < p.allarme || p.attesa == QStringLiteral("S")) continue;
        p.attesa = QStringLiteral("S");
        const ArgomentoAvviso avviso{fileIni, ++inAttesa, p.cliente, texts::trimSpaces(p.azione),
                                     p.data};
        consegne.append(avviso.componi());
    }
    return consegne;
}

// One appointment of a generated book: a few clients, a few moments (some the same second but
// for a fraction of one), actions that share their first six characters, blanks, Nulls, and
// rows the rebuild leaves out or cannot read.
QVariantList appuntamentoACaso(QRandomGenerator& caso) {
    const auto uno = [&](const QVariantList& scelte) {
        return scelte[caso.bounded(static_cast<int>(scelte.size()))];
    };
    const QVariantList clienti{1, 2, 3, 9999999, -4, QVariant()};
    const QVariantList momenti{kOggi - 0.6, kOggi + 0.1, kOggi + 0.42, kOggi + 1.5, kOggi + 3};
    const QVariantList frazioni{0.0, 1e-9, -1e-9, 0.2 / 86400, -0.2 / 86400};
    const QVariantList azioni{"VIS", "vis",      " VIS  ", "CONTROLLO1", "controllo2",
                              "A B", "ABCDEFGH", "",       "   ",        QVariant()};
    const QVariantList allarmi{30, 60, 90, 1440, 7.5, 0, QVariant()};
    const QVariantList note{QVariant(), "", "  ", "nota", "Portare i referti"};
    const QVariantList cause{QVariant(), "Visita", QString(60, 'c')};
    const QVariantList documenti{QVariant(), "", " ", "C:\\DOC\\a b.pdf"};
    QVariant data = uno(momenti).toDouble() + uno(frazioni).toDouble();
    if (caso.bounded(30) == 0) data = 3e6;  // beyond the calendar
    return {uno(clienti),
            data,
            uno(azioni),
            uno(allarmi),
            uno({"N", "n", "S", {}}),
            uno({"A", "a", "B", {}}),
            uno(note),
            uno(cause),
            uno(documenti)};
}

const QString kCampi = QStringLiteral(
    "ApCliente, ApData, ApAzione, ApAllarm, ApDelete, ApStato, ApNote, ApCausa, ApDocumento");

// Adds an appointment unless it repeats the book's own key; returns its rowid, if added.
QList<QVariantList> aggiungi(DirectSql& visite, QRandomGenerator& caso) {
    return visite.rows(QStringLiteral("INSERT INTO Appuntamenti (%1) VALUES (?, ?, ?, ?, ?, ?, "
                                      "?, ?, ?) ON CONFLICT DO NOTHING RETURNING rowid")
                           .arg(kCampi),
                       appuntamentoACaso(caso));
}

// A book of generated appointments; the book's own key is unique.
void scriviLibro(DirectSql& visite, Engine engine, quint32 seme) {
    QRandomGenerator caso(seme);
    visite.exec(QStringLiteral("DELETE FROM Appuntamenti"));
    const int quanti = caso.bounded(40);
    for (int i = 0; i < quanti; ++i) aggiungi(visite, caso);
    // Only SQLite keeps a text in a date column.
    if (engine == Engine::Sqlite && caso.bounded(4) == 0)
        visite.exec(
            QStringLiteral("UPDATE Appuntamenti SET ApData = '31/02/2026' WHERE rowid = "
                           "(SELECT min(rowid) FROM Appuntamenti)"));
}

// A few of the host's writes to the book: appointments added, rewritten, deleted. Returns the
// rowids written, as the book's trigger tells them.
std::vector<qint64> scriviACaso(DirectSql& visite, quint32 seme) {
    QRandomGenerator caso(seme * 7919);
    std::vector<qint64> scritte;
    for (int scrittura = caso.bounded(1, 8); scrittura > 0; --scrittura) {
        const QList<QVariantList> righe =
            visite.rows(QStringLiteral("SELECT rowid FROM Appuntamenti"));
        const int tipo = righe.isEmpty() ? 0 : caso.bounded(3);
        if (tipo == 0) {
            for (const QVariantList& riga : aggiungi(visite, caso))
                scritte.push_back(riga[0].toLongLong());
            continue;
        }
        const qint64 rowid = righe[caso.bounded(static_cast<int>(righe.size()))][0].toLongLong();
        scritte.push_back(rowid);
        if (tipo == 1) {
            visite.exec(QStringLiteral("DELETE FROM Appuntamenti WHERE rowid = ?"), {rowid});
            continue;
        }
        try {
            visite.exec(QStringLiteral("UPDATE Appuntamenti SET (%1) = (?, ?, ?, ?, ?, ?, ?, ?, "
                                       "?) WHERE rowid = ?")
                            .arg(kCampi),
                        appuntamentoACaso(caso) << rowid);
        } catch (const std::exception&) {
            // Another appointment has that key: the host's write fails, and changes nothing.
        }
    }
    return scritte;
}

// The diagnostic lines written while it lives.
class Diagnostiche {
public:
    Diagnostiche() { precedente_ = qInstallMessageHandler(&registra); }
    ~Diagnostiche() { qInstallMessageHandler(precedente_); }
    static QStringList& righe() {
        static QStringList scritte;
        return scritte;
    }

private:
    static void registra(QtMsgType, const QMessageLogContext&, const QString& testo) {
        righe().append(testo);
    }
    QtMessageHandler precedente_;
};

// The row identities of the appointments the rebuild named as unreadable.
QList<qint64> nominati() {
    QList<qint64> righe;
    for (const QString& riga : Diagnostiche::righe()) {
        if (!riga.contains(QStringLiteral("appuntamento saltato"))) continue;
        righe.append(
            riga.section(QStringLiteral("riga "), 1).section(QLatin1Char(')'), 0, 0).toLongLong());
    }
    return righe;
}

class Differenziale : public ::testing::TestWithParam<Engine> {
protected:
    Differenziale() : ws(GetParam()) { platform.clock.moment = kAdesso; }

    SelezionaAppuntamenti selezione() {
        return {*ws.visiteDb, *ws.workDb, platform.clock, platform.yielder,
                db::kDefaultBusyTimeout};
    }
    EsitoSelezione ricostruisci() { return selezione().esegui(); }

    // Leaves in Promemoria what a rebuild of a slightly different book left (other leads and
    // documents, a row more and a row fewer), some rows handed over and rows of no book, then
    // writes the book `seme` again.
    void tabellaPrecedente(quint32 seme) {
        ws.visite().exec("UPDATE Appuntamenti SET ApAllarm = ApAllarm + 5 WHERE rowid % 5 = 0");
        ws.visite().exec("UPDATE Appuntamenti SET ApDocumento = 'altro' WHERE rowid % 7 = 1");
        ws.visite().exec("UPDATE Appuntamenti SET ApStato = 'A' WHERE rowid % 6 = 2");
        ws.visite().exec("DELETE FROM Appuntamenti WHERE rowid % 9 = 3");
        ricostruisci();
        ws.work().exec("UPDATE Promemoria SET PmWait = 'S' WHERE PmCliente = 2");
        ws.work().exec(
            "INSERT INTO Promemoria (PmCliente, PmData, PmAzione, PmAllarm, PmWait, "
            "PmDocumento) VALUES (77, ?, 'ALTRA', ?, ' ', ' '), "
            "(NULL, NULL, NULL, NULL, NULL, NULL)",
            {kOggi + 1, kOggi});
        scriviLibro(ws.visite(), ws.engine, seme);
    }

    // Each row's rowid, by the row's fields.
    QHash<QString, qint64> rowid() {
        QHash<QString, qint64> rowids;
        for (const QVariantList& r :
             ws.work().rows(QStringLiteral("SELECT PmCliente, PmData, PmAzione, PmAllarm, PmWait, "
                                           "PmDocumento, rowid FROM Promemoria")))
            rowids.insert(riga(r).testo(), r[6].toLongLong());
        return rowids;
    }

    static Promemoria riga(const QVariantList& r) {
        return {r[0].toInt(),    r[1].toDouble(), r[2].toString(),
                r[3].toDouble(), r[4].toString(), r[5].toString()};
    }

    QList<Promemoria> tabella() {
        QList<Promemoria> righe;
        for (const QVariantList& r : ws.work().rows(
                 QStringLiteral("SELECT PmCliente, PmData, PmAzione, PmAllarm, PmWait, PmDocumento "
                                "FROM Promemoria")))
            righe.append(riga(r));
        return righe;
    }

    FakePlatform platform;
    EngineWorkspace ws;
};

TEST_P(Differenziale, RebuildAndPollMatchTheRowByRowModel) {
    for (quint32 seme = 1; seme <= kLibri; ++seme) {
        SCOPED_TRACE("book " + std::to_string(seme));
        scriviLibro(ws.visite(), ws.engine, seme);
        if (seme % 2 == 0) tabellaPrecedente(seme);
        Modello modello = ricostruzione(ws.visite());
        const QHash<QString, qint64> prima = rowid();
        Diagnostiche diagnostiche;
        Diagnostiche::righe().clear();
        const EsitoSelezione esito = ricostruisci();
        EXPECT_EQ(testi(tabella()), testi(modello.tabella));
        const QHash<QString, qint64> dopo = rowid();
        for (auto r = dopo.cbegin(); r != dopo.cend(); ++r)
            EXPECT_EQ(prima.value(r.key(), r.value()), r.value())
                << "written again: " << r.key().toStdString();
        EXPECT_EQ(inRighe(esito.righe()), inRighe(modello.righe));
        EXPECT_EQ(esito.chiavi(), modello.chiavi);
        EXPECT_EQ(esito.conteggio(), modello.righe.size());
        EXPECT_EQ(nominati(), modello.illeggibili);

        // Some reminders already handed over, one with its flag in lower case.
        const int marcato = static_cast<int>(seme % 4);
        const QString segno = seme % 3 == 0 ? QStringLiteral("s") : QStringLiteral("S");
        ws.work().exec(QStringLiteral("UPDATE Promemoria SET PmWait = ? WHERE PmCliente = ?"),
                       {segno, marcato});
        for (Promemoria& p : modello.tabella)
            if (p.cliente == marcato) p.attesa = segno;
        platform.launcher.launches.clear();
        ControlloPromemoria(*ws.workDb, ws.fileIni, platform.clock, platform.yielder,
                            platform.launcher)
            .esegui();
        QStringList consegne;
        for (const LaunchRecord& avvio : platform.launcher.launches)
            consegne.append(avvio.arguments.value(0));
        EXPECT_EQ(consegne, poll(modello.tabella, dateserial::fromDateTime(kAdesso), ws.fileIni));
        EXPECT_EQ(testi(tabella()), testi(modello.tabella));

        // Over the book unchanged, resetting the marks leaves what the rebuild leaves.
        ControlloPromemoria(*ws.workDb, ws.fileIni, platform.clock, platform.yielder,
                            platform.launcher)
            .azzeraSegni();
        EXPECT_EQ(testi(tabella()), testi(ricostruzione(ws.visite()).tabella));

        // The host writes a few rows: the rebuild of those rows alone leaves what reading the
        // whole book leaves, marks included.
        SelezioneTenuta tenuta;
        selezione().esegui(Segni::Conserva, &tenuta);
        ws.work().exec(QStringLiteral("UPDATE Promemoria SET PmWait = 'S' WHERE PmCliente = ?"),
                       {marcato});
        const EsitoSelezione soloScritte =
            selezione().aggiorna(tenuta, scriviACaso(ws.visite(), seme));
        const QHash<QString, qint64> aggiornata = rowid();
        const EsitoSelezione completa = selezione().esegui(Segni::Conserva);
        EXPECT_EQ(aggiornata, rowid()) << "the full read changed what the rows' rebuild left";
        EXPECT_EQ(inRighe(soloScritte.righe()), inRighe(completa.righe()));
        EXPECT_EQ(soloScritte.chiavi(), completa.chiavi());
        EXPECT_EQ(soloScritte.allarmi, completa.allarmi);
        if (HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Differenziale, ::testing::ValuesIn(testedEngines()),
                         EngineNamer());

}  // namespace
