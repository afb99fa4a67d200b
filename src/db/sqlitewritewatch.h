// Writes to an SQLite file by other connections: its files change and its data_version moves.
#pragma once

#include <QStringList>
#include <memory>
#include <optional>

#include "db/writewatch.h"

namespace db {

class Connection;

class SqliteWriteWatch : public WriteWatch {
public:
    // Watches the file that `connection` has open, asking it for the file's data version.
    explicit SqliteWriteWatch(std::shared_ptr<Connection> connection);

    QStringList files() const override;
    int socket() const override { return -1; }
    bool written() override;
    // Every commit of another connection moves the file's data version: nothing can silence it.
    bool intact() override { return true; }

private:
    qint64 dataVersion();

    std::shared_ptr<Connection> connection_;
    std::optional<qint64> version_;
};

}  // namespace db
