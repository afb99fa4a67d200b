// Asking xwininfo and xprop (x11-utils) about windows.
#include "finestrax.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

QString esegui(const QString& programma, const QStringList& argomenti) {
    QProcess comando;
    comando.start(programma, argomenti);
    comando.waitForFinished();
    return QString::fromUtf8(comando.readAllStandardOutput());
}

}  // namespace

namespace finestrax {

QString mappata(const QString& titolo) {
    const QString id = QRegularExpression(QStringLiteral(R"((0x[0-9a-f]+) ")") +
                                          QRegularExpression::escape(titolo) + QLatin1Char('"'))
                           .match(esegui(QStringLiteral("xwininfo"), {"-root", "-tree"}))
                           .captured(1);
    if (id.isEmpty()) return {};
    const bool visibile =
        esegui(QStringLiteral("xwininfo"), {"-id", id}).contains(QStringLiteral("IsViewable"));
    return visibile ? id : QString();
}

QString proprieta(const QString& id, const QString& nome) {
    return esegui(QStringLiteral("xprop"), {"-id", id, nome})
        .section(QStringLiteral(" = "), 1)
        .trimmed();
}

}  // namespace finestrax
