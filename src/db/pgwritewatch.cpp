// Listening for the notifications of the server schema's trigger.
#include "db/pgwritewatch.h"

#include <algorithm>

#include "db/lockwait.h"

namespace db {

namespace {

// The function the server schema's trigger runs: its presence on the table is what counts,
// whatever the trigger is called.
const QString kAnnouncer = QStringLiteral("scadex_annuncia_cambi");

QString quotedText(QString text) {
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

}  // namespace

std::unique_ptr<WriteWatch> PgWriteWatch::on(PgConnection& connection, const QString& table) {
    const ResultRows triggers = connection.query(
        QStringLiteral("SELECT count(*) FROM pg_trigger t JOIN pg_proc p ON p.oid = t.tgfoid "
                       "WHERE t.tgrelid = to_regclass(%1) AND p.proname = %2")
            .arg(quotedText(table), quotedText(kAnnouncer)));
    if (triggers.rows.value(0, 0).toLongLong() == 0) return nullptr;
    return std::unique_ptr<WriteWatch>(new PgWriteWatch(connection.path(), connection.uri()));
}

// A connection opened again waits briefly: it is tried from the window's event loop.
PgWriteWatch::PgWriteWatch(const QString& path, const QByteArray& uri) : listener_(path, uri) {
    listener_.setBusyTimeout(kBriefLockWait);
    listen();
}

void PgWriteWatch::listen() {
    listener_.execute(QStringLiteral("LISTEN ") + QLatin1String(kChannel));
    schema_ = listener_.query(QStringLiteral("SELECT current_schema()"))
                  .rows.value(0, 0)
                  .toString()
                  .toUtf8();
}

bool PgWriteWatch::written() {
    const std::optional<QList<QByteArray>> payloads = listener_.takeNotifications();
    if (!payloads) {
        listen();
        return true;
    }
    return std::find(payloads->cbegin(), payloads->cend(), schema_) != payloads->cend();
}

}  // namespace db
