#include "reports/movement_report_filter_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/format/format.h"
#include "platform/report/progress.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "platform/ui/mask_edit.h"
#include "platform/ui/radio_group.h"
#include "reports/movement_report_layout.h"
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFFiltroMovimentacoes* FFiltroMovimentacoes = nullptr;

TFFiltroMovimentacoes::TFFiltroMovimentacoes(QWidget* parent)
    : ReportFilterWindow(parent, QStringLiteral("FFiltroMovimentacoes"),
                         QStringLiteral("Filtro de Relatório de Movimentações")) {
    buildLayout();
}

void TFFiltroMovimentacoes::buildLayout() {
    QWidget* p = page();
    RGRelatorio = new ui::RadioGroup(
        QStringLiteral("Relatório de: "),
        {QStringLiteral("Entradas"), QStringLiteral("Saídas"), QStringLiteral("Entradas e Saídas")},
        3, p);
    RGRelatorio->setObjectName(QStringLiteral("RGRelatorio"));
    RGRelatorio->setItemIndex(2);
    RGFiltro =
        new ui::RadioGroup(QStringLiteral("Filtrar por: "),
                           {QStringLiteral("Produto"), QStringLiteral("Grupo"),
                            QStringLiteral("Subgrupo"), QStringLiteral("Fornecedor"),
                            QStringLiteral("Cliente"), QStringLiteral("Fornecedor e Produto"),
                            QStringLiteral("Cliente e Produto"), QStringLiteral("Selecionar tudo")},
                           3, p);
    RGFiltro->setObjectName(QStringLiteral("RGFiltro"));
    RGFiltro->setItemIndex(7);
    RGOrdenar = new ui::RadioGroup(QStringLiteral("Ordenar por: "),
                                   {QStringLiteral("Produto"), QStringLiteral("Fornecedor"),
                                    QStringLiteral("Cliente"), QStringLiteral("Data"),
                                    QStringLiteral("Valor")},
                                   5, p);
    RGOrdenar->setObjectName(QStringLiteral("RGOrdenar"));
    RGOrdenar->setItemIndex(0);

    txtDataInicial = makeDateEdit(p, "txtDataInicial");
    txtDataFinal = makeDateEdit(p, "txtDataFinal");
    CBCliente = makeComboBox(p, "CBCliente", true);
    CBProduto = makeComboBox(p, "CBProduto", true);
    CBFornecedor = makeComboBox(p, "CBFornecedor", true);
    CBGrupo = makeComboBox(p, "CBGrupo", true);
    CBSubgrupo = makeComboBox(p, "CBSubgrupo", true);

    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel(QStringLiteral("Período de: "), p));
    period->addWidget(txtDataInicial);
    period->addWidget(new QLabel(QStringLiteral(" à "), p));
    period->addWidget(txtDataFinal);
    period->addStretch();

    auto* names = new QGridLayout;
    int cell = 0;
    for (auto [caption, list] : {std::pair{"Cliente", CBCliente},
                                 {"Produto", CBProduto},
                                 {"Fornecedor", CBFornecedor},
                                 {"Grupo", CBGrupo},
                                 {"Subgrupo", CBSubgrupo}}) {
        auto* label = new QLabel(QString::fromUtf8(caption), p);
        label->setBuddy(list);
        names->addWidget(label, (cell / 2) * 2, cell % 2);
        names->addWidget(list, (cell / 2) * 2 + 1, cell % 2);
        ++cell;
    }

    auto* layout = new QVBoxLayout;
    layout->addWidget(RGRelatorio);
    layout->addWidget(RGFiltro);
    layout->addWidget(RGOrdenar);
    layout->addLayout(period);
    layout->addLayout(names);
    finish(layout);

    QWidget* const order[] = {RGRelatorio,  RGFiltro,   RGOrdenar,  txtDataInicial,
                              txtDataFinal, CBCliente,  CBProduto,  CBFornecedor,
                              CBGrupo,      CBSubgrupo, btnImprimir};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    ui::attachKeyMovement(txtDataInicial, ui::kEditMoveKeys);
    ui::attachKeyMovement(txtDataFinal, ui::kEditMoveKeys);
    for (QComboBox* list : {CBCliente, CBProduto, CBFornecedor, CBGrupo, CBSubgrupo})
        list->installEventFilter(this);
}

void TFFiltroMovimentacoes::FormShow() {
    fillComboBox(CBProduto, DM->TBPRODUTOS, QStringLiteral("DESCRICAO"));
    fillComboBox(CBGrupo, DM->TBGRUPO, QStringLiteral("DESCRICAO"));
    fillComboBox(CBSubgrupo, DM->TBSUBGRUPO, QStringLiteral("DESCRICAO"));
    fillComboBox(CBFornecedor, DM->TBFORNECEDOR, QStringLiteral("DESCRICAO"));
    fillComboBox(CBCliente, DM->TBCLIENTE, QStringLiteral("NOME"));
    const format::PeriodTexts period = format::monthPeriod(QDate::currentDate());
    txtDataInicial->setText(period.first);
    txtDataFinal->setText(period.last);
}

bool TFFiltroMovimentacoes::eventFilter(QObject* watched, QEvent* event) {
    // Enter in any of the name lists previews at once with the choices as they are.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnVisualizar->click();
            return true;
        }
    }
    return ReportFilterWindow::eventFilter(watched, event);
}

ReportLayout* TFFiltroMovimentacoes::buildReport() {
    return montar_relatorio() ? FRelatorioMovimentacoes : nullptr;
}

bool TFFiltroMovimentacoes::locateName(QComboBox* list, data::ClientDataSet* dataset,
                                       const QString& column, const QString& notFound) {
    dataset->open();
    if (dataset->locate(column, list->currentText()))
        return true;
    ui::dialogs().message(this, notFound);
    close();
    return false;
}

bool TFFiltroMovimentacoes::addFilter(data::SqlQuery& q) {
    const QString codigo = QStringLiteral("CODIGO");
    auto product = [&] {
        if (!locateName(CBProduto, DM->TBPRODUTOS, QStringLiteral("DESCRICAO"),
                        QStringLiteral("Produto não encontrado!")))
            return false;
        q.sql() << QStringLiteral(" and TMOVIMENTACAO.PRODUTO = :produto ");
        q.setInteger(QStringLiteral("produto"), DM->TBPRODUTOS->field(codigo).asInteger());
        return true;
    };
    auto supplier = [&] {
        if (!locateName(CBFornecedor, DM->TBFORNECEDOR, QStringLiteral("DESCRICAO"),
                        QStringLiteral("Fornecedor não encontrado!")))
            return false;
        q.sql() << QStringLiteral(" and TMOVIMENTACAO.FORNECEDOR = :fornecedor ");
        q.setInteger(QStringLiteral("fornecedor"), DM->TBFORNECEDOR->field(codigo).asInteger());
        return true;
    };
    auto customer = [&] {
        if (!locateName(CBCliente, DM->TBCLIENTE, QStringLiteral("NOME"),
                        QStringLiteral("Cliente não encontrado!")))
            return false;
        q.sql() << QStringLiteral(" and TMOVIMENTACAO.CLIENTE = :cliente ");
        q.setInteger(QStringLiteral("cliente"), DM->TBCLIENTE->field(codigo).asInteger());
        return true;
    };
    switch (RGFiltro->itemIndex()) {
    case 0:
        return product();
    case 1:
        if (!locateName(CBGrupo, DM->TBGRUPO, QStringLiteral("DESCRICAO"),
                        QStringLiteral("Grupo não encontrado!")))
            return false;
        q.sql() << QStringLiteral(" and TMOVIMENTACAO.PRODUTO = TPRODUTO.CODIGO ")
                << QStringLiteral(" and TPRODUTO.GRUPO = :grupo ");
        q.setInteger(QStringLiteral("grupo"), DM->TBGRUPO->field(codigo).asInteger());
        return true;
    case 2: {
        if (!locateName(CBSubgrupo, DM->TBSUBGRUPO, QStringLiteral("DESCRICAO"),
                        QStringLiteral("Subgrupo não encontrado!")))
            return false;
        q.sql() << QStringLiteral(" and TMOVIMENTACAO.PRODUTO = TPRODUTO.CODIGO ")
                << QStringLiteral(" and TPRODUTO.GRUPO = :grupo ")
                << QStringLiteral(" and TPRODUTO.SUBGRUPO = :subgrupo ");
        const data::Field& grupo = DM->TBSUBGRUPO->field(QStringLiteral("GRUPO"));
        // A subgroup filed under no group matches no product: bound as an empty value.
        if (grupo.isNull())
            q.setNull(QStringLiteral("grupo"), data::FieldKind::Integer);
        else
            q.setInteger(QStringLiteral("grupo"), grupo.asInteger());
        q.setInteger(QStringLiteral("subgrupo"), DM->TBSUBGRUPO->field(codigo).asInteger());
        return true;
    }
    case 3:
        return supplier();
    case 4:
        return customer();
    case 5:
        return product() && supplier();
    case 6:
        return product() && customer();
    default:
        return true;
    }
}

bool TFFiltroMovimentacoes::montar_relatorio() {
    // The period is checked before anything is built: a bad date leaves the last report as it was.
    const QDate inicio = periodDate(txtDataInicial);
    const QDate fim = periodDate(txtDataFinal);

    TFRelatorioMovimentacoes* layout = newLayout(FRelatorioMovimentacoes);
    data::SqlQuery& q = *layout->QRelatorio;
    q.close();
    q.sql().clear();
    q.clearParams();
    q.sql() << QStringLiteral("select TMOVIMENTACAO.CODIGO ")
            << QStringLiteral(", TMOVIMENTACAO.QUANTIDADE ")
            << QStringLiteral(", TMOVIMENTACAO.PRECO_UNITARIO ")
            << QStringLiteral(", TMOVIMENTACAO.PRECO_TOTAL ")
            << QStringLiteral(", TMOVIMENTACAO.DATA ") << QStringLiteral(", TMOVIMENTACAO.HORARIO ")
            << QStringLiteral(", TMOVIMENTACAO.NOTA_COMPRA ")
            << QStringLiteral(", TPRODUTO.DESCRICAO as produto ")
            << QStringLiteral(", TFORNECEDOR.DESCRICAO as fornecedor ")
            << QStringLiteral(", TCLIENTE.NOME as cliente ")
            << QStringLiteral(", TMOVIMENTACAO.TIPO ") << QStringLiteral("from TMOVIMENTACAO ")
            << QStringLiteral("left join TPRODUTO on(TMOVIMENTACAO.PRODUTO = TPRODUTO.CODIGO) ")
            << QStringLiteral(
                   "left join TFORNECEDOR on(TMOVIMENTACAO.FORNECEDOR = TFORNECEDOR.CODIGO) ")
            << QStringLiteral("left join TCLIENTE on(TMOVIMENTACAO.CLIENTE = TCLIENTE.CODIGO) ")
            << QStringLiteral(" where TMOVIMENTACAO.DATA >= :datainicial ")
            << QStringLiteral(" and TMOVIMENTACAO.DATA <= :datafinal ");
    q.setDate(QStringLiteral("datainicial"), inicio);
    q.setDate(QStringLiteral("datafinal"), fim);

    const int relatorio = RGRelatorio->itemIndex();
    if (relatorio == 0 || relatorio == 1) {
        q.sql() << QStringLiteral("and TMOVIMENTACAO.TIPO = :tipo ");
        q.setText(QStringLiteral("tipo"),
                  relatorio == 0 ? QStringLiteral("ENTRADA") : QStringLiteral("SAIDA"));
    }
    if (!addFilter(q))
        return false;
    static const QString orders[] = {
        " ORDER BY " + byName(QStringLiteral("TPRODUTO.DESCRICAO")) + kMovementsInTimeOrder,
        " ORDER BY " + byName(QStringLiteral("TFORNECEDOR.DESCRICAO")) + kMovementsInTimeOrder,
        " ORDER BY " + byName(QStringLiteral("TCLIENTE.NOME")) + kMovementsInTimeOrder,
        QStringLiteral(" ORDER BY TMOVIMENTACAO.DATA, TMOVIMENTACAO.HORARIO, TMOVIMENTACAO.CODIGO"),
        QStringLiteral(" ORDER BY TMOVIMENTACAO.PRECO_TOTAL") + kMovementsInTimeOrder};
    q.sql() << orders[std::clamp(RGOrdenar->itemIndex(), 0, 4)];

    // Totals: the same text and parameters run again in QSoma and walked to the end.
    copyQuery(q, *layout->QSoma);
    if (!layout->openRows(this))
        return false;
    double somaPreco = 0, somaQuantidade = 0;
    {
        report::Progress progress(this, QStringLiteral("Somando as movimentações..."));
        data::SqlQuery& soma = *layout->QSoma;
        soma.open();
        int walked = 0;
        for (; !soma.eof(); soma.next()) {
            somaPreco += soma.value(QStringLiteral("PRECO_TOTAL")).toDouble();
            somaQuantidade += soma.value(QStringLiteral("QUANTIDADE")).toDouble();
            if (++walked % 2000 == 0 && !progress.step(walked)) {
                soma.close();
                return false;
            }
        }
        soma.close();
    }
    layout->SomaTotal->setCaption(
        format::formatFloat(QStringLiteral("R$###,###,###,##0.00"), somaPreco));
    layout->QuantidadeMovimentada->setCaption(quantityText(somaQuantidade));

    const int filtro = RGFiltro->itemIndex();
    const QString prefix =
        QStringLiteral("Este relatório diz respeito as movimentações de estoque ");
    QString explicacao;
    switch (filtro) {
    case 0:
        explicacao = prefix + QStringLiteral("do produto ") + CBProduto->currentText();
        break;
    case 1:
        explicacao = prefix + QStringLiteral("do grupo ") + CBGrupo->currentText();
        break;
    case 2:
        explicacao = prefix + QStringLiteral("do subgrupo ") + CBSubgrupo->currentText();
        break;
    case 3:
        explicacao = prefix + QStringLiteral("do fornecedor ") + CBFornecedor->currentText();
        break;
    case 4:
        explicacao = prefix + QStringLiteral("do cliente ") + CBCliente->currentText();
        break;
    case 5:
        explicacao = prefix + QStringLiteral("do fornecedor ") + CBFornecedor->currentText() +
                     QStringLiteral(" e do produto ") + CBProduto->currentText();
        break;
    case 6:
        explicacao = prefix + QStringLiteral("do cliente ") + CBCliente->currentText() +
                     QStringLiteral(" e do produto ") + CBProduto->currentText();
        break;
    default:
        explicacao = QStringLiteral("Este relatório diz respeito a todas as movimentações de "
                                    "estoque registradas no sistema.");
    }
    layout->Explicacao->setCaption(explicacao);
    layout->Explicacao2->setCaption(QStringLiteral("no período de ") + txtDataInicial->text() +
                                    QStringLiteral(" à ") + txtDataFinal->text());
    static const QString titles[] = {QStringLiteral("Relatório de Entradas"),
                                     QStringLiteral("Relatório de Saídas"),
                                     QStringLiteral("Relatório de Movimentações do Estoque")};
    layout->Titulo->setCaption(titles[std::clamp(relatorio, 0, 2)]);
    layout->QuickRep1.documentName = layout->Titulo->caption;
    return true;
}
