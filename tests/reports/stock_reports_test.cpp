// The detailed and simple stock reports and the cost centre report: what each filter selects,
// the drawings (golden files: red rows, colours, totals), and names that are not registered.
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/ui/radio_group.h"
#include "reports/cost_centre_report_filter_window.h"
#include "reports/cost_centre_report_layout.h"
#include "reports/simple_stock_report_filter_window.h"
#include "reports/simple_stock_report_layout.h"
#include "reports/stock_report_filter_window.h"
#include "reports/stock_report_layout.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/test_input.h"
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using reports_test::ReportFixture;

namespace {

QList<int> codesOf(data::ClientDataSet* dataset) {
    QList<int> codes;
    for (dataset->first(); !dataset->eof(); dataset->next())
        codes << int(dataset->field("CODIGO").asInteger());
    return codes;
}

class StockReports : public ReportFixture {
protected:
    template <typename Window> Window* show(std::unique_ptr<Window>& window) {
        window = std::make_unique<Window>();
        testing_support::activate(window.get());
        return window.get();
    }
};

TEST_F(StockReports, DetailedFilterSelectsItsProducts) {
    struct Case {
        int filtro, ordenar;
        const char* name;
        QList<int> codes;
    };
    const Case cases[] = {
        {5, 0, "", {3, 2, 1, 5, 4}}, // everything, by description
        {5, 1, "", {3, 2, 5, 4, 1}}, // by stock
        {0, 0, "CANETA AZUL", {1}},
        {0, 0, "caneta azul", {}}, // a description matches as stored
        {1, 0, "PAPELARIA", {2, 1, 4}},
        {2, 0, "CABOS", {3}},
        {3, 0, "ATACADO SUL", {3, 2}},
        {6, 0, "", {3, 2}}, // below the minimum; none without one
        {7, 0, "", {1}},    // above the maximum
    };
    std::unique_ptr<TFFiltroEstoque> window;
    TFFiltroEstoque* w = show(window);
    for (const Case& c : cases) {
        w->RGFiltro->setItemIndex(c.filtro);
        w->RGOrdenar->setItemIndex(c.ordenar);
        for (QComboBox* list : {w->CBProduto, w->CBGrupo, w->CBSubgrupo, w->CBFornecedor})
            list->setEditText(QString::fromUtf8(c.name));
        ASSERT_TRUE(w->montar_relatorio());
        EXPECT_EQ(codesOf(FRelatorioEstoque->TBRelatorio), c.codes) << c.filtro << " " << c.name;
    }
    // Group and supplier together.
    w->RGFiltro->setItemIndex(4);
    w->CBGrupo->setEditText("PAPELARIA");
    w->CBFornecedor->setEditText("DISTRIBUIDORA NORTE");
    ASSERT_TRUE(w->montar_relatorio());
    EXPECT_EQ(codesOf(FRelatorioEstoque->TBRelatorio), QList<int>({1, 4}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(StockReports, DetailedReportOfANameNotRegisteredIsRefused) {
    struct Case {
        int filtro;
        const char* grupo;
        const char* subgrupo;
        const char* fornecedor;
        const char* message;
    };
    const Case cases[] = {
        {1, "PAPELARIAS", "", "", "Grupo não encontrado!"},
        {2, "", "", "", "Subgrupo não encontrado!"},
        {3, "", "", "NORTE", "Fornecedor não encontrado!"},
        {4, "GRUPO X", "", "ATACADO SUL", "Grupo não encontrado!"},
        {4, "PAPELARIA", "", "", "Fornecedor não encontrado!"},
    };
    std::unique_ptr<TFFiltroEstoque> window;
    TFFiltroEstoque* w = show(window);
    ASSERT_TRUE(w->montar_relatorio());
    const TFRelatorioEstoque* last = FRelatorioEstoque;
    for (const Case& c : cases) {
        w->RGFiltro->setItemIndex(c.filtro);
        w->CBGrupo->setEditText(QString::fromUtf8(c.grupo));
        w->CBSubgrupo->setEditText(QString::fromUtf8(c.subgrupo));
        w->CBFornecedor->setEditText(QString::fromUtf8(c.fornecedor));
        dialogs.clear();
        w->btnVisualizar->click(); // a preview would fail the test: none is scripted
        EXPECT_EQ(dialogs.messages(), QStringList{QString::fromUtf8(c.message)}) << c.filtro;
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(FRelatorioEstoque, last) << "nothing new was built";
    }
}

TEST_F(StockReports, DetailedReportDrawsRedRowsAndItsTotals) {
    std::unique_ptr<TFFiltroEstoque> window;
    TFFiltroEstoque* w = show(window);
    ASSERT_TRUE(w->montar_relatorio());
    expectDrawn(FRelatorioEstoque->QuickRep1, "stock_all");
    // Negative stock lowers the totals: 120 + 0 - 2 + 35.5 + 7.
    EXPECT_EQ(FRelatorioEstoque->QuantidadeEstoque->caption, "160,5");
    w->RGFiltro->setItemIndex(0);
    w->CBProduto->setEditText("PRODUTO QUE NÃO HÁ");
    ASSERT_TRUE(w->montar_relatorio());
    expectDrawn(FRelatorioEstoque->QuickRep1, "stock_empty");
    EXPECT_EQ(FRelatorioEstoque->txtTotalCompra->caption, "R$,00");
}

// Names sort as the windows' lists sort them, not byte by byte: "AÇO" before "ALUMÍNIO", "ÓLEO"
// among the O's; equal names by code.
TEST_F(StockReports, NamesSortAsPeopleReadThem) {
    exec("insert into TPRODUTO (CODIGO, DESCRICAO, GRUPO, ESTOQUEATUAL) values (10, 'ÓLEO DE "
         "SOJA', 1, 7)");
    exec("insert into TPRODUTO (CODIGO, DESCRICAO, GRUPO, ESTOQUEATUAL) values (11, 'ALUMÍNIO', 1, "
         "7)");
    exec("insert into TPRODUTO (CODIGO, DESCRICAO, GRUPO, ESTOQUEATUAL) values (12, 'AÇO', 1, 7)");
    exec("insert into TPRODUTO (CODIGO, DESCRICAO, GRUPO, ESTOQUEATUAL) values (13, 'aço', 1, 7)");
    std::unique_ptr<TFFiltroEstoqueSimples> simple;
    TFFiltroEstoqueSimples* s = show(simple);
    s->RGFiltrarPor->setItemIndex(1);
    s->RGOrdenar->setItemIndex(2);
    s->gerar_relatorio();
    const QList<int> byName = {12, 13, 11, 3, 2, 1, 5, 10, 4};
    EXPECT_EQ(codesOf(FRelatorioEstoqueSimples->TBEstoque), byName);
    s->RGOrdenar->setItemIndex(3);
    s->gerar_relatorio();
    EXPECT_EQ(codesOf(FRelatorioEstoqueSimples->TBEstoque),
              QList<int>(byName.rbegin(), byName.rend()));

    std::unique_ptr<TFFiltroEstoque> detailed;
    TFFiltroEstoque* d = show(detailed);
    d->RGFiltro->setItemIndex(5);
    d->RGOrdenar->setItemIndex(0);
    ASSERT_TRUE(d->montar_relatorio());
    EXPECT_EQ(codesOf(FRelatorioEstoque->TBRelatorio), byName);
    d->RGOrdenar->setItemIndex(1); // by stock: the four of 7 in the order of their names
    ASSERT_TRUE(d->montar_relatorio());
    EXPECT_EQ(codesOf(FRelatorioEstoque->TBRelatorio), (QList<int>{3, 2, 12, 13, 11, 5, 10, 4, 1}));
}

TEST_F(StockReports, SimpleReportListsARangeOfNames) {
    struct Case {
        int filtrar, ordenar;
        const char* inicio;
        const char* fim;
        QList<int> codes;
    };
    const Case cases[] = {
        {1, 2, "", "", {3, 2, 1, 5, 4}},
        {1, 1, "", "", {5, 4, 3, 2, 1}},
        {1, 0, "", "", {1, 2, 3, 4, 5}},
        {1, 3, "", "", {4, 5, 1, 2, 3}},
        {0, 0, "CABO USB", "CANETA AZUL", {1, 2, 3}}, // both bounds included
        {0, 0, "MOUSE", "CABO", {}},
        {0, 2, "AAAAAAAAAA", "ZZZZZZZZZZ", {3, 2, 1, 5, 4}},
    };
    std::unique_ptr<TFFiltroEstoqueSimples> window;
    TFFiltroEstoqueSimples* w = show(window);
    for (const Case& c : cases) {
        w->RGFiltrarPor->setItemIndex(c.filtrar);
        w->RGOrdenar->setItemIndex(c.ordenar);
        if (c.filtrar == 0) {
            w->txtInicio->setText(QString::fromUtf8(c.inicio));
            w->txtFim->setText(QString::fromUtf8(c.fim));
        }
        w->gerar_relatorio();
        EXPECT_EQ(codesOf(FRelatorioEstoqueSimples->TBEstoque), c.codes)
            << c.filtrar << "/" << c.ordenar << " " << c.inicio;
    }
}

TEST_F(StockReports, SimpleReportDrawsItsRuledTableAndGenerationLines) {
    std::unique_ptr<TFFiltroEstoqueSimples> window;
    TFFiltroEstoqueSimples* w = show(window);
    EXPECT_EQ(w->focusWidget(), w->txtInicio);
    w->gerar_relatorio();
    FRelatorioEstoqueSimples->now = [] { return QDateTime(QDate(2024, 3, 15), QTime(14, 5, 9)); };
    expectDrawn(FRelatorioEstoqueSimples->QuickRep1, "simple_stock_all");
    EXPECT_EQ(FRelatorioEstoqueSimples->txtQuantidadeEstoque->caption, "160,50");

    // Enter in the last name previews.
    QStringList previews;
    dialogs.onModal("ReportPreview", [&](QDialog* d) {
        previews << testing_support::find<QLabel>(d, "lblPagina")->text();
    });
    testing_support::focus(w->txtFim);
    testing_support::press(w->txtFim, Qt::Key_Return);
    EXPECT_EQ(previews, QStringList{"Página 1 de 1"});
}

TEST_F(StockReports, CostCentreReportTotalsItsMovements) {
    std::unique_ptr<TFFiltroCentroCusto> window;
    TFFiltroCentroCusto* w = show(window);
    w->CBCentro->setEditText("ESCRITÓRIO");
    // The cost of an exit is the product's purchase price now, not when it went out.
    exec("update TPRODUTO set PRECO_COMPRA = 2 where CODIGO = 1");
    DM->TBPRODUTOS->refresh();
    ASSERT_TRUE(w->montar_relatorio());
    expectDrawn(FRelatorioCentro->QuickRep1, "cost_centre_escritorio");
    TFRelatorioCentro* r = FRelatorioCentro;
    EXPECT_EQ(r->txtSomaSaida->caption, "R$94,90");      // 15 + 59,9 + 20, every date
    EXPECT_EQ(r->txtSomaCustoSaida->caption, "R$40,00"); // 5 x 2 + 1 x 30; the deleted adds none
    EXPECT_EQ(r->txtSomaEntrada->caption, "R$1.095,00");
    EXPECT_EQ(r->txtQtd->caption, "58");
    EXPECT_EQ(r->txtQtdEntrada->caption, "50");
    EXPECT_EQ(r->txtQtdSaida->caption, "8");
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(StockReports, CostCentreNotFoundIsToldAndNothingIsBuilt) {
    std::unique_ptr<TFFiltroCentroCusto> window;
    TFFiltroCentroCusto* w = show(window);
    for (const char* name : {"", "OFICINA QUE NÃO HÁ"}) {
        w->CBCentro->setEditText(QString::fromUtf8(name));
        dialogs.clear();
        w->btnVisualizar->click(); // a preview would fail the test: none is scripted
        EXPECT_EQ(dialogs.messages(), QStringList{"Centro de Custo não encontrado!"}) << name;
        EXPECT_TRUE(w->isVisible());
    }
}

} // namespace
