// A window's saved state, size and place in the configuration file, worked out in twips.
#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <optional>

class IniLetto;

enum class StatoFinestra : qint16 { Normale = 0, Minimizzata = 1, Massimizzata = 2 };

class GeometriaFinestra {
public:
    // `sezione` is the window's name, `schermo` the screen's size in twips.
    GeometriaFinestra(QString fileIni, QString sezione, QSize schermo);

    // The outer rectangle the window opens with, starting from its default outer size;
    // nothing when it reopens maximised. Reads the file once.
    std::optional<QRect> daRipristinare(QSizeF progetto, bool ridimensionabile) const;
    // Records the window as it closes, `esterno` being its outer rectangle, in one write of
    // the file; why nothing was stored, if nothing was.
    std::optional<QString> salva(StatoFinestra stato, bool ridimensionabile,
                                 const QRectF& esterno) const;

private:
    qint64 leggi(const IniLetto& ini, const QString& chiave, qint64 minimo, qint64 massimo) const;
    int lunghezza(const IniLetto& ini, const QString& chiave, double progetto, int schermo,
                  bool ridimensionabile) const;
    int posizione(const IniLetto& ini, const QString& chiave, int lunghezza, int schermo) const;

    QString fileIni_;
    QString sezione_;
    QSize schermo_;
};
