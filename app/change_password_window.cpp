#include "app/change_password_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFTrocarSenha::TFTrocarSenha(QWidget* parent) : ui::Form(parent, QStringLiteral("FTrocarSenha")) {
    setWindowTitle(QStringLiteral("Trocar Usuário e Senha"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    auto* form = new QFormLayout;
    auto addEdit = [&](int n, const QString& caption, bool secret) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("Label%1").arg(n));
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(n));
        if (secret)
            edit->setEchoMode(QLineEdit::Password);
        form->addRow(label, edit);
        return edit;
    };
    Edit1 = addEdit(1, QStringLiteral("Usuário"), false);
    Edit2 = addEdit(2, QStringLiteral("Senha"), true);
    Edit3 = addEdit(3, QStringLiteral("Novo Usuário"), false);
    Edit4 = addEdit(4, QStringLiteral("Nova Senha"), true);
    Edit5 = addEdit(5, QStringLiteral("Repita a Nova Senha"), true);
    // The columns' lengths: a longer login or password could never be stored.
    Edit3->setMaxLength(20);
    Edit4->setMaxLength(10);
    Edit5->setMaxLength(10);

    btnEntrar = new QPushButton(QStringLiteral("Confirmar Alterações"), this);
    btnEntrar->setObjectName(QStringLiteral("btnEntrar"));
    btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {btnEntrar, btnCancelar}) {
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5}) {
        ui::attachKeyMovement(edit, edit == Edit5 ? ui::MoveKeys(ui::MoveKey::UpPrevious)
                                                  : ui::kEditMoveKeys);
        ui::attachKeyClick(edit, {Qt::Key_F5}, btnEntrar);
        ui::attachKeyClick(edit, {Qt::Key_Escape}, btnCancelar);
    }
    ui::attachKeyClick(Edit5, {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Down}, btnEntrar);
    ui::connectGuarded(btnEntrar, &QPushButton::clicked, this, [this] { btnEntrarClick(); });
    ui::connectGuarded(btnCancelar, &QPushButton::clicked, this, [this] { btnCancelarClick(); });
}

void TFTrocarSenha::btnEntrarClick() {
    data::ClientDataSet* users = DM->TBUSUARIO;
    users->open();
    if (!users->locate(QStringLiteral("LOGIN;SENHA"),
                       {Edit1->text().toUpper(), Edit2->text().toUpper()}, data::CaseInsensitive)) {
        ui::dialogs().message(this, QStringLiteral("Usuário e/ou Senhas Digitados Errados !"));
        return;
    }
    if (Edit4->text() != Edit5->text()) {
        ui::dialogs().message(
            this, QStringLiteral("Nova Senha digitada não confere com o campo de conferimento !"));
        Edit4->clear();
        Edit5->clear();
        Edit4->setFocus();
        return;
    }
    const QString newLogin = Edit3->text().toUpper();
    if (newLogin.trimmed().isEmpty()) {
        ui::dialogs().message(this, QStringLiteral("Informe o Novo Usuário !"));
        Edit3->setFocus();
        return;
    }
    // Asked of the database, not the cache: another window may have added the account.
    data::SqlQuery taken(DM->SQLConnection1);
    taken.sql() << QStringLiteral("select count(*) from TUSUARIO")
                << QStringLiteral("where LOGIN = :NOVO and LOGIN <> :ATUAL");
    taken.setText(QStringLiteral("NOVO"), newLogin);
    taken.setText(QStringLiteral("ATUAL"), users->field(QStringLiteral("LOGIN")).asString());
    taken.open();
    if (taken.value(0).toInt() > 0) {
        ui::dialogs().message(this, QStringLiteral("Já existe outro usuário com este nome !"));
        Edit3->setFocus();
        return;
    }
    users->edit();
    users->postAndApply([&] {
        users->field(QStringLiteral("LOGIN")).setAsString(newLogin);
        users->field(QStringLiteral("SENHA")).setAsString(Edit4->text().toUpper());
    });
    ui::dialogs().message(this, QStringLiteral("Alterações Realizadas com Sucesso !"));
    close();
}

void TFTrocarSenha::btnCancelarClick() {
    close();
}
