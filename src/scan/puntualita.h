// The scanning on time: a wake-up at the next alarm moment, and a rebuild as soon as the
// appointment book changes or the day does.
#pragma once

#include <QDate>
#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>

class Clock;
class QSocketNotifier;
class Scansione;
class WallTimer;
namespace db {
class Database;
class WriteWatch;
}  // namespace db

class Puntualita : public QObject {
    Q_OBJECT
public:
    // Changes of the book arrive no closer together than this: a burst of the host's writes
    // costs one rebuild a second, and one more after the last write.
    static constexpr std::chrono::milliseconds kSelezioniDistanti{1000};

    // Hands over through `scansione` at each alarm moment it is told of, and rebuilds through
    // it when another connection writes to `visite`'s appointments. The writes of other
    // connections to `work`'s reminders are followed too, so that the fifteenth poll may
    // leave the book unread. A database whose writes cannot be followed (a server schema
    // without its trigger) is said so once on standard error, and the book is read on the
    // ticks' rhythm; so is a trigger that stops announcing (disabled, or its table made anew).
    Puntualita(Scansione& scansione, db::Database& visite, db::Database& work, const Clock& clock,
               QObject* parent = nullptr);
    ~Puntualita() override;

    // After each tick's poll: a write that no event brought (or a lost server connection)
    // is looked for, and a new date rebuilds at once.
    void dopoIlTick();

    // Arms the one wake-up for when the wall clock next shows `momento` (a day serial), at once
    // when it already does; nothing leaves none armed.
    void armaSveglia(std::optional<double> momento);

    // How long until the wake-up, and until the day's change, by the clock; nothing when none
    // is armed (tests).
    std::optional<std::chrono::milliseconds> svegliaTra() const;
    std::optional<std::chrono::milliseconds> cambioGiornoTra() const;
    // Whether the writes to the book are followed (tests).
    bool segueIlLibro() const { return watch_ != nullptr; }

private:
    void apriOsservazione(db::Database& visite, db::Database& work);
    void osservaFile();
    void osservaSocket();
    // Whether the book has been written since the last look, or nobody can tell: a rebuild is
    // asked for.
    bool controllaLibro();
    // Whether every write of another connection since the last ask has been told: those to
    // the book to the scanning, none to the reminders; and both watches can still be believed,
    // as the catalogue says when `catalogo`, as it last said otherwise.
    bool tuttoDetto(bool catalogo);
    void chiediSelezione();
    void selezionePerCambio();
    void armaCambioGiorno();
    void verificaGiorno();
    std::optional<std::chrono::milliseconds> tra(const WallTimer& timer) const;

    Scansione& scansione_;
    const Clock& clock_;
    std::unique_ptr<db::WriteWatch> watch_;
    std::unique_ptr<db::WriteWatch> watchPromemoria_;
    bool annunciCredibili_ = true;  // said once on standard error when they stop being
    // Both wait on the wall clock: a step, or a suspend, would make a distance wrong.
    std::unique_ptr<WallTimer> sveglia_;
    std::optional<double> momentoSveglia_;
    std::unique_ptr<WallTimer> cambioGiorno_;
    QDate giorno_;  // the date the day's change was armed on
    QTimer selezioneRinviata_;
    QElapsedTimer ultimaSelezione_;
    QFileSystemWatcher file_;
    std::unique_ptr<QSocketNotifier> socket_;
};
