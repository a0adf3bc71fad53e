#include "reports/movement_report_filter_window.h"
#include "platform/ui/radio_group.h"
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFFiltroMovimentacoes* FFiltroMovimentacoes = nullptr;

TFFiltroMovimentacoes::TFFiltroMovimentacoes(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FFiltroMovimentacoes"));
    setWindowTitle(QStringLiteral("Filtro de Relatório de Movimentações"));

    RGRelatorio = new ui::RadioGroup(
        QStringLiteral("Relatório de: "),
        {QStringLiteral("Entradas"), QStringLiteral("Saídas"), QStringLiteral("Entradas e Saídas")},
        3, this);
    RGRelatorio->setObjectName(QStringLiteral("RGRelatorio"));
    RGRelatorio->setItemIndex(2);
    RGFiltro =
        new ui::RadioGroup(QStringLiteral("Filtrar por: "),
                           {QStringLiteral("Produto"), QStringLiteral("Grupo"),
                            QStringLiteral("Subgrupo"), QStringLiteral("Fornecedor"),
                            QStringLiteral("Cliente"), QStringLiteral("Fornecedor e Produto"),
                            QStringLiteral("Cliente e Produto"), QStringLiteral("Selecionar tudo")},
                           3, this);
    RGFiltro->setObjectName(QStringLiteral("RGFiltro"));
    RGFiltro->setItemIndex(7);
    RGOrdenar = new ui::RadioGroup(QStringLiteral("Ordenar por: "),
                                   {QStringLiteral("Produto"), QStringLiteral("Fornecedor"),
                                    QStringLiteral("Cliente"), QStringLiteral("Data"),
                                    QStringLiteral("Valor")},
                                   5, this);
    RGOrdenar->setObjectName(QStringLiteral("RGOrdenar"));
    RGOrdenar->setItemIndex(0);

    btnSair = new QPushButton(QStringLiteral("Sair"), this);
    btnSair->setObjectName(QStringLiteral("btnSair"));
    connect(btnSair, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RGRelatorio);
    layout->addWidget(RGFiltro);
    layout->addWidget(RGOrdenar);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSair);
    layout->addLayout(buttons);
}
