#pragma once
// Lets a user change his own login name and password, given the current ones.
#include "platform/ui/form.h"

class QLineEdit;
class QPushButton;

class TFTrocarSenha : public ui::Form {
    Q_OBJECT
public:
    explicit TFTrocarSenha(QWidget* parent = nullptr);

    QLineEdit* Edit1; // current login
    QLineEdit* Edit2; // current password
    QLineEdit* Edit3; // new login
    QLineEdit* Edit4; // new password
    QLineEdit* Edit5; // new password again
    QPushButton* btnEntrar;
    QPushButton* btnCancelar;

    void btnEntrarClick();
    void btnCancelarClick();
};
