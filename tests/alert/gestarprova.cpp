// Test configuration files and databases for the alert program.
#include "gestarprova.h"

#include <QDir>
#include <QFile>

#include "db/database.h"
#include "db/schema.h"
#include "reminder/argomentoavviso.h"
#include "scan/controllopromemoria.h"
#include "support/fakes.h"
#include "support/sqlfile.h"
#include "util/texts.h"

namespace {

// Blanks in every folder name, as in an ordinary Windows-style data folder.
const QString kDati = QStringLiteral("dati gestar");

void riempiWork(const QString& percorso) {
    SqlFile::create(percorso, QStringLiteral("work.sql"));
    SqlFile work(percorso);
    work.exec(QStringLiteral("INSERT INTO Clienti VALUES (1234, 'ROSSI  ', 'MARIO ROSSI & C.  ')"));
    work.exec(QStringLiteral("INSERT INTO Clienti VALUES (55, 'BIANCHI', NULL)"));
    work.exec(QStringLiteral("INSERT INTO TabAzioni VALUES ('VIS', 'Visita', 255)"));
    work.exec(QStringLiteral("INSERT INTO TabAzioni VALUES ('TEL', 'Telefonata', '32768')"));
}

}  // namespace

GestarProva::GestarProva(const QByteArray& agenda, bool conDatabase)
    : cartellaSocket(folder.path(QStringLiteral("run"))) {
    QDir().mkpath(cartellaSocket);
    QFile::setPermissions(cartellaSocket, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray dati = folder.path(kDati).toUtf8();
    fileIni = folder.write(QStringLiteral("config gestar/Gestar.ini"),
                           "[BASE]\r\nOPERATORE=mario\r\n[PATH]\r\nFILE=" + dati +
                               "\r\nWORK=" + dati + "\r\n[AGENDA]\r\n" + agenda);
    if (!conDatabase) return;
    const QString operatore = folder.path(kDati + QStringLiteral("/mario/"));
    SqlFile::create(operatore + db::schema::kVisiteFile, QStringLiteral("visite.sql"));
    fileWork = operatore + db::schema::kWorkFile;
    riempiWork(fileWork);
}

QProcessEnvironment GestarProva::ambiente() const {
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), cartellaSocket);
    return ambiente;
}

QString GestarProva::argomento(int inAttesa, qint32 cliente, const QString& azione,
                               const QString& data, const QString& allarme) const {
    ArgomentoAvviso avviso;
    avviso.fileIni = fileIni;
    avviso.inAttesa = inAttesa;
    avviso.cliente = cliente;
    avviso.azione = azione;
    avviso.data = texts::parseDateText(data);
    if (!fileWork.isEmpty()) {
        const double momento = allarme.isEmpty() ? avviso.data - 1 : texts::parseDateText(allarme);
        SqlFile(fileWork).exec(
            QStringLiteral("INSERT OR REPLACE INTO Promemoria VALUES (?, ?, ?, ?, 'S', NULL)"),
            {cliente, avviso.data, azione, momento});
    }
    return avviso.componi();
}

void GestarProva::togliPromemoria(qint32 cliente, const QString& azione,
                                  const QString& data) const {
    SqlFile(fileWork).exec(
        QStringLiteral(
            "DELETE FROM Promemoria WHERE PmCliente = ? AND PmData = ? AND PmAzione = ?"),
        {cliente, texts::parseDateText(data), azione});
}

QString GestarProva::consegnato(qint32 cliente, const QString& azione, const QString& data) const {
    const double momento = texts::parseDateText(data);
    FakePlatform platform;
    SqlFile(fileWork).exec(
        QStringLiteral("INSERT OR REPLACE INTO Promemoria VALUES (?, ?, ?, ?, ' ', NULL)"),
        {cliente, momento, azione, momento - 1});
    const auto work = db::Database::open(fileWork);
    ControlloPromemoria(*work, fileIni, platform.clock, platform.yielder, platform.launcher)
        .esegui();
    return platform.launcher.launches.value(0).arguments.value(0);
}
