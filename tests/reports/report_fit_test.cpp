// Every text of the four reports has its place at the widest values a large shop stores: no two
// texts print over or against each other, and no number is cut.
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/mask_edit.h"
#include "platform/ui/radio_group.h"
#include "reports/cost_centre_report_filter_window.h"
#include "reports/cost_centre_report_layout.h"
#include "reports/movement_report_filter_window.h"
#include "reports/movement_report_layout.h"
#include "reports/simple_stock_report_filter_window.h"
#include "reports/simple_stock_report_layout.h"
#include "reports/stock_report_filter_window.h"
#include "reports/stock_report_layout.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/test_input.h"
#include <QComboBox>

namespace {

class ReportFit : public reports_test::ReportFixture {
protected:
    // The widest row of each kind: names at their columns' length in a wide letter, codes,
    // prices, quantities and stocks a digit beyond the large shop's, a negative stock.
    void SetUp() override {
        ReportFixture::SetUp();
        const QString wide(50, 'W');
        exec("update TEMPRESA set RAZAO_SOCIAL = '" + wide + "', ENDERECO = '" + QString(80, 'W') +
             "', CIDADE = '" + QString(20, 'W') + "', CNPJ = '99.999.999/9999-99'");
        exec("insert into TGRUPO values (9, '" + wide + "')");
        exec("insert into TSUBGRUPO values (9, '" + wide + "', 9)");
        exec("insert into TFORNECEDOR (CODIGO, DESCRICAO) values (9, '" + wide + "')");
        exec("insert into TCLIENTE (CODIGO, NOME) values (9, '" + wide + "')");
        exec("insert into CENTRO_CUSTO values (9, 'LARGO')");
        exec("insert into TPRODUTO (CODIGO, DESCRICAO, REFERENCIA, UNIDADE, GRUPO, SUBGRUPO, "
             "FORNECEDOR, PRECO_COMPRA, PRECO_VENDA, ESTOQUEATUAL, ESTOQUE_MINIMO, "
             "ESTOQUE_MAXIMO) values (100000, '" +
             wide + "', '" + wide +
             "', 'WWWWWWWWWW', 9, 9, 9, 99999.99, 99999.99, -99999.999, "
             "99999, 99999)");
        exec("insert into TPRODUTO (CODIGO, DESCRICAO, PRECO_COMPRA, PRECO_VENDA, ESTOQUEATUAL) "
             "values (100001, 'GRANDE', 99999.99, 99999.99, 99999.999)");
        const QString movement =
            "insert into TMOVIMENTACAO (CODIGO, TIPO, PRODUTO, FORNECEDOR, CLIENTE, CENTRO_CUSTO, "
            "QUANTIDADE, PRECO_UNITARIO, PRECO_TOTAL, DATA, HORARIO, NOTA_COMPRA) values ";
        exec(movement +
             "(1000000, 'ENTRADA', 100000, 9, null, 9, 99999, 99999.99, 9999999.99, "
             "'2024-03-28', '23:58:58', '" +
             wide + "')");
        exec(movement + "(1000001, 'SAIDA', 100000, null, 9, 9, 99999, 99999.99, 9999999.99, "
                        "'2024-03-28', '23:58:58', null)");
        DM->TBEMPRESA->close();
        DM->TBEMPRESA->open();
    }
    template <typename Window> Window* show() {
        auto* window = new Window();
        windows_.emplace_back(window);
        testing_support::activate(window);
        return window;
    }
    static void expectRoomy(report::Report& report) {
        const QStringList crowded = ReportFixture::crowded(report);
        EXPECT_TRUE(crowded.isEmpty()) << crowded.join('\n').toStdString();
    }
    std::vector<std::unique_ptr<QWidget>> windows_;
};

TEST_F(ReportFit, MovementReportOfEveryKindAndOrder) {
    auto* w = show<TFFiltroMovimentacoes>();
    w->txtDataInicial->setText("01/03/2024");
    w->txtDataFinal->setText("31/03/2024");
    w->RGFiltro->setItemIndex(7);
    w->RGRelatorio->setItemIndex(2);
    ASSERT_TRUE(w->montar_relatorio());
    expectRoomy(FRelatorioMovimentacoes->QuickRep1);
}

TEST_F(ReportFit, DetailedStockReport) {
    auto* w = show<TFFiltroEstoque>();
    w->RGFiltro->setItemIndex(5);
    ASSERT_TRUE(w->montar_relatorio());
    expectRoomy(FRelatorioEstoque->QuickRep1);
}

TEST_F(ReportFit, SimpleStockReport) {
    auto* w = show<TFFiltroEstoqueSimples>();
    w->RGFiltrarPor->setItemIndex(1);
    w->gerar_relatorio();
    expectRoomy(FRelatorioEstoqueSimples->QuickRep1);
}

TEST_F(ReportFit, CostCentreReport) {
    auto* w = show<TFFiltroCentroCusto>();
    w->CBCentro->setEditText("LARGO");
    ASSERT_TRUE(w->montar_relatorio());
    expectRoomy(FRelatorioCentro->QuickRep1);
}

} // namespace
