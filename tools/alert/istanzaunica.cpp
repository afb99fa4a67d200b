// The hand-over between alert programs over a local socket.
#include "alert/istanzaunica.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace {

// A running instance answers within this time even while it reads the databases (their
// busy timeout is five seconds); no answer and the reminder gets its own window instead.
constexpr int kAttesaConnessioneMs = 1000;
constexpr int kAttesaConfermaMs = 10000;
const QByteArray kConferma = QByteArrayLiteral("OK\n");

}  // namespace

IstanzaUnica::IstanzaUnica(const QString& fileIni, QObject* parent)
    : QObject(parent), nome_(nomePer(fileIni)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &IstanzaUnica::accetta);
}

QString IstanzaUnica::nomePer(const QString& fileIni) {
    const QFileInfo file(fileIni);
    const QString percorso = file.exists() ? file.canonicalFilePath() : file.absoluteFilePath();
    const QByteArray chiave = (QDir::homePath() + QChar(0) + percorso).toUtf8();
    const QByteArray impronta = QCryptographicHash::hash(chiave, QCryptographicHash::Sha256);
    return QStringLiteral("scadex-avviso-") + QString::fromLatin1(impronta.toHex().left(16));
}

bool IstanzaUnica::consegnaOppureAscolta(const QString& argomento) {
    if (consegna(argomento)) return true;
    if (server_.listen(nome_)) return false;
    // Another start may have taken the name since; otherwise the socket was left behind
    // by an instance that did not end cleanly.
    if (consegna(argomento)) return true;
    QLocalServer::removeServer(nome_);
    server_.listen(nome_);
    return false;
}

bool IstanzaUnica::consegna(const QString& argomento) const {
    QLocalSocket socket;
    socket.connectToServer(nome_);
    if (!socket.waitForConnected(kAttesaConnessioneMs)) return false;
    socket.write(argomento.toUtf8().toBase64() + '\n');
    while (socket.bytesAvailable() < kConferma.size()) {
        if (!socket.waitForReadyRead(kAttesaConfermaMs)) return false;
    }
    return socket.read(kConferma.size()) == kConferma;
}

void IstanzaUnica::accetta() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { leggi(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

// One line per connection: the argument in base64, so that no character of it can end the
// line early; the answer confirms it has been taken in.
void IstanzaUnica::leggi(QLocalSocket* socket) {
    if (!socket->canReadLine()) return;
    const QString argomento =
        QString::fromUtf8(QByteArray::fromBase64(socket->readLine().trimmed()));
    emit argomentoRicevuto(argomento);
    socket->write(kConferma);
    socket->disconnectFromServer();
}
