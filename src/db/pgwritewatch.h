// Writes to a table on a server, announced by its trigger on a connection that only listens.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "db/pgconnection.h"
#include "db/writewatch.h"

namespace db {

class PgWriteWatch : public WriteWatch {
public:
    // A watch when `connection`'s schema has the trigger that announces the writes to `table`;
    // nothing when it is missing. The writes `connection` itself makes are not counted: they
    // are the program's own. Throws DbError.
    static std::unique_ptr<WriteWatch> on(PgConnection& connection, const QString& table);

    QStringList files() const override { return {}; }
    int socket() const override { return listener_.socket(); }
    bool written() override;
    std::optional<std::vector<qint64>> takeWrittenRows() override;
    bool intact() override;

private:
    // The table as the catalogue names it, and whether its trigger announces.
    struct Announcer {
        qint64 tableOid = 0;  // 0: no such table
        QByteArray schema;    // the payload of the table's notifications
        bool present = false;
        bool enabled = false;
    };

    PgWriteWatch(const PgConnection& own, const QString& table, const Announcer& announcer);
    static Announcer announcerOf(PgConnection& connection, const QString& table);
    void listen();
    // Gathers the rowids a notification of the book's trigger carries.
    void gather(const QByteArray& rows);

    std::weak_ptr<const Connection> own_;
    QString table_;
    QByteArray channel_;
    PgConnection listener_;
    Announcer announcer_;
    std::vector<qint64> rows_;  // told since the last take
    bool everything_ = false;   // some write did not tell its rows
};

}  // namespace db
