// The reminder window GesProme: one due reminder, its alarm lead and its attached document.
#pragma once

#include <QDialog>
#include <QVariant>
#include <array>
#include <memory>
#include <optional>

#include "reminder/chiavepromemoria.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class CampoQuantita;
class SchedaPromemoria;
struct PlatformServices;
struct VistaPromemoria;
namespace db {
class Database;
}  // namespace db

class GesProme : public QDialog {
    Q_OBJECT
public:
    // The command buttons `cmdCli`, by position.
    enum Comando : qint16 { ImpostaAvviso = 0, NonAvvisarePiu = 1, Uscita = 2 };

    GesProme(db::Database& visite, db::Database& work, PlatformServices& platform,
             QWidget* parent = nullptr);
    ~GesProme() override;

    // The reminder's key, set before every showing. Each throws ConversionError when the
    // value cannot be converted, and then stores nothing.
    void setClCliente(const QVariant& valore);
    void setClAzione(const QVariant& valore);
    void setClData(const QVariant& valore);  // general date text, e.g. "06/12/2026 09:05:00"

    // Loads the reminder of the key (database errors propagate to the caller), shows the
    // window modally and, once it has closed, releases the reminder's table cursors.
    int exec() override;
    // open() and show() load the reminder as exec() does; closing releases its cursors.
    void setVisible(bool visible) override;

    // The last command button the operator pressed since the window was made, even one whose
    // answer the databases refused; nothing when the window was closed with F2 alone.
    std::optional<Comando> comandoScelto() const { return comandoScelto_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void creaRiquadriPromemoria();
    void creaDocumento();
    void creaAvviso();
    void collega();
    void carica();
    void centra();
    void mostra(const VistaPromemoria& vista);
    void eseguiComando(Comando comando);
    bool salvaRisposta(Comando comando);

    QRect pixel(int left, int top, int width, int height) const;
    QLabel* etichetta(QWidget* parent, const QString& nome, const QString& testo, const QRect& r);
    QLabel* riquadro(const QString& nome, const QRect& r);
    QPushButton* pulsante(QWidget* parent, const QString& nome, const QString& testo,
                          const QRect& r);

    db::Database& visite_;
    db::Database& work_;
    PlatformServices& platform_;
    std::optional<Comando> comandoScelto_;
    ChiavePromemoria chiave_;
    std::unique_ptr<SchedaPromemoria> scheda_;
    bool documentoStaccato_ = false;  // "X" pressed since the load

    std::array<QLabel*, 5> Label3_{};
    QLabel* lbCliCod_ = nullptr;
    QLabel* lbCliDes_ = nullptr;
    QLabel* lbAziCod_ = nullptr;
    QLabel* LbAziDes_ = nullptr;
    QLabel* lbScadDD_ = nullptr;
    QLabel* lbScadHH_ = nullptr;
    QPushButton* cmdDocumento_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QLabel* lbDocumento_ = nullptr;
    QGroupBox* Frame1_ = nullptr;
    CampoQuantita* Txt1_ = nullptr;
    QComboBox* cmbAllarm_ = nullptr;
    QLabel* lbSveglia_ = nullptr;
    std::array<QPushButton*, 3> cmdCli_{};
};
