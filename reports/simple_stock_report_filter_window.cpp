#include "reports/simple_stock_report_filter_window.h"
#include "platform/data/client_dataset.h"
#include "platform/data/sql_query.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/char_case.h"
#include "platform/ui/radio_group.h"
#include "reports/simple_stock_report_layout.h"
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFFiltroEstoqueSimples* FFiltroEstoqueSimples = nullptr;

TFFiltroEstoqueSimples::TFFiltroEstoqueSimples(QWidget* parent)
    : ReportFilterWindow(parent, QStringLiteral("FFiltroEstoqueSimples"),
                         QStringLiteral("Filtro de Relatório de Estoque")) {
    QWidget* p = page();
    auto edit = [p](const char* name, const QString& text) {
        auto* e = new QLineEdit(text, p);
        e->setObjectName(QString::fromLatin1(name));
        e->setValidator(new ui::UpperCaseValidator(e));
        e->setMaxLength(50); // as long as a description
        return e;
    };
    txtInicio = edit("txtInicio", QStringLiteral("AAAAAAAAAA"));
    txtFim = edit("txtFim", QStringLiteral("ZZZZZZZZZZ"));
    RGFiltrarPor = new ui::RadioGroup(
        QStringLiteral(" Filtrar por "),
        {QStringLiteral("PERÍODO DE NOMES"), QStringLiteral("SELECIONAR TODOS OS PRODUTOS")}, 1, p);
    RGFiltrarPor->setObjectName(QStringLiteral("RGFiltrarPor"));
    RGFiltrarPor->setItemIndex(1);
    RGOrdenar = new ui::RadioGroup(
        QStringLiteral(" Ordenar por "),
        {QStringLiteral("CÓDIGO CRESCENTE"), QStringLiteral("CÓDIGO DECRESCENTE"),
         QStringLiteral("DESCRIÇÃO CRESCENTE"), QStringLiteral("DESCRIÇÃO DECRESCENTE")},
        2, p);
    RGOrdenar->setObjectName(QStringLiteral("RGOrdenar"));
    RGOrdenar->setItemIndex(2);

    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("PRODUTOS DE: "), p));
    range->addWidget(txtInicio);
    range->addWidget(new QLabel(QStringLiteral(" À "), p));
    range->addWidget(txtFim);
    auto* layout = new QVBoxLayout;
    layout->addLayout(range);
    layout->addWidget(RGFiltrarPor);
    layout->addWidget(RGOrdenar);
    finish(layout);
    QWidget* const order[] = {txtInicio, txtFim, RGFiltrarPor, RGOrdenar, btnImprimir};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    ui::attachKeyMovement(txtInicio, ui::kEditMoveKeys);
    txtFim->installEventFilter(this);
}

void TFFiltroEstoqueSimples::FormShow() {
    txtInicio->setFocus();
}

bool TFFiltroEstoqueSimples::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtFim && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return ReportFilterWindow::eventFilter(watched, event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            btnVisualizar->click();
            return true;
        case Qt::Key_Up:
            focusPreviousChild();
            return true;
        default:
            break;
        }
    }
    return ReportFilterWindow::eventFilter(watched, event);
}

ReportLayout* TFFiltroEstoqueSimples::buildReport() {
    gerar_relatorio();
    return FRelatorioEstoqueSimples;
}

void TFFiltroEstoqueSimples::gerar_relatorio() {
    TFRelatorioEstoqueSimples* layout = newLayout(FRelatorioEstoqueSimples);
    layout->TBEstoque->close();
    data::SqlQuery& q = *layout->QEstoque;
    q.close();
    q.sql().clear();
    q.clearParams();
    q.sql() << QStringLiteral("SELECT TPRODUTO.CODIGO, TPRODUTO.DESCRICAO, TPRODUTO.UNIDADE, "
                              "TPRODUTO.ESTOQUEATUAL ")
            << QStringLiteral("FROM TPRODUTO ");
    if (RGFiltrarPor->itemIndex() == 0) {
        q.sql() << QStringLiteral("WHERE TPRODUTO.DESCRICAO >= :nomeinicio")
                << QStringLiteral("AND TPRODUTO.DESCRICAO <= :nomefim");
        q.setText(QStringLiteral("nomeinicio"), txtInicio->text());
        q.setText(QStringLiteral("nomefim"), txtFim->text());
    }
    const QString description = QStringLiteral("TPRODUTO.DESCRICAO");
    static const QString orders[] = {
        QStringLiteral("ORDER BY TPRODUTO.CODIGO"), QStringLiteral("ORDER BY TPRODUTO.CODIGO DESC"),
        "ORDER BY " + byName(description) + ", TPRODUTO.CODIGO",
        "ORDER BY " + byName(description, true) + ", TPRODUTO.CODIGO DESC"};
    q.sql() << orders[std::clamp(RGOrdenar->itemIndex(), 0, 3)];
    layout->TBEstoque->open();
}
