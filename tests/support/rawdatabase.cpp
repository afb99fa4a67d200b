// Plain SQLite connections for checks.
#include "support/rawdatabase.h"

#include <sqlite3.h>

#include <stdexcept>

RawDatabase::RawDatabase(const QString& path) {
    const QByteArray name = path.toUtf8();
    if (sqlite3_open_v2(name.constData(), &handle_, SQLITE_OPEN_READWRITE, "unix") != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(handle_);
        sqlite3_close(handle_);
        throw std::runtime_error("cannot open " + name.toStdString() + ": " + message);
    }
}

RawDatabase::~RawDatabase() {
    sqlite3_close(handle_);
}

QString RawDatabase::integrity() {
    const QStringList found = rows(QStringLiteral("PRAGMA integrity_check"));
    return found.join(QLatin1Char('\n'));
}

QStringList RawDatabase::rows(const QString& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(handle_, sql.toUtf8().constData(), -1, &statement, nullptr) !=
        SQLITE_OK) {
        return {QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(handle_))};
    }
    QStringList result;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        QStringList values;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            switch (sqlite3_column_type(statement, i)) {
                case SQLITE_NULL:
                    values.append(QStringLiteral("NULL"));
                    break;
                case SQLITE_FLOAT:
                    values.append(QString::number(sqlite3_column_double(statement, i), 'g', 17));
                    break;
                default:
                    values.append(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                        sqlite3_column_bytes(statement, i)));
            }
        }
        result.append(values.join(QLatin1Char('|')));
    }
    if (rc != SQLITE_DONE)
        result.append(QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(handle_)));
    sqlite3_finalize(statement);
    return result;
}

bool RawDatabase::canWriteAtOnce(const QString& table) {
    sqlite3_busy_timeout(handle_, 0);
    const bool written =
        run(QStringLiteral("BEGIN IMMEDIATE")) &&
        run(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)) &&
        run(QStringLiteral("DELETE FROM %1 WHERE rowid = last_insert_rowid()").arg(table)) &&
        run(QStringLiteral("COMMIT"));
    if (!written) run(QStringLiteral("ROLLBACK"));
    return written;
}

bool RawDatabase::run(const QString& sql) {
    return sqlite3_exec(handle_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}
