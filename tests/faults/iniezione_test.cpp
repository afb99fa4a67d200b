// File operations failing in start-up, poll, rebuild and answers: what is left, and recovery.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "faults/faultworkspace.h"
#include "faults/faultyvfs.h"
#include "reminder/rispostapromemoria.h"
#include "reminder/schedapromemoria.h"
#include "scan/scansione.h"
#include "support/rawdatabase.h"
#include "support/testscansione.h"
#include "ui/main/startup.h"

using ::testing::AnyOfArray;
using ::testing::IsSupersetOf;

namespace {

constexpr double kOggi = 46362;  // 6 December 2026

// The reminder the operator answers: it has a document and is due.
ChiavePromemoria chiaveRisposta() {
    return {1002, kOggi + 10.5 / 24, QStringLiteral("TEL")};
}

std::unique_ptr<Scansione> scansioneDi(FaultWorkspace& banco) {
    return makeScansione(*banco.sessione.visite(), *banco.sessione.work(), banco.sessione.fileIni(),
                         banco.platform);
}

void fileIntegri(const FaultWorkspace& banco) {
    EXPECT_EQ(RawDatabase(banco.visitePath).integrity(), "ok");
    EXPECT_EQ(RawDatabase(banco.workPath).integrity(), "ok");
}

// The host product can write to both files at once: nothing of ours holds a transaction.
void nessunaTransazioneAperta(FaultWorkspace& banco) {
    EXPECT_TRUE(RawDatabase(banco.workPath).canWriteAtOnce(QStringLiteral("Clienti")))
        << "a transaction on WorkDV.mdb was left open";
    EXPECT_TRUE(RawDatabase(banco.visitePath).canWriteAtOnce(QStringLiteral("Appuntamenti")))
        << "a transaction on VisiteDV.mdb was left open";
    EXPECT_TRUE(banco.connectionsIdle())
        << "the program's own connection is still in a transaction";
}

// Every reminder due now has been handed over at least once, and is marked so.
void consegnatoIlDovuto(const FaultWorkspace& banco) {
    const QStringList dovuti = banco.dueKeys();
    EXPECT_FALSE(dovuti.isEmpty());
    EXPECT_THAT(banco.launchedKeys(), IsSupersetOf(dovuti));
    EXPECT_EQ(banco.handedOverKeys(), dovuti);
}

// A reminder marked as handed over was handed over: none is lost between mark and start.
void nessunSegnatoPerso(const FaultWorkspace& banco, const QStringList& segnatiPrima) {
    QStringList segnatiOra = banco.handedOverKeys();
    for (const QString& chiave : segnatiPrima) segnatiOra.removeAll(chiave);
    EXPECT_THAT(banco.launchedKeys(), IsSupersetOf(segnatiOra));
}

// Every reminder row is whole as it was before the poll or as a clean poll leaves it: a poll
// marks in transactions, and a reminder whose mark failed waits for the next poll.
bool righeIntere(const QStringList& tabella, const QStringList& prima, const QStringList& dopo) {
    if (tabella.size() != prima.size() || prima.size() != dopo.size()) return false;
    for (qsizetype i = 0; i < tabella.size(); ++i) {
        if (tabella[i] != prima[i] && tabella[i] != dopo[i]) return false;
    }
    return true;
}

// The tables left by clean runs, against which every faulty run is compared.
struct Attese {
    QStringList appuntamenti;          // the appointment book, untouched
    QStringList vecchia;               // Promemoria before the operation
    QStringList ricostruita;           // after a clean rebuild
    QStringList consegnata;            // after a clean rebuild and poll
    QStringList appuntamentiRisposta;  // the book after a clean answer
    QStringList rispostaPromemoria;    // Promemoria after a clean answer
    QStringList consegnataRisposta;    // after a clean answer, rebuild and poll
};

// Runs `Corsa` on a fresh copy of `modello` with the nth call of `kind` failing, for n from 1
// until a run in which no failure was injected (the operation completed). Returns how many
// runs had a failure injected.
template <typename Corsa, typename... Argomenti>
int perOgniGuasto(const FaultWorkspace& modello, FaultKind kind, bool persistent,
                  const Attese& attese, Argomenti... argomenti) {
    for (int n = 1;; ++n) {
        FaultWorkspace banco(modello);
        Corsa corsa(banco, argomenti...);
        bool iniettato = false;
        {
            ArmedFault guasto(kind, n, persistent);
            corsa.esegui();
            iniettato = FaultyVfs::instance().fired();
        }
        if (!iniettato) {
            std::printf("%d failures injected, each followed by the checks\n", n - 1);
            return n - 1;
        }
        SCOPED_TRACE(faultKindName(kind).toStdString() + " failing from call " + std::to_string(n));
        corsa.verifica(attese);
        if (::testing::Test::HasFailure()) return n;
    }
}

// The start-up: settings, both databases opened, a rebuild and a poll.
class CorsaAvvio {
public:
    explicit CorsaAvvio(FaultWorkspace& banco) : banco_(banco) {}
    void esegui() { avvia(); }
    void verifica(const Attese& attese) {
        EXPECT_TRUE(banco_.platform.messages.shown.isEmpty()) << "the start-up is silent";
        fileIntegri(banco_);
        EXPECT_EQ(banco_.appuntamenti(), attese.appuntamenti);
        const QStringList promemoria = banco_.promemoria();
        EXPECT_TRUE(promemoria == attese.vecchia ||
                    righeIntere(promemoria, attese.ricostruita, attese.consegnata))
            << ::testing::PrintToString(promemoria);
        nessunaTransazioneAperta(banco_);
        // A failed start ends the program; the operator starts it again.
        if (esito_ == Startup::Avvio::Avviato)
            startup_->ControllaPromemoria();
        else
            ASSERT_EQ(avvia(), Startup::Avvio::Avviato);
        EXPECT_EQ(banco_.promemoria(), attese.consegnata);
        consegnatoIlDovuto(banco_);
    }

private:
    Startup::Avvio avvia() {
        startup_.reset();
        startup_ = std::make_unique<Startup>(banco_.sessione, banco_.services);
        esito_ = startup_->avvia();
        // What ChiudiProgramma does before it ends the process.
        if (esito_ != Startup::Avvio::Avviato) banco_.closeDatabases();
        return esito_;
    }

    FaultWorkspace& banco_;
    std::unique_ptr<Startup> startup_;
    Startup::Avvio esito_ = Startup::Avvio::Errore;
};

// The program's scanning over a workspace's databases, opened for one run.
class CorsaScansione {
protected:
    explicit CorsaScansione(FaultWorkspace& banco) : banco_(banco) {
        banco_.openDatabases();
        scansione_ = scansioneDi(banco_);
    }

    FaultWorkspace& banco_;
    std::unique_ptr<Scansione> scansione_;
};

// One poll over a freshly rebuilt table with three reminders due.
class CorsaPoll : public CorsaScansione {
public:
    explicit CorsaPoll(FaultWorkspace& banco) : CorsaScansione(banco) {}
    void esegui() { scansione_->controllaPromemoria(); }
    void verifica(const Attese& attese) {
        fileIntegri(banco_);
        EXPECT_EQ(banco_.appuntamenti(), attese.appuntamenti);
        EXPECT_TRUE(righeIntere(banco_.promemoria(), attese.ricostruita, attese.consegnata))
            << ::testing::PrintToString(banco_.promemoria());
        nessunSegnatoPerso(banco_, {});
        nessunaTransazioneAperta(banco_);
        scansione_->controllaPromemoria();
        EXPECT_EQ(banco_.promemoria(), attese.consegnata);
        consegnatoIlDovuto(banco_);
    }
};

// One rebuild as the poll asks for it, over a table left by an earlier rebuild.
class CorsaRicostruzione : public CorsaScansione {
public:
    explicit CorsaRicostruzione(FaultWorkspace& banco) : CorsaScansione(banco) {}
    void esegui() { scansione_->richiediSelezione(); }
    void verifica(const Attese& attese) {
        fileIntegri(banco_);
        EXPECT_EQ(banco_.appuntamenti(), attese.appuntamenti);
        EXPECT_THAT(banco_.promemoria(), AnyOfArray({attese.vecchia, attese.ricostruita}));
        nessunaTransazioneAperta(banco_);
        // The next tick rebuilds again; the one after hands over what is due.
        scansione_->controllaPromemoria();
        scansione_->controllaPromemoria();
        EXPECT_EQ(banco_.promemoria(), attese.consegnata);
        consegnatoIlDovuto(banco_);
    }
};

enum class Risposta { ImpostaAvviso, NonAvvisarePiu, StaccaDocumento };

// One answer in the reminder window, loaded on a reminder already handed over; the window
// closes, and the list window asks for the rebuild.
class CorsaRisposta : public CorsaScansione {
public:
    CorsaRisposta(FaultWorkspace& banco, Risposta risposta)
        : CorsaScansione(banco), risposta_(risposta) {
        scheda_ = std::make_unique<SchedaPromemoria>(*banco_.sessione.visite(),
                                                     *banco_.sessione.work(), chiaveRisposta());
    }
    void esegui() {
        {
            RispostaPromemoria risposta(scheda_->appuntamento(), scheda_->promemoria());
            const VistaPromemoria& vista = scheda_->vista();
            // Whether the answer was taken is checked on the files afterwards.
            switch (risposta_) {
                case Risposta::ImpostaAvviso:
                    static_cast<void>(
                        risposta.impostaAvviso(QStringLiteral("2"), UnitaAllarme::Ore, false));
                    break;
                case Risposta::NonAvvisarePiu:
                    static_cast<void>(risposta.nonAvvisarePiu());
                    break;
                case Risposta::StaccaDocumento:
                    static_cast<void>(risposta.impostaAvviso(vista.quantita, vista.unita, true));
                    break;
            }
        }
        scheda_.reset();
    }
    void verifica(const Attese& attese) {
        fileIntegri(banco_);
        const QStringList appuntamenti = banco_.appuntamenti();
        EXPECT_THAT(appuntamenti, AnyOfArray({attese.appuntamenti, attese.appuntamentiRisposta}));
        EXPECT_THAT(banco_.promemoria(), AnyOfArray({attese.vecchia, attese.rispostaPromemoria}));
        nessunaTransazioneAperta(banco_);
        scansione_->richiediSelezione();
        scansione_->controllaPromemoria();
        EXPECT_EQ(banco_.promemoria(), appuntamenti == attese.appuntamentiRisposta
                                           ? attese.consegnataRisposta
                                           : attese.consegnata);
        consegnatoIlDovuto(banco_);
    }

private:
    Risposta risposta_;
    std::unique_ptr<SchedaPromemoria> scheda_;
};

// A clean copy of `modello` after `passi`.
template <typename Passi>
std::unique_ptr<FaultWorkspace> dopo(const FaultWorkspace& modello, Passi passi) {
    auto banco = std::make_unique<FaultWorkspace>(modello);
    banco->openDatabases();
    auto scansione = scansioneDi(*banco);
    passi(*banco, *scansione);
    scansione.reset();
    banco->closeDatabases();
    return banco;
}

struct Guasto {
    FaultKind kind;
    bool persistent;
};

void PrintTo(const Guasto& guasto, std::ostream* out) {
    *out << faultKindName(guasto.kind).toStdString()
         << (guasto.persistent ? " from then on" : " once");
}

class IniezioneGuasti : public ::testing::TestWithParam<Guasto> {
protected:
    IniezioneGuasti() { FaultyVfs::instance(); }

    FaultKind kind() const { return GetParam().kind; }
    bool persistent() const { return GetParam().persistent; }

    // The tables of the model and of clean runs of each operation on copies of it.
    static Attese attese(const FaultWorkspace& modello) {
        Attese attese;
        attese.appuntamenti = modello.appuntamenti();
        attese.vecchia = modello.promemoria();
        attese.ricostruita = dopo(modello, [](FaultWorkspace&, Scansione& s) {
                                 s.SelezionaAppuntamenti();
                             })->promemoria();
        attese.consegnata = dopo(modello, [](FaultWorkspace&, Scansione& s) {
                                s.SelezionaAppuntamenti();
                                s.controllaPromemoria();
                            })->promemoria();
        return attese;
    }

    // The model after a clean rebuild and poll: reminders handed over, waiting for an answer.
    static std::unique_ptr<FaultWorkspace> consegnato(const FaultWorkspace& base) {
        return dopo(base, [](FaultWorkspace&, Scansione& s) {
            s.SelezionaAppuntamenti();
            s.controllaPromemoria();
        });
    }

    // The tables that an answer may leave, from a clean run of it.
    static Attese atteseRisposta(const FaultWorkspace& modello, Risposta risposta) {
        Attese attese = IniezioneGuasti::attese(modello);
        FaultWorkspace pulito(modello);
        CorsaRisposta(pulito, risposta).esegui();
        pulito.closeDatabases();
        attese.appuntamentiRisposta = pulito.appuntamenti();
        attese.rispostaPromemoria = pulito.promemoria();
        attese.consegnataRisposta = dopo(pulito, [](FaultWorkspace&, Scansione& s) {
                                        s.richiediSelezione();
                                        s.controllaPromemoria();
                                    })->promemoria();
        return attese;
    }

    void perOgniRisposta(Risposta risposta) {
        const FaultWorkspace base;
        const auto modello = consegnato(base);
        const Attese attese = atteseRisposta(*modello, risposta);
        ASSERT_NE(attese.appuntamentiRisposta, attese.appuntamenti);
        EXPECT_GT(perOgniGuasto<CorsaRisposta>(*modello, kind(), persistent(), attese, risposta),
                  0);
    }
};

TEST_P(IniezioneGuasti, Avvio) {
    const FaultWorkspace modello;
    const Attese attese = this->attese(modello);
    ASSERT_NE(attese.vecchia, attese.ricostruita);
    EXPECT_GT(perOgniGuasto<CorsaAvvio>(modello, kind(), persistent(), attese), 0);
}

TEST_P(IniezioneGuasti, Poll) {
    const FaultWorkspace base;
    const auto modello =
        dopo(base, [](FaultWorkspace&, Scansione& s) { s.SelezionaAppuntamenti(); });
    const Attese attese = this->attese(*modello);
    ASSERT_NE(attese.ricostruita, attese.consegnata);
    EXPECT_GT(perOgniGuasto<CorsaPoll>(*modello, kind(), persistent(), attese), 0);
}

TEST_P(IniezioneGuasti, Ricostruzione) {
    const FaultWorkspace modello;
    const Attese attese = this->attese(modello);
    EXPECT_GT(perOgniGuasto<CorsaRicostruzione>(modello, kind(), persistent(), attese), 0);
}

TEST_P(IniezioneGuasti, ImpostaAvviso) {
    perOgniRisposta(Risposta::ImpostaAvviso);
}

TEST_P(IniezioneGuasti, NonAvvisarePiu) {
    perOgniRisposta(Risposta::NonAvvisarePiu);
}

TEST_P(IniezioneGuasti, StaccaDocumento) {
    perOgniRisposta(Risposta::StaccaDocumento);
}

std::vector<Guasto> tuttiIGuasti() {
    std::vector<Guasto> guasti;
    for (FaultKind kind : kAllFaultKinds) {
        guasti.push_back({kind, false});
        guasti.push_back({kind, true});
    }
    return guasti;
}

INSTANTIATE_TEST_SUITE_P(Guasti, IniezioneGuasti, ::testing::ValuesIn(tuttiIGuasti()),
                         [](const ::testing::TestParamInfo<Guasto>& info) {
                             return faultKindName(info.param.kind).toStdString() +
                                    (info.param.persistent ? "_FromThenOn" : "_Once");
                         });

}  // namespace
