// The one error type of the database adapter.
#pragma once

#include <QString>
#include <stdexcept>

namespace db {

class DbError : public std::runtime_error {
public:
    DbError(const QString& operation, const QString& engineMessage)
        : std::runtime_error((operation + QStringLiteral(": ") + engineMessage).toStdString()),
          operation_(operation),
          engineMessage_(engineMessage) {}

    // The statement or operation that failed.
    const QString& operation() const { return operation_; }
    // The engine's own message.
    const QString& engineMessage() const { return engineMessage_; }

private:
    QString operation_;
    QString engineMessage_;
};

}  // namespace db
