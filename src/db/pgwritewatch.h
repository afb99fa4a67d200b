// Writes to the book on a server, announced by its trigger on a connection that only listens.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "db/pgconnection.h"
#include "db/writewatch.h"

namespace db {

class PgWriteWatch : public WriteWatch {
public:
    // The channel the server schema's trigger notifies, with the table's schema as payload.
    static constexpr const char* kChannel = "scadex_cambi";

    // A watch when `connection`'s schema announces the writes to `table`; nothing when its
    // trigger is missing. Throws DbError.
    static std::unique_ptr<WriteWatch> on(PgConnection& connection, const QString& table);

    QStringList files() const override { return {}; }
    int socket() const override { return listener_.socket(); }
    bool written() override;

private:
    // Opens its own connection to the server of `path` and `uri`, and listens there.
    PgWriteWatch(const QString& path, const QByteArray& uri);
    void listen();

    PgConnection listener_;
    QByteArray schema_;  // the payload of this book's notifications
};

}  // namespace db
