#include "reports/cost_centre_report_filter_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/dialogs.h"
#include "reports/cost_centre_report_layout.h"
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFFiltroCentroCusto* FFiltroCentroCusto = nullptr;

TFFiltroCentroCusto::TFFiltroCentroCusto(QWidget* parent)
    : ReportFilterWindow(parent, QStringLiteral("FFiltroCentroCusto"),
                         QStringLiteral("Filtro de Relatório de Centro de Custo")) {
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    CBCentro = makeComboBox(page(), "CBCentro", false);
    CBCentro->setMinimumWidth(320);
    auto* label = new QLabel(QStringLiteral("Selecione um Centro de Custo: "), page());
    label->setBuddy(CBCentro);
    auto* layout = new QVBoxLayout;
    layout->addWidget(label);
    layout->addWidget(CBCentro);
    layout->addStretch();
    finish(layout);
    setTabOrder(CBCentro, btnImprimir);
}

void TFFiltroCentroCusto::FormShow() {
    DM->TBVERSAO->close();
    DM->TBVERSAO->open();
    DM->TBPRODUTOS->close(); // the exits' costs take the products' present prices
    DM->TBPRODUTOS->open();
    DM->TBCENTRO->close();
    fillComboBox(CBCentro, DM->TBCENTRO, QStringLiteral("DESCRICAO"));
}

ReportLayout* TFFiltroCentroCusto::buildReport() {
    return montar_relatorio() ? FRelatorioCentro : nullptr;
}

bool TFFiltroCentroCusto::montar_relatorio() {
    data::ClientDataSet* centres = DM->TBCENTRO;
    centres->close();
    centres->open();
    // A report of no centre would be empty: the message is the whole answer.
    if (!centres->locate(QStringLiteral("DESCRICAO"), CBCentro->currentText())) {
        ui::dialogs().message(this, QStringLiteral("Centro de Custo não encontrado!"));
        return false;
    }
    const int codigo = int(centres->field(QStringLiteral("CODIGO")).asInteger());

    TFRelatorioCentro* layout = newLayout(FRelatorioCentro);
    layout->Explicacao->setCaption(
        QStringLiteral("Este relatório diz respeito as movimentações do centro de custo: ") +
        CBCentro->currentText());
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
            << QStringLiteral(", TMOVIMENTACAO.PRODUTO AS CODIGOPRODUTO")
            << QStringLiteral(", TPRODUTO.DESCRICAO as produto ")
            << QStringLiteral(", TFORNECEDOR.DESCRICAO as fornecedor ")
            << QStringLiteral(", TCLIENTE.NOME as cliente ")
            << QStringLiteral(", TMOVIMENTACAO.TIPO ") << QStringLiteral("from TMOVIMENTACAO ")
            << QStringLiteral("left join TPRODUTO on(TMOVIMENTACAO.PRODUTO = TPRODUTO.CODIGO) ")
            << QStringLiteral(
                   "left join TFORNECEDOR on(TMOVIMENTACAO.FORNECEDOR = TFORNECEDOR.CODIGO) ")
            << QStringLiteral("left join TCLIENTE on(TMOVIMENTACAO.CLIENTE = TCLIENTE.CODIGO) ")
            << QStringLiteral("where TMOVIMENTACAO.CENTRO_CUSTO = :codigo")
            << QStringLiteral("ORDER BY TMOVIMENTACAO.DATA, TMOVIMENTACAO.HORARIO, "
                              "TMOVIMENTACAO.CODIGO");
    q.setInteger(QStringLiteral("codigo"), codigo);
    return layout->openRows(this);
}
