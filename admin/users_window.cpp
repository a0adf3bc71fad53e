#include "admin/users_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/sql_query.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/db_radio_group.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QVBoxLayout>

TFUsuarios* FUsuarios = nullptr;

namespace {
const QString kAdministrador = QStringLiteral("ADMINISTRADOR");
}

TFUsuarios::TFUsuarios(QWidget* parent) : ui::Form(parent, QStringLiteral("FUsuarios")) {
    setWindowTitle(QStringLiteral("Cadastro de Usuários do Sistema"));
    auto* tabs = new QTabWidget(this);
    auto* page = new QWidget;
    tabs->addTab(page, QString()); // one page, its tab caption blank
    auto* grid = new QGridLayout(page);

    auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    auto bound = [&](const char* name, const char* field) {
        auto* edit = named(new ui::DBEdit(page), name);
        edit->setDataSource(DM->DSUSUARIO);
        edit->setDataField(QLatin1String(field));
        return edit;
    };
    Label1 = named(new QLabel(QStringLiteral("Login"), page), "Label1");
    DBEdit1 = bound("DBEdit1", "LOGIN");
    // While browsing the login is shown, not typed: a rename there would show in the list
    // without ever being stored.
    DBEdit1->setAutoEdit(false);
    Label2 = named(new QLabel(QStringLiteral("Senha"), page), "Label2");
    DBEdit2 = bound("DBEdit2", "SENHA");
    DBEdit2->setEchoMode(QLineEdit::Password);
    Label3 = named(new QLabel(QStringLiteral("Repita a Senha"), page), "Label3");
    Edit1 = named(new QLineEdit(page), "Edit1");
    Edit1->setEchoMode(QLineEdit::Password);
    DBRadioGroup1 = named(new ui::DBRadioGroup(page), "DBRadioGroup1");
    DBRadioGroup1->setTitle(QStringLiteral("Tipo de Usuário: "));
    DBRadioGroup1->setItems({kAdministrador, QStringLiteral("USUARIO")});
    DBRadioGroup1->setColumns(2);
    DBRadioGroup1->setDataSource(DM->DSUSUARIO);
    DBRadioGroup1->setDataField(QStringLiteral("TIPO"));

    int row = 0;
    for (auto [label, control] :
         {std::pair<QLabel*, QWidget*>{Label1, DBEdit1}, {Label2, DBEdit2}, {Label3, Edit1}}) {
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row++, 1);
    }
    grid->addWidget(DBRadioGroup1, row++, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    auto button = [&](QPushButton*& b, const char* name, const QString& text,
                      void (TFUsuarios::*handler)()) {
        b = named(new QPushButton(text, page), name);
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        buttons->addWidget(b);
        ui::connectGuarded(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    button(btnNovo, "btnNovo", QStringLiteral("Novo"), &TFUsuarios::btnNovoClick);
    button(btnAlterar, "btnAlterar", QStringLiteral("Alterar"), &TFUsuarios::btnAlterarClick);
    button(btnSalvar, "btnSalvar", QStringLiteral("Salvar"), &TFUsuarios::btnSalvarClick);
    button(btnCancelar, "btnCancelar", QStringLiteral("Cancelar"), &TFUsuarios::btnCancelarClick);
    button(btnExcluir, "btnExcluir", QStringLiteral("Excluir"), &TFUsuarios::btnExcluirClick);
    button(btnSair, "btnSair", QStringLiteral("Sair"), &TFUsuarios::btnSairClick);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, row, 1);

    DBGrid1 = named(new ui::DBGrid(page), "DBGrid1");
    DBGrid1->setDataSource(DM->DSUSUARIO);
    DBGrid1->setColumns({{QStringLiteral("LOGIN"), QStringLiteral("Login"), 200},
                         {QStringLiteral("TIPO"), QStringLiteral("Tipo de Usuário"), 160}});
    grid->addWidget(DBGrid1, row, 0, 1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    resize(520, 460);
}

void TFUsuarios::FormShow() {
    data::ClientDataSet* users = DM->TBUSUARIO;
    users->close();
    users->open();
    if (!users->locate(QStringLiteral("LOGIN"), usuario_logado.toUpper(), data::CaseInsensitive) ||
        users->field(QStringLiteral("TIPO")).asString() != kAdministrador) {
        // Closed once it is up: a window cannot close while it is being shown.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    navegar();
}

void TFUsuarios::showState(bool editing) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{DBEdit2, Edit1, DBRadioGroup1, btnSalvar, btnCancelar})
        w->setEnabled(editing);
    for (QWidget* w : {btnNovo, btnAlterar, btnExcluir, btnSair})
        w->setEnabled(!editing);
}

void TFUsuarios::editar() {
    showState(true);
    // A new account starts with its login; a changed one with its password.
    if (DM->TBUSUARIO->state() == data::DataSetState::Insert)
        DBEdit1->setFocus();
    else
        DBEdit2->setFocus();
}

void TFUsuarios::navegar() {
    showState(false);
}

void TFUsuarios::btnNovoClick() {
    DM->TBUSUARIO->insert();
    // The password starts as whatever the repeat box holds.
    DM->TBUSUARIO->field(QStringLiteral("SENHA")).setAsString(Edit1->text());
    editar();
}

void TFUsuarios::btnAlterarClick() {
    loginAnterior = DM->TBUSUARIO->field(QStringLiteral("LOGIN")).asString();
    DM->TBUSUARIO->edit();
    DM->TBUSUARIO->field(QStringLiteral("SENHA")).setAsString(Edit1->text());
    editar();
}

bool TFUsuarios::lastAdministratorGoes(const QString& login) const {
    // The stored accounts decide, not the cache: another copy of the program may have changed
    // them.
    data::SqlQuery administrators(DM->SQLConnection1);
    administrators.sql()
        << QStringLiteral("select count(*), count(iif(LOGIN = :LOGIN, 1, null)) from TUSUARIO")
        << QStringLiteral("where TIPO = 'ADMINISTRADOR'");
    administrators.setText(QStringLiteral("LOGIN"), login);
    administrators.open();
    return administrators.value(0).toInt() == 1 && administrators.value(1).toInt() == 1;
}

void TFUsuarios::btnSalvarClick() {
    ui::writePendingInput(this);
    if (DBEdit2->text() != Edit1->text()) {
        ui::dialogs().message(this, QStringLiteral("Senhas não conferem!"));
        btnCancelarClick();
        return;
    }
    data::ClientDataSet* users = DM->TBUSUARIO;
    if (users->state() == data::DataSetState::Edit &&
        users->field(QStringLiteral("TIPO")).asString() != kAdministrador &&
        lastAdministratorGoes(loginAnterior)) {
        ui::dialogs().message(this, QStringLiteral("Este é o único administrador do sistema: "
                                                   "ele precisa continuar administrador, senão "
                                                   "ninguém poderá cuidar dos usuários."));
        return;
    }
    users->field(QStringLiteral("LOGIN")).setAsString(DBEdit1->text().toUpper());
    users->field(QStringLiteral("SENHA")).setAsString(DBEdit2->text().toUpper());
    users->post(); // an empty login is refused here, and the window stays editing
    const auto browse = qScopeGuard([this] { navegar(); });
    users->postAndApply();
}

void TFUsuarios::btnCancelarClick() {
    DM->TBUSUARIO->cancel();
    navegar();
}

void TFUsuarios::btnExcluirClick() {
    if (!ui::dialogs().question(this, QStringLiteral("Atenção"),
                                QStringLiteral("Você realmente deseja excluir o usuário?")))
        return;
    if (lastAdministratorGoes(DM->TBUSUARIO->field(QStringLiteral("LOGIN")).asString())) {
        ui::dialogs().message(this, QStringLiteral("Este é o único administrador do sistema e "
                                                   "não pode ser excluído: ninguém mais poderia "
                                                   "cuidar dos usuários."));
        return;
    }
    DM->TBUSUARIO->deleteRecord();
    DM->TBUSUARIO->postAndApply();
}

void TFUsuarios::btnSairClick() {
    close();
}
