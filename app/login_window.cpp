#include "app/login_window.h"
#include "app/change_password_window.h"
#include "app/main_window.h"
#include "core/data_module.h"
#include "core/database_arrival.h"
#include "core/globals.h"
#include "core/startup_file.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFLogin* FLogin = nullptr;

namespace {
QLabel* picture(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(QPixmap(QStringLiteral(":/app/login.png")));
    label->setFixedSize(128, 128);
    return label;
}
} // namespace

TFLogin::TFLogin(const QString& programFolder, QWidget* parent)
    : ui::Form(parent, QStringLiteral("FLogin")) {
    setWindowTitle(QStringLiteral("Login"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setStyleSheet(QStringLiteral("TFLogin { background: white; }"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto* Label1 = new QLabel(QStringLiteral("Usuário"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    auto* Label2 = new QLabel(QStringLiteral("Senha"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEchoMode(QLineEdit::Password);
    Label6 = new QLabel(QStringLiteral("Alterar Ususário ou Senha"), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    Label6->setCursor(Qt::PointingHandCursor);
    Label6->installEventFilter(this);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::StyledPanel);
    Label4 = new QLabel(QStringLiteral("Usuário: master"), Bevel1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label5 = new QLabel(QStringLiteral("  Senha: trigal"), Bevel1);
    Label5->setObjectName(QStringLiteral("Label5"));
    auto* hint = new QVBoxLayout(Bevel1);
    hint->addWidget(Label4);
    hint->addWidget(Label5);

    btnEntrar = new QPushButton(QStringLiteral("Entrar"), this);
    btnEntrar->setObjectName(QStringLiteral("btnEntrar"));
    btnEntrar->setIcon(QIcon::fromTheme(QStringLiteral("go-next")));
    btnEntrar->setLayoutDirection(Qt::RightToLeft); // picture right of the text
    btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    btnCancelar->setIcon(QIcon::fromTheme(QStringLiteral("process-stop")));
    btnCancelar->setLayoutDirection(Qt::RightToLeft);
    for (QPushButton* b : {btnEntrar, btnCancelar}) {
        b->setCursor(Qt::PointingHandCursor);
        b->setAutoDefault(false);
    }

    auto* form = new QGridLayout;
    form->addWidget(Label1, 0, 0);
    form->addWidget(Edit1, 1, 0);
    form->addWidget(Label2, 2, 0);
    form->addWidget(Edit2, 3, 0);
    form->addWidget(Label6, 4, 0);
    form->addWidget(Bevel1, 5, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnEntrar);
    buttons->addWidget(btnCancelar);
    form->addLayout(buttons, 6, 0);
    auto* row = new QHBoxLayout(this);
    row->addWidget(picture(this, "Image1"), 0, Qt::AlignTop);
    row->addLayout(form, 1);
    row->addWidget(picture(this, "Image2"), 0, Qt::AlignTop);
    setMinimumWidth(560);

    ui::attachKeyMovement(Edit1);
    ui::attachKeyMovement(Edit2, ui::MoveKey::UpPrevious);
    ui::attachKeyClick(Edit2, {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Down}, btnEntrar);
    for (QLineEdit* edit : {Edit1, Edit2})
        ui::attachKeyClick(edit, {Qt::Key_Escape}, btnCancelar);
    ui::connectGuarded(btnEntrar, &QPushButton::clicked, this, [this] { btnEntrarClick(); });
    ui::connectGuarded(btnCancelar, &QPushButton::clicked, this, [this] { btnCancelarClick(); });

    FormCreate(programFolder);
}

TFLogin::~TFLogin() {
    if (FLogin == this)
        FLogin = nullptr;
}

void TFLogin::FormCreate(const QString& programFolder) {
    caminho_sistema = programFolder;
    startup::writeDefaultWhenEmpty(caminho_sistema);
    settleMainDatabase(caminho_sistema, this); // what a shop brings from an older installation
    DM = new TDM(this);
}

void TFLogin::FormShow() {
    DM->TBUSUARIO->open();
    const bool defaultAccount = DM->TBUSUARIO->locate(
        QStringLiteral("LOGIN;SENHA"), {QStringLiteral("MASTER"), QStringLiteral("TRIGAL")});
    Label4->setVisible(defaultAccount);
    Label5->setVisible(defaultAccount);
    Bevel1->setVisible(defaultAccount);
    if (defaultAccount) {
        Edit1->setText(QStringLiteral("MASTER"));
        Edit2->setText(QStringLiteral("TRIGAL"));
    }
}

void TFLogin::btnEntrarClick() {
    DM->TBUSUARIO->open();
    // An older program may have stored logins in lower case: compared as typed, in upper case.
    const bool found = DM->TBUSUARIO->locate(QStringLiteral("LOGIN;SENHA"),
                                             {Edit1->text().toUpper(), Edit2->text().toUpper()},
                                             data::CaseInsensitive);
    if (!found) {
        ui::dialogs().message(this, QStringLiteral("Usuário ou Senha não Conferem !"));
        Edit1->clear();
        Edit2->clear();
        Edit1->setFocus();
        return;
    }
    hide();
    usuario_logado = Edit1->text();
    ui::openModal(this, FMenu);
}

void TFLogin::btnCancelarClick() {
    close();
}

void TFLogin::Label6Click() {
    ui::openModal<TFTrocarSenha>(this, [](TFTrocarSenha*) {});
}

void TFLogin::FormClose() {
    QCoreApplication::quit(); // closing the login window ends the program
}

bool TFLogin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label6 && event->type() == QEvent::MouseButtonRelease) {
        ui::runGuarded([this] { Label6Click(); });
        return true;
    }
    return ui::Form::eventFilter(watched, event);
}
