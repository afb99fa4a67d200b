// Rebuild of the reminder table.
#include "scan/selezionaappuntamenti.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>
#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>
#include <optional>
#include <ranges>
#include <span>
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
#include "scan/selezionetenuta.h"
#include "util/dateserial.h"
#include "util/diagnostic.h"
#include "util/texts.h"
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
// Seconds whose stored reminders one statement reads, and appointments one statement reads by
// rowid: a statement stays short to parse.
constexpr std::size_t kSecondiPerLettura = 200;
constexpr std::size_t kRighePerRowid = 500;

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
    dovuto.azione = texts::trimSpaces(testo(colonne.azione).left(kLarghezzaAzione));
    // The lead in days as the host writes it: minutes / 1440 kept to four decimals.
    const double anticipo =
        texts::roundFourDecimals(numero(righe, riga, colonne.allarme) / kMinutiAlGiorno);
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
    logDiagnostic(QStringLiteral("appuntamento saltato (cliente %1, data %2, riga %3)")
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

// Where a stored reminder's fields stand in a batch of kPromemoriaPerChiave.
enum Letta { kRowid, kCliente, kData, kAzione, kAllarme, kAttesa, kDocumento };

// Beyond this a moment has no whole second a qint64 holds; no row written has one either.
constexpr double kMomentoMassimo = 1e12;

// The client and second of a stored row that could be one of those written: a whole client
// code and a moment with a second; nothing for any other.
// A stored row's client and second, compared with those of the rows written.
std::optional<SecondoCliente> chiaveLetta(const db::RowBatch& righe, qsizetype riga) {
    if (righe.kind(riga, kCliente) != db::RowBatch::Kind::Integer ||
        righe.kind(riga, kData) != db::RowBatch::Kind::Real)
        return std::nullopt;
    const double data = righe.real(riga, kData);
    if (!(std::abs(data) < kMomentoMassimo)) return std::nullopt;
    return SecondoCliente{righe.integer(riga, kCliente), std::llround(data * kSecondiAlGiorno)};
}

// Whether a stored cell holds exactly this double, to the bit.
bool stessoReale(const db::RowBatch& righe, qsizetype riga, int colonna, double reale) {
    return righe.kind(riga, colonna) == db::RowBatch::Kind::Real &&
           std::bit_cast<quint64>(righe.real(riga, colonna)) == std::bit_cast<quint64>(reale);
}

// Whether a stored cell holds exactly this text, byte for byte.
bool stessoTesto(const db::RowBatch& righe, qsizetype riga, int colonna, QByteArrayView testo) {
    return righe.kind(riga, colonna) == db::RowBatch::Kind::Text &&
           righe.bytes(riga, colonna) == testo;
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

    // Brings Promemoria to these rows writing only what differs: a stored row identical in
    // every field to one of them stays; the other stored rows go, by rowid, and then the rows
    // missing are added by bulk writes. A row handed over differs, and is written anew, unless
    // `segni` keeps the marks. With `secondi`, these are the rows of those seconds only, and
    // the stored rows of other seconds are left alone.
    void scrivi(db::Database& work, Segni segni,
                std::optional<std::span<const SecondoCliente>> secondi = std::nullopt) const {
        const std::vector<Posto> posti = perSecondo();
        const std::vector<int> classi = classiDiAzione(work, posti);
        const Differenza differenza = confronta(work, posti, classi, segni, secondi);
        elimina(work, differenza.eliminate);
        aggiungiMancanti(work, posti, classi, differenza.presenti);
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
    // The fields of one row as written.
    struct Riga {
        qint32 cliente;
        double data;
        QByteArrayView azione;
        double allarme;
        QByteArrayView documento;
    };
    // What the table holds beside the rows to write.
    struct Differenza {
        std::vector<qint64> eliminate;  // rowids of the stored rows not among them
        std::vector<bool> presenti;     // by a row's number: the rows the table holds already
    };

    static constexpr QByteArrayView kNonConsegnato{" "};
    static constexpr QByteArrayView kConsegnato{"S"};

    // The rows to write, a client's second at a time in key order, numbered in that order.
    class Secondi {
    public:
        Secondi(const PromemoriaUniti& uniti, const std::vector<Posto>& posti,
                const std::vector<int>& classi)
            : uniti_(uniti), classi_(classi), inizio_(posti.data()), fine_(inizio_ + posti.size()) {
            unisci();
        }

        bool finito() const { return inizio_ == fine_; }
        SecondoCliente chiave() const { return {inizio_->cliente, inizio_->secondo}; }
        const QVarLengthArray<Unione, 4>& unioni() const { return unioni_; }
        // The number of the second's first row.
        qsizetype primo() const { return primo_; }
        void avanza() {
            primo_ += unioni_.size();
            inizio_ = dopo_;
            unisci();
        }

    private:
        // The rows of the second at `inizio_`: one per class of action.
        void unisci() {
            unioni_.clear();
            dopo_ = fineDelSecondo(inizio_, fine_);
            for (const Posto* posto = inizio_; posto != dopo_; ++posto) {
                const int letto = posto->letto;
                const int classe = classi_[uniti_.letti_[letto].azione];
                const auto unione =
                    std::find_if(unioni_.begin(), unioni_.end(),
                                 [&](const Unione& u) { return u.classe == classe; });
                if (unione == unioni_.end()) {
                    unioni_.append({classe, letto, letto});
                } else {
                    unione->ultimo = letto;
                }
            }
        }

        const PromemoriaUniti& uniti_;
        const std::vector<int>& classi_;
        const Posto* inizio_;
        const Posto* const fine_;
        const Posto* dopo_ = nullptr;
        QVarLengthArray<Unione, 4> unioni_;
        qsizetype primo_ = 0;
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

    // The end of the run of `inizio`'s client and second.
    static const Posto* fineDelSecondo(const Posto* inizio, const Posto* fine) {
        return std::find_if(inizio, fine,
                            [&](const Posto& posto) { return !posto.stessoSecondo(*inizio); });
    }

    // Calls `visita(inizio, fine)` for each run of `posti` of one client and one second.
    template <typename Visita>
    static void perOgniSecondo(const std::vector<Posto>& posti, Visita visita) {
        const Posto* inizio = posti.data();
        const Posto* const fine = inizio + posti.size();
        while (inizio != fine) {
            const Posto* dopo = fineDelSecondo(inizio, fine);
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

    // Walks the stored rows in key order beside the rows to write, as two sorted lists are
    // merged: little is held at once however large the table.
    Differenza confronta(db::Database& work, const std::vector<Posto>& posti,
                         const std::vector<int>& classi, Segni segni,
                         std::optional<std::span<const SecondoCliente>> soli) const {
        Differenza differenza;
        Secondi secondi(*this, posti, classi);
        const auto confrontaRiga = [&](const db::RowBatch& righe, qsizetype riga) {
            if (!trovata(righe, riga, secondi, segni, differenza.presenti))
                differenza.eliminate.push_back(righe.integer(riga, kRowid));
        };
        if (!soli) {
            leggiSalvate(work, kPromemoriaPerChiave, confrontaRiga);
            return differenza;
        }
        // One statement per client, so that the server walks index primaria from that
        // client's first row. A statement's range takes in the edges of the seconds next to
        // its own: a row of those is left to its own statement, or to nobody.
        for (auto inizio = soli->begin(); inizio != soli->end();) {
            const auto limite =
                inizio + std::min<std::ptrdiff_t>(kSecondiPerLettura, soli->end() - inizio);
            const auto fine = std::find_if(inizio, limite, [&](const SecondoCliente& secondo) {
                return secondo.first != inizio->first;
            });
            const std::span<const SecondoCliente> gruppo(inizio, fine);
            leggiSalvate(
                work, promemoriaDeiSecondi(gruppo), [&](const db::RowBatch& righe, qsizetype riga) {
                    const std::optional<SecondoCliente> chiave = chiaveLetta(righe, riga);
                    if (chiave && std::binary_search(gruppo.begin(), gruppo.end(), *chiave))
                        confrontaRiga(righe, riga);
                });
            inizio = fine;
        }
        return differenza;
    }

    // Calls `perRiga(righe, riga)` for each stored row `sql` reads, in key order.
    template <typename PerRiga>
    static void leggiSalvate(db::Database& work, const QString& sql, PerRiga perRiga) {
        work.readInBatches(sql, kRighePerLettura,
                           [&](const QStringList&, const db::RowBatch& righe) {
                               for (qsizetype riga = 0; riga < righe.size(); ++riga)
                                   perRiga(righe, riga);
                           });
    }

    // The stored rows of one client's `secondi` (ascending), and a few of the seconds beside
    // them, in key order.
    static QString promemoriaDeiSecondi(std::span<const SecondoCliente> secondi) {
        QStringList intervalli;
        for (const qint64 secondo : secondi | std::views::values) {
            intervalli.append(
                QStringLiteral("(PmData >= %1 AND PmData <= %2)")
                    .arg(static_cast<double>(secondo - 1) / kSecondiAlGiorno, 0, 'g', 17)
                    .arg(static_cast<double>(secondo + 1) / kSecondiAlGiorno, 0, 'g', 17));
        }
        return promemoriaDove(QStringLiteral("PmCliente = %1 AND (%2)")
                                  .arg(secondi.front().first)
                                  .arg(intervalli.join(QStringLiteral(" OR "))));
    }

    // Whether a stored row is one of the rows to write, not found before; marks that row
    // present. The stored rows come in key order, so `secondi` only moves on.
    bool trovata(const db::RowBatch& righe, qsizetype riga, Secondi& secondi, Segni segni,
                 std::vector<bool>& presenti) const {
        const std::optional<SecondoCliente> chiave = chiaveLetta(righe, riga);
        if (!chiave) return false;
        while (!secondi.finito() && secondi.chiave() < *chiave) secondi.avanza();
        if (secondi.finito() || secondi.chiave() != *chiave) return false;
        for (qsizetype i = 0; i < secondi.unioni().size(); ++i) {
            const auto numero = static_cast<std::size_t>(secondi.primo() + i);
            if (numero < presenti.size() && presenti[numero]) continue;
            if (!uguale(righe, riga, scritta(secondi.unioni()[i]), segni)) continue;
            if (presenti.size() <= numero) presenti.resize(numero + 1);
            presenti[numero] = true;
            return true;
        }
        return false;
    }

    static bool uguale(const db::RowBatch& righe, qsizetype riga, const Riga& scritta,
                       Segni segni) {
        return righe.kind(riga, kCliente) == db::RowBatch::Kind::Integer &&
               righe.integer(riga, kCliente) == scritta.cliente &&
               stessoReale(righe, riga, kData, scritta.data) &&
               stessoTesto(righe, riga, kAzione, scritta.azione) &&
               stessoReale(righe, riga, kAllarme, scritta.allarme) &&
               (stessoTesto(righe, riga, kAttesa, kNonConsegnato) ||
                (segni == Segni::Conserva && stessoTesto(righe, riga, kAttesa, kConsegnato))) &&
               stessoTesto(righe, riga, kDocumento, scritta.documento);
    }

    // Deletes the rows by rowid, a batch per call.
    static void elimina(db::Database& work, std::span<const qint64> rowids) {
        for (std::size_t inizio = 0; inizio < rowids.size(); inizio += kRighePerScrittura)
            work.deleteRows(kPromemoria,
                            rowids.subspan(inizio, std::min<std::size_t>(kRighePerScrittura,
                                                                         rowids.size() - inizio)));
    }

    // Writes the rows the table does not hold, a bulk write per batch.
    void aggiungiMancanti(db::Database& work, const std::vector<Posto>& posti,
                          const std::vector<int>& classi, const std::vector<bool>& presenti) const {
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
        for (Secondi secondi(*this, posti, classi); !secondi.finito(); secondi.avanza()) {
            for (qsizetype i = 0; i < secondi.unioni().size(); ++i) {
                const auto numero = static_cast<std::size_t>(secondi.primo() + i);
                if (numero >= presenti.size() || !presenti[numero])
                    aggiungiRiga(righe, scritta(secondi.unioni()[i]));
            }
            if (righe.size() >= kRighePerScrittura) scriviRighe();
        }
        if (!righe.isEmpty()) scriviRighe();
    }

    Riga scritta(const Unione& unione) const {
        const Letto& primo = letti_[unione.primo];
        const Letto& ultimo = letti_[unione.ultimo];
        return {primo.cliente, primo.momento, azioni_.utf8(primo.azione), ultimo.allarme,
                documenti_.utf8(ultimo.documento)};
    }

    static void aggiungiRiga(db::RowBatch& righe, const Riga& scritta) {
        righe.appendRow(0);
        righe.appendInteger(scritta.cliente);
        righe.appendReal(scritta.data);
        righe.appendText(scritta.azione.data(), scritta.azione.size());
        righe.appendReal(scritta.allarme);
        righe.appendText(kNonConsegnato.data(), kNonConsegnato.size());
        righe.appendText(scritta.documento.data(), scritta.documento.size());
    }

    std::vector<Letto> letti_;
    TestiNumerati azioni_;
    TestiNumerati documenti_;
};

// One selected appointment, or nothing when it cannot be read or its moment no line could
// show: it is named and left out. The host's book is not ours to judge, and one unreadable
// appointment must not keep every other one from its reminder.
std::optional<AppuntamentoLetto> selezionato(const db::RowBatch& righe, qsizetype riga,
                                             const Colonne& colonne) {
    try {
        AppuntamentoLetto letto = leggi(righe, riga, colonne);
        texts::requireInCalendar(letto.dovuto.momento);
        return letto;
    } catch (const ConversionError& errore) {
        segnalaIlleggibile(righe, riga, colonne, errore);
    }
    return std::nullopt;
}

// Reads the appointments of `sql` (the selection, in rowid order), a batch at a time.
template <typename PerAppuntamento>
void leggiSelezionati(db::Database& visite, const QString& sql, PerAppuntamento perAppuntamento) {
    visite.readInBatches(
        sql, kRighePerLettura, [&](const QStringList& nomi, const db::RowBatch& righe) {
            const Colonne colonne(nomi);
            for (qsizetype riga = 0; riga < righe.size(); ++riga) {
                if (std::optional<AppuntamentoLetto> letto = selezionato(righe, riga, colonne))
                    perAppuntamento(righe.integer(riga, colonne.riga), *letto);
            }
        });
}

}  // namespace

QStringList EsitoSelezione::righe() const {
    RighePromemoria linee;
    QStringList righe;
    righe.reserve(appuntamenti.size());
    for (const AppuntamentoDovuto& appuntamento : appuntamenti)
        righe.append(linee.visualizzata(appuntamento));
    return righe;
}

QList<ChiavePromemoria> EsitoSelezione::chiavi() const {
    QList<ChiavePromemoria> chiavi;
    chiavi.reserve(appuntamenti.size());
    for (const AppuntamentoDovuto& appuntamento : appuntamenti)
        chiavi.append({appuntamento.cliente, appuntamento.momento, appuntamento.azione});
    return chiavi;
}

QString EsitoSelezione::didascalia() const {
    return QStringLiteral("PROMEMORIA: ") + QString::number(conteggio()) +
           QStringLiteral(" APPUNTAMENTI");
}

SelezionaAppuntamenti::SelezionaAppuntamenti(db::Database& visite, db::Database& work,
                                             const Clock& clock, EventYielder& yielder,
                                             std::chrono::milliseconds attesaBlocchi)
    : visite_(visite),
      work_(work),
      clock_(clock),
      yielder_(yielder),
      attesaBlocchi_(attesaBlocchi) {}

EsitoSelezione SelezionaAppuntamenti::esegui(Segni segni, SelezioneTenuta* tenuta) {
    // Yield before the transaction begins: a yield may open a modal window, and the host
    // product must never be locked out of the work database while it stays open.
    yielder_.yieldToEvents();
    visite_.reopenIfReplaced();
    work_.reopenIfReplaced();
    const db::LockWait attesaVisite(visite_, attesaBlocchi_);
    const db::LockWait attesaWork(work_, attesaBlocchi_);
    db::Transaction transazione(work_);
    work_.refreshCatalogue();
    EsitoSelezione esito;
    PromemoriaUniti promemoria;
    leggiSelezionati(visite_, selezionaAppuntamenti(oggi()),
                     [&](qint64 riga, const AppuntamentoLetto& letto) {
                         esito.appuntamenti.append(letto.dovuto);
                         esito.allarmi.append(letto.allarme);
                         promemoria.aggiungi(letto);
                         if (tenuta) tenuta->aggiungi(riga, letto);
                     });
    promemoria.scrivi(work_, segni);
    transazione.commit();
    return esito;
}

EsitoSelezione SelezionaAppuntamenti::aggiorna(SelezioneTenuta& tenuta, std::vector<qint64> righe) {
    std::sort(righe.begin(), righe.end());
    righe.erase(std::unique(righe.begin(), righe.end()), righe.end());
    const db::LockWait attesaVisite(visite_, attesaBlocchi_);
    const db::LockWait attesaWork(work_, attesaBlocchi_);
    std::vector<SelezioneTenuta::Riga> lette;
    for (std::size_t inizio = 0; inizio < righe.size(); inizio += kRighePerRowid) {
        const auto gruppo = std::span<const qint64>(righe).subspan(
            inizio, std::min(kRighePerRowid, righe.size() - inizio));
        leggiSelezionati(visite_, selezionaAppuntamenti(oggi(), gruppo),
                         [&](qint64 riga, const AppuntamentoLetto& letto) {
                             lette.push_back({riga, letto});
                         });
    }
    const std::vector<SecondoCliente> secondi = tenuta.sostituisci(righe, std::move(lette));
    if (!secondi.empty()) {
        // The catalogue the last full read took: the table's watch says nobody has made it anew.
        db::Transaction transazione(work_);
        PromemoriaUniti promemoria;
        for (const AppuntamentoLetto* letto : tenuta.di(secondi)) promemoria.aggiungi(*letto);
        promemoria.scrivi(work_, Segni::Conserva, secondi);
        transazione.commit();
    }
    return tenuta.esito();
}

qint64 SelezionaAppuntamenti::oggi() const {
    return dateserial::dayNumber(clock_.now().date());
}
