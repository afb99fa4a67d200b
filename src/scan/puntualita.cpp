// Wake-ups, the book's writes and the day's change, turned into hand-overs and rebuilds.
#include "scan/puntualita.h"

#include <QSocketNotifier>
#include <algorithm>
#include <limits>

#include "db/database.h"
#include "db/dberror.h"
#include "db/schema.h"
#include "db/writewatch.h"
#include "platform/clock.h"
#include "scan/scansione.h"
#include "util/dateserial.h"
#include "util/diagnostic.h"

namespace {

using std::chrono::milliseconds;

// Milliseconds from `adesso` to `momento`, none when it has passed, capped below what a timer
// takes (a tick arms it again long before), leaving room for a margin.
int millisecondiFino(const QDateTime& adesso, const QDateTime& momento) {
    const qint64 mancano = adesso.msecsTo(momento);
    return static_cast<int>(std::clamp<qint64>(mancano, 0, std::numeric_limits<int>::max() - 1));
}

}  // namespace

Puntualita::Puntualita(Scansione& scansione, db::Database& visite, db::Database& work,
                       const Clock& clock, QObject* parent)
    : QObject(parent), scansione_(scansione), clock_(clock) {
    // A coarse timer may be late by a twentieth of its interval: a minute's wait, by 3 s.
    sveglia_.setTimerType(Qt::PreciseTimer);
    sveglia_.setSingleShot(true);
    connect(&sveglia_, &QTimer::timeout, this, [this] { scansione_.consegnaDovuti(); });
    cambioGiorno_.setTimerType(Qt::PreciseTimer);
    cambioGiorno_.setSingleShot(true);
    connect(&cambioGiorno_, &QTimer::timeout, this, [this] {
        selezionePerCambio();
        armaCambioGiorno();
    });
    // A coarse timer may fire early, and bring rebuilds closer than a second.
    selezioneRinviata_.setTimerType(Qt::PreciseTimer);
    selezioneRinviata_.setSingleShot(true);
    connect(&selezioneRinviata_, &QTimer::timeout, this, &Puntualita::selezionePerCambio);
    connect(&file_, &QFileSystemWatcher::fileChanged, this, &Puntualita::controllaLibro);
    connect(&file_, &QFileSystemWatcher::directoryChanged, this, [this] {
        osservaFile();  // a journal or WAL that has just come is watched from now on
        controllaLibro();
    });
    apriOsservazione(visite, work);
    armaCambioGiorno();
}

Puntualita::~Puntualita() {
    scansione_.seguiLibro({});
}

namespace {

// The watch of `table`'s writes, or nothing when they cannot be followed: said once.
std::unique_ptr<db::WriteWatch> osserva(db::Database& database, const QString& table,
                                        const QString& schema, const QString& senza) {
    std::unique_ptr<db::WriteWatch> watch;
    try {
        watch = database.watchWrites(table);
    } catch (const db::DbError& errore) {
        logDiagnostic(QStringLiteral("i cambi di %1 non si seguono").arg(table), errore);
        return nullptr;
    }
    if (!watch) {
        logDiagnostic(QStringLiteral("%1: nessun trigger annuncia i cambi di %2 (%3): %4")
                          .arg(database.path(), table, schema, senza));
    }
    return watch;
}

}  // namespace

void Puntualita::apriOsservazione(db::Database& visite, db::Database& work) {
    watch_ =
        osserva(visite, db::schema::kAppuntamenti, QStringLiteral("schema/postgresql/visite.sql"),
                QStringLiteral("un cambio si vede alla ricostruzione di ogni quindicesimo "
                               "controllo"));
    if (!watch_) return;
    osservaFile();
    osservaSocket();
    watchPromemoria_ =
        osserva(work, db::schema::kPromemoria, QStringLiteral("schema/postgresql/work.sql"),
                QStringLiteral("ogni quindicesimo controllo rilegge il libro"));
    if (watchPromemoria_) scansione_.seguiLibro([this] { return nessunoHaScritto(); });
}

void Puntualita::osservaFile() {
    const QStringList osservati = file_.files() + file_.directories();
    QStringList nuovi;
    for (const QString& file : watch_->files()) {
        if (!osservati.contains(file)) nuovi.append(file);
    }
    // A journal not there yet is refused: its folder's change brings it in later.
    if (!nuovi.isEmpty()) file_.addPaths(nuovi);
}

// A server connection opened again has a socket of its own.
void Puntualita::osservaSocket() {
    const int socket = watch_->socket();
    if (socket_ && socket_->socket() == socket) return;
    socket_.reset();
    if (socket < 0) return;
    socket_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
    connect(socket_.get(), &QSocketNotifier::activated, this, &Puntualita::controllaLibro);
}

void Puntualita::dopoIlTick() {
    if (watch_) controllaLibro();
    armaCambioGiorno();
}

bool Puntualita::controllaLibro() {
    bool scritto = false;
    try {
        scritto = watch_->written();
    } catch (const db::DbError&) {
        // Unknown, and so told by the rebuild that the ticks bring, which reads the book; a
        // lost server connection is opened again at the next tick.
        scansione_.libroCambiato();
        osservaSocket();
        return true;
    }
    osservaSocket();
    if (!scritto) return false;
    scansione_.libroCambiato();
    chiediSelezione();
    return true;
}

bool Puntualita::nessunoHaScritto() {
    if (controllaLibro()) return false;
    bool credibili = false;
    try {
        const bool promemoriaScritti = watchPromemoria_->written();
        credibili = watch_->intact() && watchPromemoria_->intact();
        if (promemoriaScritti) return false;
    } catch (const db::DbError&) {
        return false;  // unknown: the book is read
    }
    if (!credibili && std::exchange(annunciCredibili_, false)) {
        logDiagnostic(
            QStringLiteral("i trigger non annunciano più tutti i cambi (disattivati, o "
                           "tabelle ricreate): ogni quindicesimo controllo rilegge il "
                           "libro"));
    }
    if (credibili) annunciCredibili_ = true;
    return credibili;
}

void Puntualita::chiediSelezione() {
    if (selezioneRinviata_.isActive()) return;
    const qint64 trascorsi =
        ultimaSelezione_.isValid() ? ultimaSelezione_.elapsed() : kSelezioniDistanti.count();
    if (trascorsi >= kSelezioniDistanti.count()) {
        selezionePerCambio();
    } else {
        selezioneRinviata_.start(static_cast<int>(kSelezioniDistanti.count() - trascorsi));
    }
}

void Puntualita::selezionePerCambio() {
    ultimaSelezione_.start();
    scansione_.richiediSelezione(Segni::Conserva);
}

void Puntualita::armaSveglia(std::optional<double> momento) {
    if (!momento) {
        sveglia_.stop();
        return;
    }
    // One millisecond after: the hand-over takes what is due at or before its own moment.
    sveglia_.start(millisecondiFino(clock_.now(), dateserial::toDateTime(*momento)) + 1);
}

// The first moment of tomorrow: yesterday's appointments leave the caption, list and table.
void Puntualita::armaCambioGiorno() {
    const QDateTime adesso = clock_.now();
    cambioGiorno_.start(millisecondiFino(adesso, QDateTime(adesso.date().addDays(1), QTime(0, 0))));
}

std::optional<milliseconds> Puntualita::svegliaTra() const {
    if (!sveglia_.isActive()) return std::nullopt;
    return milliseconds(sveglia_.remainingTime());
}
