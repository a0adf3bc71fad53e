#pragma once
// The login window: the application's main window. Creating it prepares the start-up file and
// the data module; a successful login hides it and runs the main window on top of it.
#include "platform/ui/form.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TFLogin : public ui::Form {
    Q_OBJECT
public:
    // programFolder: where the start-up file and databases live (the executable's folder).
    // Throws data::DatabaseError when a database cannot be opened.
    explicit TFLogin(const QString& programFolder, QWidget* parent = nullptr);
    ~TFLogin() override;

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLabel* Label4;
    QLabel* Label5;
    QFrame* Bevel1;
    QLabel* Label6;
    QPushButton* btnEntrar;
    QPushButton* btnCancelar;

    void btnEntrarClick();
    void btnCancelarClick();
    void Label6Click();

protected:
    void FormShow() override;
    void FormClose() override; // ends the program
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(const QString& programFolder);
};

extern TFLogin* FLogin;
