#pragma once
// The manual backup of the open database and the restore of a backup over a chosen file.
#include "platform/ui/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TFBackup : public ui::Form {
    Q_OBJECT
public:
    explicit TFBackup(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* txtCaminhoRealizar;
    QPushButton* btnBuscar1;
    QPushButton* btnRealizar;
    QLabel* Label2;
    QLineEdit* txtCaminhoRestaurar;
    QPushButton* btnBuscar2;
    QLabel* Label3;
    QLineEdit* txtPara;
    QPushButton* btnPara;
    QPushButton* btnRestaurar;
    QPushButton* btnSair;

    void btnBuscar1Click();
    void btnBuscar2Click();
    void btnParaClick();
    void btnRealizarClick();
    void btnRestaurarClick();
    void btnSairClick();

protected:
    void FormShow() override;

private:
    // The "Abrir" buttons share one file name between uses: the backup's and the restore's
    // targets through a save dialog, the restore's source through an open dialog.
    void choose(QLineEdit* edit);
    void copyFailed(const QString& source, const QString& target, const QString& why);

    QString SaveDialog1 = QStringLiteral("QUIRU.GDB");
};

extern TFBackup* FBackup;
