// Listening for the notifications of the server schema's triggers.
#include "db/pgwritewatch.h"

#include <utility>

#include "db/lockwait.h"
#include "db/schema.h"

namespace db {

namespace {

// The function the server schema's triggers run: its presence on the table is what counts,
// whatever the trigger is called.
const QString kAnnouncer = QStringLiteral("scadex_annuncia_cambi");

// The reminder table announces on a channel of its own: the program writes it at every poll,
// and the book's listeners need not wake for that.
QByteArray channelOf(const QString& table) {
    return table.compare(schema::kPromemoria, Qt::CaseInsensitive) == 0
               ? QByteArrayLiteral("scadex_promemoria")
               : QByteArrayLiteral("scadex_cambi");
}

// A trigger disabled, or set to fire only for replication, announces nothing the host writes.
// The triggers enabled must between them announce every INSERT (4), DELETE (8), UPDATE (16)
// and TRUNCATE (32): a table with transition tables has one trigger per event.
const QString kAnnouncerOf = QStringLiteral(
    "SELECT c.oid::bigint, n.nspname, "
    "EXISTS (SELECT 1 FROM pg_trigger t JOIN pg_proc p ON p.oid = t.tgfoid "
    "WHERE t.tgrelid = c.oid AND p.proname = ?)::integer, "
    "(SELECT coalesce(bit_or(t.tgtype::integer), 0) & 60 = 60 FROM pg_trigger t "
    "JOIN pg_proc p ON p.oid = t.tgfoid "
    "WHERE t.tgrelid = c.oid AND p.proname = ? AND t.tgenabled IN ('O', 'A'))::integer "
    "FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
    "WHERE c.oid = to_regclass(?)");

// What the book's trigger sends instead of the rowids when they would not fit.
const QByteArray kEverything = QByteArrayLiteral("tutto");

}  // namespace

std::unique_ptr<WriteWatch> PgWriteWatch::on(PgConnection& connection, const QString& table) {
    const Announcer announcer = announcerOf(connection, table);
    if (!announcer.present) return nullptr;
    return std::unique_ptr<WriteWatch>(new PgWriteWatch(connection, table, announcer));
}

PgWriteWatch::Announcer PgWriteWatch::announcerOf(PgConnection& connection, const QString& table) {
    const ResultRows rows =
        connection.query(BoundSql{kAnnouncerOf, {kAnnouncer, kAnnouncer, table}});
    if (rows.rows.isEmpty()) return {};
    return {rows.rows.value(0, 0).toLongLong(), rows.rows.value(0, 1).toString().toUtf8(),
            rows.rows.value(0, 2).toLongLong() != 0, rows.rows.value(0, 3).toLongLong() != 0};
}

// A connection opened again waits briefly: it is tried from the window's event loop.
PgWriteWatch::PgWriteWatch(const PgConnection& own, const QString& table,
                           const Announcer& announcer)
    : own_(own.weak_from_this()),
      table_(table),
      channel_(channelOf(table)),
      listener_(own.path(), own.uri()),
      announcer_(announcer) {
    listener_.setBusyTimeout(kBriefLockWait);
    listen();
}

void PgWriteWatch::listen() {
    listener_.execute(QStringLiteral("LISTEN ") + QString::fromLatin1(channel_));
}

bool PgWriteWatch::written() {
    const auto notifications = listener_.takeNotifications();
    if (!notifications) {
        listen();
        everything_ = true;
        return true;
    }
    const std::shared_ptr<const Connection> own = own_.lock();
    const int ownPid = own ? static_cast<const PgConnection&>(*own).backendPid() : 0;
    bool written = false;
    for (const PgConnection::Notification& notification : *notifications) {
        // The schema, then the rowids after a line feed; the schema alone from a trigger that
        // tells no rows.
        const QByteArray& payload = notification.payload;
        const qsizetype end = payload.indexOf('\n');
        if ((end < 0 ? payload : payload.left(end)) != announcer_.schema ||
            notification.senderPid == ownPid)
            continue;
        written = true;
        if (end < 0) {
            everything_ = true;
        } else {
            gather(payload.mid(end + 1));
        }
    }
    return written;
}

void PgWriteWatch::gather(const QByteArray& rows) {
    if (rows == kEverything) {
        everything_ = true;
        return;
    }
    if (rows.isEmpty()) return;  // a statement that wrote no row
    for (const QByteArray& row : rows.split(',')) {
        bool number = false;
        rows_.push_back(row.toLongLong(&number));
        everything_ = everything_ || !number;
    }
}

std::optional<std::vector<qint64>> PgWriteWatch::takeWrittenRows() {
    std::vector<qint64> rows = std::exchange(rows_, {});
    if (std::exchange(everything_, false)) return std::nullopt;
    return rows;
}

bool PgWriteWatch::intact() {
    const Announcer now = announcerOf(listener_, table_);
    const bool same = now.tableOid == announcer_.tableOid && now.enabled;
    if (now.present) announcer_ = now;
    return same;
}

}  // namespace db
