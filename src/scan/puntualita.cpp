// Wake-ups, the book's writes and the day's change, turned into hand-overs and rebuilds.
#include "scan/puntualita.h"

#include <QSocketNotifier>

#include "db/database.h"
#include "db/dberror.h"
#include "db/schema.h"
#include "db/writewatch.h"
#include "platform/clock.h"
#include "platform/walltimer.h"
#include "scan/scansione.h"
#include "util/dateserial.h"
#include "util/diagnostic.h"

using std::chrono::milliseconds;

// On a clock set the wake-up is worked out again from its serial, and a new date rebuilds.
Puntualita::Puntualita(Scansione& scansione, db::Database& visite, db::Database& work,
                       const Clock& clock, QObject* parent)
    : QObject(parent),
      scansione_(scansione),
      clock_(clock),
      sveglia_(clock.timer([this] { scansione_.consegnaDovuti(); },
                           [this] { armaSveglia(momentoSveglia_); })),
      cambioGiorno_(clock.timer(
          [this] {
              selezionePerCambio();
              armaCambioGiorno();
          },
          [this] { verificaGiorno(); })) {
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
    if (watchPromemoria_)
        scansione_.seguiLibro([this](bool catalogo) { return tuttoDetto(catalogo); });
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
    verificaGiorno();
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
    scansione_.libroCambiato(watch_->takeWrittenRows());
    chiediSelezione();
    return true;
}

bool Puntualita::tuttoDetto(bool catalogo) {
    controllaLibro();
    bool credibili = false;
    try {
        const bool promemoriaScritti = watchPromemoria_->written();
        credibili = catalogo ? watch_->intact() && watchPromemoria_->intact() : annunciCredibili_;
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
    momentoSveglia_ = momento;
    if (!momento) {
        sveglia_->stop();
        return;
    }
    // One millisecond after: the hand-over takes what is due at or before its own moment. A
    // moment the wall clock shows already is armed for now, and fires once.
    sveglia_->start(dateserial::nextInstant(*momento, instantOf(clock_.now())) + milliseconds(1));
}

// The first moment of tomorrow: yesterday's appointments leave the caption, list and table.
void Puntualita::armaCambioGiorno() {
    giorno_ = clock_.now().date();
    cambioGiorno_->start(dateserial::dayStart(giorno_.addDays(1)));
}

// The clock may have been set across midnight, either way: a date not the one the day's
// change was armed on rebuilds now.
void Puntualita::verificaGiorno() {
    if (clock_.now().date() != giorno_) selezionePerCambio();
    armaCambioGiorno();
}

std::optional<milliseconds> Puntualita::svegliaTra() const {
    return tra(*sveglia_);
}

std::optional<milliseconds> Puntualita::cambioGiornoTra() const {
    return tra(*cambioGiorno_);
}

std::optional<milliseconds> Puntualita::tra(const WallTimer& timer) const {
    const std::optional<Instant> momento = timer.moment();
    if (!momento) return std::nullopt;
    return *momento - instantOf(clock_.now());
}
