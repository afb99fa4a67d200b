// One alert program per user and configuration file: later starts hand their argument over.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

class QLocalSocket;

class IstanzaUnica : public QObject {
    Q_OBJECT
public:
    // `fileIni` names the configuration file the reminders belong to.
    explicit IstanzaUnica(const QString& fileIni, QObject* parent = nullptr);

    // Hands `argomento` to the instance already running, which confirms it, and returns true;
    // otherwise starts listening for later starts and returns false. When the name cannot be
    // taken this instance simply stays alone.
    bool consegnaOppureAscolta(const QString& argomento);

    // The local socket name: one per user (home folder) and configuration file.
    static QString nomePer(const QString& fileIni);

signals:
    void argomentoRicevuto(const QString& argomento);

private:
    bool consegna(const QString& argomento) const;
    void accetta();
    void leggi(QLocalSocket* socket);

    QString nome_;
    QLocalServer server_;
};
