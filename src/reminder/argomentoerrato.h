// The error of a command line the alert program cannot use: a malformed argument, or one
// naming no configuration file.
#pragma once

#include <QString>
#include <stdexcept>

class ArgomentoErrato : public std::runtime_error {
public:
    // `messaggio` is the Italian text shown to whoever started the program.
    explicit ArgomentoErrato(const QString& messaggio)
        : std::runtime_error(messaggio.toStdString()), messaggio_(messaggio) {}

    const QString& messaggio() const { return messaggio_; }

private:
    QString messaggio_;
};
