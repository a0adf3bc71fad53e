#include "app/about_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFSobre* FSobre = nullptr;

TFSobre::TFSobre(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FSobre"));
    setWindowTitle(QStringLiteral("Sobre"));
    auto* logo = new QLabel(this);
    logo->setPixmap(QPixmap(QStringLiteral(":/app/login.png")));
    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("Label1"));
    text->setWordWrap(true);
    text->setText(QStringLiteral(
        "<h2>Quiru</h2>"
        "<p>Controle de estoque para pequenas empresas.</p>"
        "<p>Cadastre produtos, grupos, fornecedores, clientes e centros de custo; registre cada "
        "entrada e saída de mercadorias e acompanhe o estoque atual, com consultas, relatórios, "
        "planilhas e gráficos.</p>"));
    // The version the main window's caption carries, which the update command compares.
    txtVersao = new QLabel(this);
    txtVersao->setObjectName(QStringLiteral("txtVersao"));
    if (DM) {
        DM->TBVERSAO->open();
        DM->TBVERSAO->first();
        txtVersao->setText(QStringLiteral("Versão ") +
                           DM->TBVERSAO->field(QStringLiteral("VERSAO")).asString());
    }
    btnFechar = new QPushButton(QStringLiteral("Fechar"), this);
    btnFechar->setObjectName(QStringLiteral("btnFechar"));
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(logo, 0, Qt::AlignHCenter);
    layout->addWidget(text);
    layout->addWidget(txtVersao);
    layout->addWidget(btnFechar, 0, Qt::AlignRight);
    setFixedWidth(420);
}
