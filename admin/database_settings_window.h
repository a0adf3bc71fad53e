#pragma once
// The settings row: where the database and its backup copy are, and whether and how often the
// automatic backup runs. Saving ends the program, so the new settings apply at the next start.
#include "platform/ui/form.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFBancoDeDados : public ui::Form {
    Q_OBJECT
public:
    explicit TFBancoDeDados(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* txtBancoDeDados;
    QPushButton* btnBuscar1;
    QLabel* Label2;
    QLineEdit* txtBackupBanco;
    QPushButton* btnBuscar2;
    QCheckBox* CheckBox1;
    QLabel* Label3;
    QLineEdit* txtMinutos;
    QLabel* Label4;
    QPushButton* btnConfirmar;
    QPushButton* btnCancelar;

    void FormCreate();
    void btnBuscar1Click();
    void btnBuscar2Click();
    void btnConfirmarClick();
    void btnCancelarClick();

protected:
    void FormShow() override;

private:
    // Each dialog keeps its file name between uses; a cancelled one gives it again.
    QString OpenDialog1;
    QString SaveDialog1 = QStringLiteral("QUIRU.GDB");
};

extern TFBancoDeDados* FBancoDeDados;

// The backup interval typed, in minutes: a whole number from 0 (no automatic backup) to the
// longest a timer can wait. Throws data::FieldError in Portuguese otherwise.
int backupMinutes(const QString& typed);
