#include "admin/backup_window.h"
#include "admin/database_files.h"
#include "admin/path_controls.h"
#include "core/access.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/os/os.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFBackup* FBackup = nullptr;

TFBackup::TFBackup(QWidget* parent) : ui::Form(parent, QStringLiteral("FBackup")) {
    setWindowTitle(QStringLiteral("Realizar / Restaurar Backup"));
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    auto* grid = new QGridLayout(this);
    auto label = [&](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    Label1 = label("Label1", QStringLiteral("Realizar Backup para: "));
    txtCaminhoRealizar = admin::pathEdit(this, "txtCaminhoRealizar");
    btnBuscar1 = admin::openButton(this, "btnBuscar1");
    btnRealizar = admin::commandButton(this, "btnRealizar", QStringLiteral("Realizar Backup"));
    Label2 = label("Label2", QStringLiteral("Restaurar Backup de: "));
    txtCaminhoRestaurar = admin::pathEdit(this, "txtCaminhoRestaurar");
    btnBuscar2 = admin::openButton(this, "btnBuscar2");
    Label3 = label("Label3", QStringLiteral("para: "));
    txtPara = admin::pathEdit(this, "txtPara");
    btnPara = admin::openButton(this, "btnPara");
    btnRestaurar = admin::commandButton(this, "btnRestaurar", QStringLiteral("Restaurar Backup"));
    btnSair = admin::commandButton(this, "btnSair", QStringLiteral("Sair"));

    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(txtCaminhoRealizar, 1, 0);
    grid->addWidget(btnBuscar1, 1, 1);
    grid->addWidget(btnRealizar, 2, 0, Qt::AlignRight);
    grid->addWidget(Label2, 3, 0, 1, 2);
    grid->addWidget(txtCaminhoRestaurar, 4, 0);
    grid->addWidget(btnBuscar2, 4, 1);
    grid->addWidget(Label3, 5, 0, 1, 2);
    grid->addWidget(txtPara, 6, 0);
    grid->addWidget(btnPara, 6, 1);
    grid->addWidget(btnRestaurar, 7, 0, Qt::AlignRight);
    grid->addWidget(btnSair, 8, 0, 1, 2, Qt::AlignRight);

    ui::connectGuarded(btnBuscar1, &QPushButton::clicked, this, [this] { btnBuscar1Click(); });
    ui::connectGuarded(btnBuscar2, &QPushButton::clicked, this, [this] { btnBuscar2Click(); });
    ui::connectGuarded(btnPara, &QPushButton::clicked, this, [this] { btnParaClick(); });
    ui::connectGuarded(btnRealizar, &QPushButton::clicked, this, [this] { btnRealizarClick(); });
    ui::connectGuarded(btnRestaurar, &QPushButton::clicked, this, [this] { btnRestaurarClick(); });
    ui::connectGuarded(btnSair, &QPushButton::clicked, this, [this] { btnSairClick(); });
}

void TFBackup::FormShow() {
    DM->TBCONFIG->close();
    DM->TBCONFIG->open();
    txtCaminhoRealizar->setText(
        DM->TBCONFIG->field(QStringLiteral("LOCAL_BACKUP_BANCO")).asString());
    txtCaminhoRestaurar->clear();
    txtPara->clear();
}

void TFBackup::choose(QLineEdit* edit) {
    const QString chosen =
        ui::dialogs().saveFile(this, QStringLiteral("Salvar como"), {}, SaveDialog1);
    if (!chosen.isEmpty())
        SaveDialog1 = chosen;
    edit->setText(SaveDialog1); // a cancelled dialog gives its last name again
}

void TFBackup::btnBuscar1Click() {
    choose(txtCaminhoRealizar);
}
void TFBackup::btnBuscar2Click() {
    // The file restored from is opened, not saved over: an open dialog, which never asks to
    // replace it. A database copy or a gbak backup, whatever its name.
    const QString chosen = ui::dialogs().openFile(
        this, QStringLiteral("Abrir"),
        QStringLiteral("Bancos de dados e cópias de segurança (*.GDB *.gdb *.FDB *.fdb *.FBK "
                       "*.fbk);;Todos os arquivos (*)"),
        SaveDialog1);
    if (!chosen.isEmpty()) {
        SaveDialog1 = chosen;
        txtCaminhoRestaurar->setText(chosen);
    }
}
void TFBackup::btnParaClick() {
    choose(txtPara);
}

void TFBackup::copyFailed(const QString& source, const QString& target, const QString& why) {
    ui::dialogs().error(
        this, QStringLiteral("Erro ao copiar ") + source + QStringLiteral(" para ") + target, why);
}

void TFBackup::btnRealizarClick() {
    DM->TBCONFIG->close();
    DM->TBCONFIG->open();
    const QString source = DM->SQLConnection1->param(QStringLiteral("Database"));
    const QString target = txtCaminhoRealizar->text();
    if (admin::isServerPath(source)) {
        ui::dialogs().message(this, admin::serverDatabaseMessage());
        return;
    }
    if (!os::fileExists(source))
        return;
    try {
        admin::copyOpenDatabase(*DM->SQLConnection1, target);
    } catch (const std::runtime_error& e) {
        copyFailed(source, target, QString::fromUtf8(e.what()));
        return;
    }
    ui::dialogs().message(this, QStringLiteral("Backup Realizado com Sucesso!"));
}

void TFBackup::btnRestaurarClick() {
    // A restore replaces every row of the shop: administrators only. A backup is anyone's.
    if (!administratorOnly(this))
        return;
    if (!ui::dialogs().question(
            this, QStringLiteral("Atenção"),
            QStringLiteral("Você realmente deseja restaurar o backup\n\nTODOS OS DADOS CONTIDOS "
                           "SERÃO SUBSTITUÍDOS PELO ARQUIVO DE BACKUP!")))
        return;
    data::SqlConnection* main = DM->SQLConnection1;
    const QString open = main->param(QStringLiteral("Database"));
    const QString source = txtCaminhoRestaurar->text();
    const QString target = txtPara->text();
    if (admin::isServerPath(open) || admin::isServerPath(target)) {
        ui::dialogs().message(this, admin::serverDatabaseMessage());
        return;
    }
    DM->TBCONFIG->close();
    DM->TBCONFIG->open();
    if (!os::fileExists(source))
        return;
    if (admin::samePath(source, open) || admin::samePath(source, target)) {
        ui::dialogs().message(
            this, QStringLiteral("Escolha um arquivo de backup: o arquivo escolhido é o próprio "
                                 "banco de dados de destino ou o que está aberto."));
        return;
    }
    // The main database is closed while its file may be replaced, and opened again whatever
    // happens, so the program goes on with the data it has when the restore does not succeed.
    main->close();
    try {
        admin::copyDatabase(*main, source, target);
    } catch (const std::runtime_error& e) {
        main->open();
        copyFailed(source, target, QString::fromUtf8(e.what()));
        return;
    }
    main->open();
    ui::dialogs().message(this, QStringLiteral("Backup Restaurado com Sucesso! A Aplicação será "
                                               "fechado para atualizar os dados."));
    QCoreApplication::quit();
}

void TFBackup::btnSairClick() {
    close();
}
