#include "admin/database_settings_window.h"
#include "admin/path_controls.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/errors.h"
#include "platform/format/format.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFBancoDeDados* FBancoDeDados = nullptr;

int backupMinutes(const QString& typed) {
    const auto minutes = format::parseInteger(typed.trimmed());
    if (!minutes)
        throw data::FieldError(
            QStringLiteral("'%1' não é um número inteiro válido de minutos.").arg(typed));
    // The automatic backup's timer counts its milliseconds in 32 bits, unsigned.
    constexpr qint64 longest = 0xFFFFFFFFLL / 60000;
    if (*minutes < 0 || *minutes > longest)
        throw data::FieldError(QStringLiteral("O backup automático pode ser feito a cada 0 a %1 "
                                              "minutos (0: nunca).")
                                   .arg(longest));
    return int(*minutes);
}

TFBancoDeDados::TFBancoDeDados(QWidget* parent)
    : ui::Form(parent, QStringLiteral("FBancoDeDados")) {
    setWindowTitle(QStringLiteral("Configurações do Banco de Dados"));
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    Label1 = named(new QLabel(QStringLiteral("Localização do Banco de Dados"), this), "Label1");
    txtBancoDeDados = admin::pathEdit(this, "txtBancoDeDados");
    btnBuscar1 = admin::openButton(this, "btnBuscar1");
    Label2 = named(new QLabel(QStringLiteral("Localização do Backup do Banco de Dados"), this),
                   "Label2");
    txtBackupBanco = admin::pathEdit(this, "txtBackupBanco");
    btnBuscar2 = admin::openButton(this, "btnBuscar2");
    CheckBox1 =
        named(new QCheckBox(QStringLiteral("Realizar Backup Automaticamente"), this), "CheckBox1");
    Label3 = named(new QLabel(QStringLiteral("Realizar Backup a cada "), this), "Label3");
    txtMinutos = named(new QLineEdit(this), "txtMinutos");
    txtMinutos->setMaximumWidth(80);
    Label4 = named(new QLabel(QStringLiteral(" minutos."), this), "Label4");
    btnConfirmar =
        admin::commandButton(this, "btnConfirmar", QStringLiteral("Confirmar Alterações"));
    btnCancelar = admin::commandButton(this, "btnCancelar", QStringLiteral("Cancelar Alterações"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(txtBancoDeDados, 1, 0);
    grid->addWidget(btnBuscar1, 1, 1);
    grid->addWidget(Label2, 2, 0, 1, 2);
    grid->addWidget(txtBackupBanco, 3, 0);
    grid->addWidget(btnBuscar2, 3, 1);
    grid->addWidget(CheckBox1, 4, 0, 1, 2);
    auto* minutes = new QHBoxLayout;
    minutes->addWidget(Label3);
    minutes->addWidget(txtMinutos);
    minutes->addWidget(Label4);
    minutes->addStretch();
    grid->addLayout(minutes, 5, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnConfirmar);
    buttons->addWidget(btnCancelar);
    grid->addLayout(buttons, 6, 0, 1, 2);

    ui::connectGuarded(btnBuscar1, &QPushButton::clicked, this, [this] { btnBuscar1Click(); });
    ui::connectGuarded(btnBuscar2, &QPushButton::clicked, this, [this] { btnBuscar2Click(); });
    ui::connectGuarded(btnConfirmar, &QPushButton::clicked, this, [this] { btnConfirmarClick(); });
    ui::connectGuarded(btnCancelar, &QPushButton::clicked, this, [this] { btnCancelarClick(); });
    ui::runGuarded([this] { FormCreate(); });
}

void TFBancoDeDados::FormCreate() {
    DM->TBCONFIG->close();
    DM->TBCONFIG->open();
    data::ClientDataSet& config = *DM->TBCONFIG;
    txtBancoDeDados->setText(config.field(QStringLiteral("LOCAL_BANCO_DADOS")).asString());
    txtBackupBanco->setText(config.field(QStringLiteral("LOCAL_BACKUP_BANCO")).asString());
    CheckBox1->setChecked(config.field(QStringLiteral("BACKUP_AUTOMATICO")).asString() ==
                          QLatin1String("SIM"));
    const data::Field& interval = config.field(QStringLiteral("INTERVALO_BACKUP"));
    txtMinutos->setText(interval.isNull() ? QString() : QString::number(interval.asInteger()));
}

void TFBancoDeDados::FormShow() {
    FormCreate();
}

void TFBancoDeDados::btnBuscar1Click() {
    const QString chosen = ui::dialogs().openFile(this, QStringLiteral("Abrir"), {}, OpenDialog1);
    if (!chosen.isEmpty())
        OpenDialog1 = chosen;
    txtBancoDeDados->setText(OpenDialog1);
}

void TFBancoDeDados::btnBuscar2Click() {
    const QString chosen =
        ui::dialogs().saveFile(this, QStringLiteral("Salvar como"), {}, SaveDialog1);
    if (!chosen.isEmpty())
        SaveDialog1 = chosen;
    txtBackupBanco->setText(SaveDialog1);
}

void TFBancoDeDados::btnConfirmarClick() {
    if (!ui::dialogs().question(
            this, QStringLiteral("Atenção"),
            QStringLiteral("Você realmente deseja salvar estas alterações na configuração do "
                           "banco de dados?\n\nATENÇÃO:ESTAS ALTERAÇÕES IMPLICARÃO EM MUDANÇAS NA "
                           "ESTRUTURA DO SISTEMA!")))
        return;
    // Refused before anything is edited: the window stays open with what was typed.
    const int minutes = backupMinutes(txtMinutos->text());
    data::ClientDataSet* config = DM->TBCONFIG;
    config->close();
    config->open();
    const bool empty = config->isEmpty();
    if (empty)
        config->insert();
    else
        config->edit();
    config->postAndApply([&] {
        if (empty)
            config->field(QStringLiteral("CODIGO")).setValue(1);
        config->field(QStringLiteral("LOCAL_BANCO_DADOS")).setAsString(txtBancoDeDados->text());
        config->field(QStringLiteral("LOCAL_BACKUP_BANCO")).setAsString(txtBackupBanco->text());
        config->field(QStringLiteral("BACKUP_AUTOMATICO"))
            .setAsString(CheckBox1->isChecked() ? QStringLiteral("SIM") : QStringLiteral("NAO"));
        config->field(QStringLiteral("INTERVALO_BACKUP")).setValue(minutes);
    });
    ui::dialogs().message(this, QStringLiteral("Alterações realizadas, o sistema será fechado para "
                                               "que as novas alterações sejam aplicadas, abra-o "
                                               "novamente em seguida."));
    QCoreApplication::quit();
}

void TFBancoDeDados::btnCancelarClick() {
    close();
}
