#pragma once
// The accounts the login window checks, managed by an administrator: a reduced register window
// with states of its own and a password typed twice.
#include "platform/ui/form.h"

class QLabel;
class QLineEdit;
class QPushButton;
namespace ui {
class DBEdit;
class DBGrid;
class DBRadioGroup;
} // namespace ui

class TFUsuarios : public ui::Form {
    Q_OBJECT
public:
    explicit TFUsuarios(QWidget* parent = nullptr);

    QLabel* Label1;
    ui::DBEdit* DBEdit1; // LOGIN
    QLabel* Label2;
    ui::DBEdit* DBEdit2; // SENHA
    QLabel* Label3;
    QLineEdit* Edit1; // the password again
    ui::DBRadioGroup* DBRadioGroup1;
    QPushButton* btnNovo;
    QPushButton* btnAlterar;
    QPushButton* btnSalvar;
    QPushButton* btnCancelar;
    QPushButton* btnExcluir;
    QPushButton* btnSair;
    ui::DBGrid* DBGrid1;

    void btnNovoClick();
    void btnAlterarClick();
    void btnSalvarClick();
    void btnCancelarClick();
    void btnExcluirClick();
    void btnSairClick();
    void editar();
    void navegar();

protected:
    void FormShow() override;

private:
    // The controls each state enables; the login box is enabled in both.
    void showState(bool editing);
    // Whether the stored account `login` is the only administrator: demoting or deleting it
    // would leave nobody able to manage the accounts.
    bool lastAdministratorGoes(const QString& login) const;

    QString loginAnterior; // the login of the row under change, as stored
};

extern TFUsuarios* FUsuarios;
