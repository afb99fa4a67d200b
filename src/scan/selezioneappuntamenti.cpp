// Rebuild of the reminder table.
#include "scan/selezioneappuntamenti.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <numeric>
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

constexpr int kLarghezzaCausa = 50;
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

// Throws ConversionError when a field cannot be read.
AppuntamentoLetto leggi(const db::RowBatch& righe, qsizetype riga, const Colonne& colonne) {
    const auto campo = [&](int colonna) { return righe.value(riga, colonna); };
    AppuntamentoLetto letto;
    AppuntamentoDovuto& dovuto = letto.dovuto;
    dovuto.cliente = InteroLungo(campo(colonne.cliente));
    dovuto.note = ValoreTesto(campo(colonne.note));
    dovuto.causa = TestoFisso(ValoreTesto(campo(colonne.causa)), kLarghezzaCausa);
    dovuto.momento = ValoreNumero(campo(colonne.data));
    dovuto.azione = TestoFisso(ValoreTesto(campo(colonne.azione)), kLarghezzaAzione);
    // The lead in days as the host writes it: minutes / 1440 kept to four decimals.
    const double anticipo =
        testi::roundFourDecimals(ValoreNumero(campo(colonne.allarme)) / kMinutiAlGiorno);
    letto.allarme = dovuto.momento - anticipo;
    letto.documento = ValoreTesto(campo(colonne.documento));
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
// trimmed action as the work database compares texts. A key's row keeps the moment and the
// action of the first of its appointments read, and takes the alarm moment and the document
// of the last.
class PromemoriaUniti {
public:
    void aggiungi(const AppuntamentoLetto& letto) {
        const AppuntamentoDovuto& dovuto = letto.dovuto;
        letti_.push_back({dovuto.cliente, std::llround(dovuto.momento * kSecondiAlGiorno),
                          dovuto.momento, letto.allarme,
                          azioni_.numero(testi::trimSpaces(dovuto.azione)), letto.documento});
    }

    // Writes the rows into Promemoria, a bulk write per batch.
    void scrivi(db::Database& work) const {
        const std::vector<int> ordine = perSecondo();
        const std::vector<int> classi = classiDiAzione(work, ordine);
        db::RowBatch righe(static_cast<int>(kCampiPromemoria.size()));
        const auto scriviRighe = [&] {
            work.insertRows(kPromemoria, kCampiPromemoria, righe);
            righe = db::RowBatch(righe.columns());
        };
        perOgniSecondo(ordine, [&](const int* inizio, const int* fine) {
            QVarLengthArray<Unione, 4> unioni;
            for (const int* letto = inizio; letto != fine; ++letto) {
                const int classe = classi[letti_[*letto].azione];
                const auto unione =
                    std::find_if(unioni.begin(), unioni.end(),
                                 [&](const Unione& u) { return u.classe == classe; });
                if (unione == unioni.end()) {
                    unioni.append({classe, *letto, *letto});
                } else {
                    unione->ultimo = *letto;
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
        qint64 secondo;
        double momento;
        double allarme;
        int azione;
        QString documento;
    };
    // One key's appointments of one second: the first read and the last.
    struct Unione {
        int classe;
        int primo;
        int ultimo;
    };

    // The appointments by client and second, those of one second in the order read.
    std::vector<int> perSecondo() const {
        std::vector<int> ordine(letti_.size());
        std::iota(ordine.begin(), ordine.end(), 0);
        std::stable_sort(ordine.begin(), ordine.end(), [this](int a, int b) {
            return std::pair(letti_[a].cliente, letti_[a].secondo) <
                   std::pair(letti_[b].cliente, letti_[b].secondo);
        });
        return ordine;
    }

    // Calls `visita(inizio, fine)` for each run of `ordine` of one client and one second.
    template <typename Visita>
    void perOgniSecondo(const std::vector<int>& ordine, Visita visita) const {
        const int* inizio = ordine.data();
        const int* const fine = inizio + ordine.size();
        while (inizio != fine) {
            const Letto& primo = letti_[*inizio];
            const int* dopo = std::find_if(inizio, fine, [&](int i) {
                return letti_[i].cliente != primo.cliente || letti_[i].secondo != primo.secondo;
            });
            visita(inizio, dopo);
            inizio = dopo;
        }
    }

    // Two different actions of one client at one second may be one key all the same: the work
    // database compares texts its own way (without regard to case, on the host's tables). It
    // is asked about those pairs only. Returns each action's class: the actions of one class
    // are the same key.
    std::vector<int> classiDiAzione(db::Database& work, const std::vector<int>& ordine) const {
        QSet<std::pair<int, int>> coppie;
        perOgniSecondo(ordine, [&](const int* inizio, const int* fine) {
            QVarLengthArray<int, 4> diverse;
            for (const int* letto = inizio; letto != fine; ++letto) {
                const int azione = letti_[*letto].azione;
                if (std::find(diverse.begin(), diverse.end(), azione) != diverse.end()) continue;
                for (const int altra : diverse) coppie.insert(std::minmax(altra, azione));
                diverse.append(azione);
            }
        });
        std::vector<int> classi(static_cast<std::size_t>(azioni_.quanti()));
        std::iota(classi.begin(), classi.end(), 0);
        if (coppie.isEmpty()) return classi;
        const QList<std::pair<int, int>> numeri(coppie.cbegin(), coppie.cend());
        db::Database::TextPairs testi;
        for (const auto& [prima, seconda] : numeri)
            testi.append({azioni_.testo(prima), azioni_.testo(seconda)});
        const QList<bool> uguali = work.textsEqual(kPromemoria, kPmAzione, testi);
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
        const QByteArray documento = ultimo.documento.toUtf8();
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
};

// One selected appointment: its lines, its alarm moment, and its reminder among the others.
// One that cannot be read is named and left out: the host's book is not ours to judge, and one
// unreadable appointment must not keep every other one from its reminder.
void aggiungi(const db::RowBatch& righe, qsizetype riga, const Colonne& colonne,
              EsitoSelezione& esito, PromemoriaUniti& promemoria) {
    AppuntamentoLetto letto;
    QString visualizzata;
    QString chiave;
    try {
        letto = leggi(righe, riga, colonne);
        visualizzata = RigaVisualizzata(letto.dovuto);
        chiave = RigaChiave(letto.dovuto);
    } catch (const ConversionError& errore) {
        segnalaIlleggibile(righe, riga, colonne, errore);
        return;
    }
    esito.righe.append(visualizzata);
    esito.chiavi.append(chiave);
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
    PromemoriaUniti promemoria;
    const qint64 oggi = dateserial::dayNumber(clock_.now().date());
    visite_.readInBatches(selezioneAppuntamenti(oggi), kRighePerLettura,
                          [&](const QStringList& nomi, const db::RowBatch& righe) {
                              const Colonne colonne(nomi);
                              for (qsizetype riga = 0; riga < righe.size(); ++riga)
                                  aggiungi(righe, riga, colonne, esito, promemoria);
                          });
    esito.conteggio = static_cast<int>(esito.righe.size());
    promemoria.scrivi(work_);
    transazione.commit();
    return esito;
}
