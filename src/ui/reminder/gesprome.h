// The reminder window GesProme: one due reminder, its alarm lead and its attached document.
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <optional>

#include "reminder/chiavepromemoria.h"
#include "reminder/comando.h"

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
    // The window of the reminder of `chiave`.
    GesProme(db::Database& visite, db::Database& work, PlatformServices& platform,
             const ChiavePromemoria& chiave, QWidget* parent = nullptr);
    ~GesProme() override;

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
    QPushButton* cmdCli(Comando comando) const;

    QRect pixel(int left, int top, int width, int height) const;
    QLabel* etichetta(QWidget* parent, const QString& nome, const QString& testo, const QRect& r);
    QLabel* riquadro(const QString& nome, const QRect& r);
    QPushButton* pulsante(QWidget* parent, const QString& nome, const QString& testo,
                          const QRect& r);

    db::Database& visite_;
    db::Database& work_;
    PlatformServices& platform_;
    const ChiavePromemoria chiave_;
    std::optional<Comando> comandoScelto_;
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
