// A Gestar.ini whose operator has both databases, with a few clients and actions.
#pragma once

#include <QProcessEnvironment>
#include <QString>

#include "support/tempdir.h"

class GestarProva {
public:
    // `agenda`: lines of the AGENDA section; `conDatabase` false leaves the databases out.
    explicit GestarProva(const QByteArray& agenda = {}, bool conDatabase = true);

    // The argument scadex passes for one reminder of this Gestar.ini; with the databases, the
    // reminder table holds its row, handed over, its alarm `allarme` (date text; by default a
    // day before the appointment).
    QString argomento(int inAttesa, qint32 cliente, const QString& azione, const QString& data,
                      const QString& allarme = {}) const;
    // Removes the reminder row of that appointment, as an answer in SCADEX does.
    void togliPromemoria(qint32 cliente, const QString& azione, const QString& data) const;
    // The argument scadex's poll hands over for a reminder put due in the work database,
    // with none waiting before it.
    QString consegnato(qint32 cliente, const QString& azione, const QString& data) const;

    // The environment of a program started for this Gestar.ini: its sockets go to a private
    // folder of the test.
    QProcessEnvironment ambiente() const;

    TestFolder folder;
    QString fileIni;
    QString fileWork;
    QString cartellaSocket;  // closed to other users
};
