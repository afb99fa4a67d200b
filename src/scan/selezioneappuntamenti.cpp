// Rebuild of the reminder table.
#include "scan/selezioneappuntamenti.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>
#include <utility>
#include <vector>

#include "db/catalogue.h"
#include "db/database.h"
#include "db/lockwait.h"
#include "db/rowbatch.h"
#include "db/schema.h"
#include "db/transaction.h"
#include "platform/clock.h"
#include "platform/eventyielder.h"
#include "scan/righepromemoria.h"
#include "util/dateserial.h"
#include "util/diagnostica.h"
#include "util/testi.h"
#include "util/valori.h"

using namespace db::schema;

namespace {

constexpr int kLarghezzaAzione = 6;
constexpr double kMinutiAlGiorno = 1440;
constexpr double kSecondiAlGiorno = 86400;
// Appointments read and reminder rows written per statement: every statement stays short
// and little is held at once.
constexpr int kRighePerLettura = 4096;
constexpr qsizetype kRighePerScrittura = 8192;

const QStringList kCampiPromemoria{kPmCliente, kPmData, kPmAzione,
                                   kPmAllarm,  kPmWait, kPmDocumento};

// Where the selection's fields stand among the columns of a batch.
struct Colonne {
    explicit Colonne(const QStringList& nomi)
        : riga(db::indexOfName(nomi, kApRiga)),
          cliente(db::indexOfName(nomi, kApCliente)),
          data(db::indexOfName(nomi, kApData)),
          azione(db::indexOfName(nomi, kApAzione)),
          allarme(db::indexOfName(nomi, kApAllarm)),
          note(db::indexOfName(nomi, kApNote)),
          causa(db::indexOfName(nomi, kApCausa)),
          documento(db::indexOfName(nomi, kApDocumento)) {}

    int riga;
    int cliente;
    int data;
    int azione;
    int allarme;
    int note;
    int causa;
    int documento;
};

// One selected appointment as the rebuild reads it.
struct AppuntamentoLetto {
    AppuntamentoDovuto dovuto;
    double allarme = 0;  // the alarm moment: the moment less the lead
    QString documento;   // ValoreTesto of the document: " " for none
};

// A number field: a number as the engine stored it, anything else through ValoreNumero.
double numero(const db::RowBatch& righe, qsizetype riga, int colonna) {
    switch (righe.kind(riga, colonna)) {
        case db::RowBatch::Kind::Real:
            return righe.real(riga, colonna);
        case db::RowBatch::Kind::Integer:
            return static_cast<double>(righe.integer(riga, colonna));
        default:
            return ValoreNumero(righe.value(riga, colonna));
    }
}

// The client code: a whole number as the engine stored it, anything else through InteroLungo.
qint32 cliente(const db::RowBatch& righe, qsizetype riga, int colonna) {
    if (righe.kind(riga, colonna) == db::RowBatch::Kind::Integer) {
        const qint64 intero = righe.integer(riga, colonna);
        if (intero == static_cast<qint32>(intero)) return static_cast<qint32>(intero);
    }
    return InteroLungo(righe.value(riga, colonna));
}

// Throws ConversionError when a field cannot be read.
AppuntamentoLetto leggi(const db::RowBatch& righe, qsizetype riga, const Colonne& colonne) {
    const auto testo = [&](int colonna) { return ValoreTesto(righe.value(riga, colonna)); };
    AppuntamentoLetto letto;
    AppuntamentoDovuto& dovuto = letto.dovuto;
    dovuto.cliente = cliente(righe, riga, colonne.cliente);
    dovuto.note = testo(colonne.note);
    dovuto.causa = testo(colonne.causa);
    dovuto.momento = numero(righe, riga, colonne.data);
    dovuto.azione = testi::trimSpaces(testo(colonne.azione).left(kLarghezzaAzione));
    // The lead in days as the host writes it: minutes / 1440 kept to four decimals.
    const double anticipo =
        testi::roundFourDecimals(numero(righe, riga, colonne.allarme) / kMinutiAlGiorno);
    letto.allarme = dovuto.momento - anticipo;
    letto.documento = testo(colonne.documento);
    return letto;
}

void segnalaIlleggibile(const db::RowBatch& righe, qsizetype riga, const Colonne& colonne,
                        const ConversionError& errore) {
    const auto testo = [&](int colonna) {
        const QVariant valore = righe.value(riga, colonna);
        return valore.isNull() ? QStringLiteral("Null") : valore.toString();
    };
    Diagnostica(QStringLiteral("appuntamento saltato (cliente %1, data %2, riga %3)")
                    .arg(testo(colonne.cliente), testo(colonne.data), testo(colonne.riga)),
                errore);
}

// Texts kept once each, by number, with their UTF-8 form.
class TestiNumerati {
public:
    int numero(const QString& testo) {
        const auto trovato = numeri_.constFind(testo);
        if (trovato != numeri_.cend()) return *trovato;
        const auto numero = static_cast<int>(testi_.size());
        numeri_.insert(testo, numero);
        testi_.append(testo);
        utf8_.append(testo.toUtf8());
        return numero;
    }
    const QString& testo(int numero) const { return testi_[numero]; }
    const QByteArray& utf8(int numero) const { return utf8_[numero]; }
    int quanti() const { return static_cast<int>(testi_.size()); }

private:
    QHash<QString, int> numeri_;
    QStringList testi_;
    QList<QByteArray> utf8_;
};

// The root of an action's class, shortening the path on the way.
int radice(std::vector<int>& classi, int azione) {
    while (classi[azione] != azione) azione = classi[azione] = classi[classi[azione]];
    return azione;
}

// The reminder rows of one rebuild, one per key: the client, the moment to the second and the
// trimmed action as index primaria compares texts. A key's row keeps the moment and the
// action of the first of its appointments read, and takes the alarm moment and the document
// of the last.
class PromemoriaUniti {
public:
    void aggiungi(const AppuntamentoLetto& letto) {
        const AppuntamentoDovuto& dovuto = letto.dovuto;
        letti_.push_back({dovuto.cliente, azioni_.numero(dovuto.azione),
                          documenti_.numero(letto.documento), dovuto.momento, letto.allarme});
    }

    // Writes the rows into Promemoria, a bulk write per batch.
    void scrivi(db::Database& work) const {
        const std::vector<Posto> posti = perSecondo();
        const std::vector<int> classi = classiDiAzione(work, posti);
        const auto nuoveRighe = [] {
            db::RowBatch righe(static_cast<int>(kCampiPromemoria.size()));
            righe.reserve(kRighePerScrittura);
            return righe;
        };
        db::RowBatch righe = nuoveRighe();
        const auto scriviRighe = [&] {
            work.insertRows(kPromemoria, kCampiPromemoria, righe);
            righe = nuoveRighe();
        };
        perOgniSecondo(posti, [&](const Posto* inizio, const Posto* fine) {
            QVarLengthArray<Unione, 4> unioni;
            for (const Posto* posto = inizio; posto != fine; ++posto) {
                const int letto = posto->letto;
                const int classe = classi[letti_[letto].azione];
                const auto unione =
                    std::find_if(unioni.begin(), unioni.end(),
                                 [&](const Unione& u) { return u.classe == classe; });
                if (unione == unioni.end()) {
                    unioni.append({classe, letto, letto});
                } else {
                    unione->ultimo = letto;
                }
            }
            for (const Unione& unione : unioni) aggiungiRiga(righe, unione);
            if (righe.size() >= kRighePerScrittura) scriviRighe();
        });
        if (!righe.isEmpty()) scriviRighe();
    }

private:
    struct Letto {
        qint32 cliente;
        int azione;
        int documento;
        double momento;
        double allarme;
    };
    // Where an appointment stands: its client, its moment to the second, its place read.
    struct Posto {
        qint64 cliente;
        qint64 secondo;
        int letto;

        bool operator<(const Posto& altro) const {
            return std::tie(cliente, secondo, letto) <
                   std::tie(altro.cliente, altro.secondo, altro.letto);
        }
        bool stessoSecondo(const Posto& altro) const {
            return cliente == altro.cliente && secondo == altro.secondo;
        }
    };
    // One key's appointments of one second: the first read and the last.
    struct Unione {
        int classe;
        int primo;
        int ultimo;
    };

    // The appointments by client and second, those of one second in the order read.
    std::vector<Posto> perSecondo() const {
        std::vector<Posto> posti;
        posti.reserve(letti_.size());
        for (int letto = 0; letto < static_cast<int>(letti_.size()); ++letto) {
            const Letto& l = letti_[letto];
            posti.push_back({l.cliente, std::llround(l.momento * kSecondiAlGiorno), letto});
        }
        std::sort(posti.begin(), posti.end());
        return posti;
    }

    // Calls `visita(inizio, fine)` for each run of `posti` of one client and one second.
    template <typename Visita>
    static void perOgniSecondo(const std::vector<Posto>& posti, Visita visita) {
        const Posto* inizio = posti.data();
        const Posto* const fine = inizio + posti.size();
        while (inizio != fine) {
            const Posto* dopo = std::find_if(
                inizio, fine, [&](const Posto& posto) { return !posto.stessoSecondo(*inizio); });
            visita(inizio, dopo);
            inizio = dopo;
        }
    }

    // Two different actions of one client at one second may be one key all the same: index
    // primaria compares texts its own way (without regard to case, on the host's tables). The
    // work database is asked about those pairs only; asked for none, it still makes sure the
    // index is there, as the rebuild always has. Returns each action's class: the actions of
    // one class are the same key.
    std::vector<int> classiDiAzione(db::Database& work, const std::vector<Posto>& posti) const {
        QSet<std::pair<int, int>> coppie;
        perOgniSecondo(posti, [&](const Posto* inizio, const Posto* fine) {
            QVarLengthArray<int, 4> diverse;
            for (const Posto* posto = inizio; posto != fine; ++posto) {
                const int azione = letti_[posto->letto].azione;
                if (std::find(diverse.begin(), diverse.end(), azione) != diverse.end()) continue;
                for (const int altra : diverse) coppie.insert(std::minmax(altra, azione));
                diverse.append(azione);
            }
        });
        std::vector<int> classi(static_cast<std::size_t>(azioni_.quanti()));
        std::iota(classi.begin(), classi.end(), 0);
        const QList<std::pair<int, int>> numeri(coppie.cbegin(), coppie.cend());
        db::Database::TextPairs testi;
        for (const auto& [prima, seconda] : numeri)
            testi.append({azioni_.testo(prima), azioni_.testo(seconda)});
        const QList<bool> uguali = work.textsEqual(kPromemoria, kPrimaria, kPmAzione, testi);
        for (qsizetype i = 0; i < numeri.size(); ++i) {
            if (uguali[i])
                classi[radice(classi, numeri[i].second)] = radice(classi, numeri[i].first);
        }
        for (int azione = 0; azione < azioni_.quanti(); ++azione)
            classi[azione] = radice(classi, azione);
        return classi;
    }

    void aggiungiRiga(db::RowBatch& righe, const Unione& unione) const {
        const Letto& primo = letti_[unione.primo];
        const Letto& ultimo = letti_[unione.ultimo];
        const QByteArray& azione = azioni_.utf8(primo.azione);
        const QByteArray& documento = documenti_.utf8(ultimo.documento);
        righe.appendRow(0);
        righe.appendInteger(primo.cliente);
        righe.appendReal(primo.momento);
        righe.appendText(azione.constData(), azione.size());
        righe.appendReal(ultimo.allarme);
        righe.appendText(" ", 1);
        righe.appendText(documento.constData(), documento.size());
    }

    std::vector<Letto> letti_;
    TestiNumerati azioni_;
    TestiNumerati documenti_;
};

// One selected appointment: its line, its key, its alarm moment, and its reminder among the
// others.
// One that cannot be read is named and left out: the host's book is not ours to judge, and one
// unreadable appointment must not keep every other one from its reminder.
void aggiungi(const db::RowBatch& righe, qsizetype riga, const Colonne& colonne,
              RighePromemoria& linee, EsitoSelezione& esito, PromemoriaUniti& promemoria) {
    AppuntamentoLetto letto;
    QString visualizzata;
    try {
        letto = leggi(righe, riga, colonne);
        visualizzata = linee.visualizzata(letto.dovuto);
    } catch (const ConversionError& errore) {
        segnalaIlleggibile(righe, riga, colonne, errore);
        return;
    }
    esito.righe.append(visualizzata);
    const AppuntamentoDovuto& dovuto = letto.dovuto;
    esito.chiavi.append({dovuto.cliente, dovuto.momento, dovuto.azione});
    esito.allarmi.append(letto.allarme);
    promemoria.aggiungi(letto);
}

}  // namespace

QString EsitoSelezione::didascalia() const {
    return QStringLiteral("PROMEMORIA: ") + QString::number(conteggio) +
           QStringLiteral(" APPUNTAMENTI");
}

SelezioneAppuntamenti::SelezioneAppuntamenti(db::Database& visite, db::Database& work,
                                             const Clock& clock, EventYielder& yielder,
                                             std::chrono::milliseconds attesaBlocchi)
    : visite_(visite),
      work_(work),
      clock_(clock),
      yielder_(yielder),
      attesaBlocchi_(attesaBlocchi) {}

EsitoSelezione SelezioneAppuntamenti::esegui() {
    // Yield before the transaction begins: a yield may open a modal window, and the host
    // product must never be locked out of the work database while it stays open.
    yielder_.yieldToEvents();
    const db::LockWait attesaVisite(visite_, attesaBlocchi_);
    const db::LockWait attesaWork(work_, attesaBlocchi_);
    db::Transaction transazione(work_);
    work_.execute(kSvuotaPromemoria);
    work_.refreshCatalogue();
    EsitoSelezione esito;
    RighePromemoria linee;
    PromemoriaUniti promemoria;
    const qint64 oggi = dateserial::dayNumber(clock_.now().date());
    visite_.readInBatches(selezioneAppuntamenti(oggi), kRighePerLettura,
                          [&](const QStringList& nomi, const db::RowBatch& righe) {
                              const Colonne colonne(nomi);
                              for (qsizetype riga = 0; riga < righe.size(); ++riga)
                                  aggiungi(righe, riga, colonne, linee, esito, promemoria);
                          });
    esito.conteggio = static_cast<int>(esito.righe.size());
    promemoria.scrivi(work_);
    transazione.commit();
    return esito;
}
