// The rows of the demo workspace: Italian clients, actions and appointments around now.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

namespace demorows {

struct Cliente {
    qint32 codice;
    QString ragsoc;
    QString ragsocEstesa;
};

struct Azione {
    QString codice;
    QString descrizione;
    // A Windows RGB value (red + 256 green + 65536 blue), as a number or as a text.
    QVariant colore;
};

struct Appuntamento {
    qint32 cliente;
    double data;
    QString azione;
    double allarm;
    QString cancellato;
    QString stato;
    QString causa;
    QString note;
    QString documento;
};

QList<Cliente> clienti();
QList<Azione> azioni();
// Appointments that show every behaviour of the program when it starts at `now`: three
// falling due a minute or two later, one earlier today, one tomorrow, one deleted, one
// without alarm. `documento` and `documentoMancante` are the paths of an attached document
// that exists and of one that does not.
QList<Appuntamento> appuntamenti(const QDateTime& now, const QString& documento,
                                 const QString& documentoMancante);

}  // namespace demorows
