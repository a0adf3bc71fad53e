// The movement report: the SQL each choice builds (run, and its rows compared), the layout as
// drawn (golden files), the presets of the report commands, names not found, a bad period, the
// keys, the freeing of earlier layouts and the PDF as a reader sees it.
#include "app/main_window.h"
#include "core/globals.h"
#include "platform/report/output.h"
#include "platform/report/page.h"
#include "platform/ui/mask_edit.h"
#include "platform/ui/radio_group.h"
#include "reports/movement_report_filter_window.h"
#include "reports/movement_report_layout.h"
#include "stock/movement_query_window.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/test_input.h"
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

using reports_test::ReportFixture;

namespace {

class MovementReport : public ReportFixture {
protected:
    void TearDown() override {
        window.reset();
        menu.reset();
        ReportFixture::TearDown();
    }
    TFFiltroMovimentacoes* open() {
        window = std::make_unique<TFFiltroMovimentacoes>();
        testing_support::activate(window.get());
        setPeriod(window.get(), "01/03/2024", "31/03/2024");
        return window.get();
    }
    static void setPeriod(TFFiltroMovimentacoes* w, const QString& from, const QString& to) {
        w->txtDataInicial->setText(from);
        w->txtDataFinal->setText(to);
    }
    // The codes of the movements the report prints, in order.
    static QList<int> printed() {
        QList<int> codes;
        report::QueryRows& rows = const_cast<report::QueryRows&>(FRelatorioMovimentacoes->rows());
        const int codigo = rows.column("CODIGO");
        for (int r = 0; r < rows.rowCount(); ++r) {
            rows.moveTo(r);
            codes << rows.integer(codigo);
        }
        return codes;
    }
    std::unique_ptr<TFFiltroMovimentacoes> window;
    std::unique_ptr<TFMenu> menu;
};

TEST_F(MovementReport, EachChoiceSelectsItsMovementsInItsOrder) {
    struct Case {
        int relatorio, filtro, ordenar;
        const char* produto;
        const char* nome; // the supplier, customer, group or subgroup
        QList<int> codes;
    };
    const Case cases[] = {
        {2, 7, 3, "", "", {1, 2, 3, 4, 8, 5}}, // both bounds of the period included
        {0, 7, 3, "", "", {1, 2}},
        {1, 7, 4, "", "", {3, 8, 5, 4}}, // by value
        {1, 7, 0, "", "", {8, 4, 5, 3}}, // by product; the deleted product's first
        {0, 7, 1, "", "", {2, 1}},       // by supplier
        {1, 7, 2, "", "", {5, 8, 4, 3}}, // by customer; the one without first
        {2, 0, 3, "CANETA AZUL", "", {1, 3}},
        {2, 1, 3, "", "PAPELARIA", {1, 2, 3, 5}}, // the deleted product's exit is not in a group
        {2, 2, 3, "", "CABOS", {4}},
        {0, 3, 3, "", "DISTRIBUIDORA NORTE", {1}},
        {1, 4, 3, "", "MARIA SOUZA", {3}},
        {2, 5, 3, "PAPEL A4 RESMA", "ATACADO SUL", {2}},
        {2, 6, 3, "CABO USB", "JOSÉ LIMA", {4}},
        {1, 3, 3, "", "DISTRIBUIDORA NORTE", {}}, // exits carry no supplier
    };
    TFFiltroMovimentacoes* w = open();
    for (const Case& c : cases) {
        w->RGRelatorio->setItemIndex(c.relatorio);
        w->RGFiltro->setItemIndex(c.filtro);
        w->RGOrdenar->setItemIndex(c.ordenar);
        typeName(w->CBProduto, QString::fromUtf8(c.produto));
        for (QComboBox* list : {w->CBGrupo, w->CBSubgrupo, w->CBFornecedor, w->CBCliente})
            typeName(list, QString::fromUtf8(c.nome));
        ASSERT_TRUE(w->montar_relatorio());
        EXPECT_EQ(printed(), c.codes) << c.relatorio << "/" << c.filtro << "/" << c.ordenar;
    }
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

// A product's movements come in date and time order, and products in the order people read
// their names: "AÇO" before "ALUMÍNIO", "ÓLEO" among the O's.
TEST_F(MovementReport, NamesSortAsPeopleReadThemAndTiesInTimeOrder) {
    exec("insert into TPRODUTO (CODIGO, DESCRICAO) values (10, 'ÓLEO DE SOJA')");
    exec("insert into TPRODUTO (CODIGO, DESCRICAO) values (11, 'ALUMÍNIO')");
    exec("insert into TPRODUTO (CODIGO, DESCRICAO) values (12, 'AÇO')");
    const QString exit = "insert into TMOVIMENTACAO (CODIGO, TIPO, PRODUTO, QUANTIDADE, "
                         "PRECO_TOTAL, DATA, HORARIO) values ";
    for (const char* values : {"(20, 'SAIDA', 12, 1, 5, '2024-03-12', '15:00')",
                               "(21, 'SAIDA', 12, 1, 5, '2024-03-12', '09:00')",
                               "(22, 'SAIDA', 10, 1, 5, '2024-03-02', '10:00')",
                               "(23, 'SAIDA', 11, 1, 5, '2024-03-02', '10:00')",
                               "(24, 'SAIDA', 12, 1, 5, '2024-03-02', '18:00')"})
        exec(exit + values);
    TFFiltroMovimentacoes* w = open();
    w->RGRelatorio->setItemIndex(1);
    w->RGFiltro->setItemIndex(7);
    w->RGOrdenar->setItemIndex(0);
    ASSERT_TRUE(w->montar_relatorio());
    EXPECT_EQ(printed(), (QList<int>{8, 24, 21, 20, 23, 4, 5, 3, 22}));
    w->RGOrdenar->setItemIndex(3); // by date: a day's movements by their time
    ASSERT_TRUE(w->montar_relatorio());
    EXPECT_EQ(printed(), (QList<int>{22, 23, 24, 3, 21, 20, 4, 8, 5}));
}

TEST_F(MovementReport, BuildsTheSqlLineByLineWithItsParameters) {
    TFFiltroMovimentacoes* w = open();
    w->RGRelatorio->setItemIndex(1);
    w->RGFiltro->setItemIndex(4);
    w->RGOrdenar->setItemIndex(3);
    typeName(w->CBCliente, "MARIA SOUZA");
    ASSERT_TRUE(w->montar_relatorio());
    const data::SqlQuery& q = *FRelatorioMovimentacoes->QRelatorio;
    const QStringList expected = {
        "select TMOVIMENTACAO.CODIGO ",
        ", TMOVIMENTACAO.QUANTIDADE ",
        ", TMOVIMENTACAO.PRECO_UNITARIO ",
        ", TMOVIMENTACAO.PRECO_TOTAL ",
        ", TMOVIMENTACAO.DATA ",
        ", TMOVIMENTACAO.HORARIO ",
        ", TMOVIMENTACAO.NOTA_COMPRA ",
        ", TPRODUTO.DESCRICAO as produto ",
        ", TFORNECEDOR.DESCRICAO as fornecedor ",
        ", TCLIENTE.NOME as cliente ",
        ", TMOVIMENTACAO.TIPO ",
        "from TMOVIMENTACAO ",
        "left join TPRODUTO on(TMOVIMENTACAO.PRODUTO = TPRODUTO.CODIGO) ",
        "left join TFORNECEDOR on(TMOVIMENTACAO.FORNECEDOR = TFORNECEDOR.CODIGO) ",
        "left join TCLIENTE on(TMOVIMENTACAO.CLIENTE = TCLIENTE.CODIGO) ",
        " where TMOVIMENTACAO.DATA >= :datainicial ",
        " and TMOVIMENTACAO.DATA <= :datafinal ",
        "and TMOVIMENTACAO.TIPO = :tipo ",
        " and TMOVIMENTACAO.CLIENTE = :cliente ",
        " ORDER BY TMOVIMENTACAO.DATA, TMOVIMENTACAO.HORARIO, TMOVIMENTACAO.CODIGO"};
    EXPECT_EQ(q.sql(), expected);
    QStringList params;
    for (const data::SqlParam& p : q.params())
        params << p.name + "=" + p.value.toString();
    EXPECT_EQ(params, QStringList({"datainicial=2024-03-01", "datafinal=2024-03-31", "tipo=SAIDA",
                                   "cliente=1"}));
    EXPECT_EQ(FRelatorioMovimentacoes->QSoma->sql(), expected); // the totals run the same
}

TEST_F(MovementReport, DrawsTitleCompanyRowsTotalsAndFooter) {
    TFFiltroMovimentacoes* w = open();
    w->RGOrdenar->setItemIndex(3);
    ASSERT_TRUE(w->montar_relatorio());
    EXPECT_EQ(FRelatorioMovimentacoes->SomaTotal->caption, "R$1.377,70");
    EXPECT_EQ(FRelatorioMovimentacoes->QuantidadeMovimentada->caption, "162");
    expectDrawn(FRelatorioMovimentacoes->QuickRep1, "movement_march");
}

TEST_F(MovementReport, ALongReportHeadsItsFirstPageOnlyAndFootsEveryPage) {
    addAprilExits();
    TFFiltroMovimentacoes* w = open();
    setPeriod(w, "01/04/2024", "31/05/2024");
    w->RGRelatorio->setItemIndex(1);
    w->RGOrdenar->setItemIndex(3);
    ASSERT_TRUE(w->montar_relatorio());
    expectDrawn(FRelatorioMovimentacoes->QuickRep1, "movement_pages");
}

TEST_F(MovementReport, AnEmptyPeriodStillPrintsItsHeadingsAndZeroTotals) {
    TFFiltroMovimentacoes* w = open();
    setPeriod(w, "31/03/2024", "01/03/2024");
    w->RGRelatorio->setItemIndex(0);
    ASSERT_TRUE(w->montar_relatorio());
    EXPECT_EQ(FRelatorioMovimentacoes->SomaTotal->caption, "R$0,00");
    EXPECT_EQ(FRelatorioMovimentacoes->QuantidadeMovimentada->caption, "0");
    expectDrawn(FRelatorioMovimentacoes->QuickRep1, "movement_empty");
}

TEST_F(MovementReport, EveryReportCommandPresetsItsReport) {
    struct Case {
        void (TFMenu::*command)();
        const char* name; // typed into the list the preset's filter reads
        const char* titulo;
        QList<int> codes;
    };
    const Case cases[] = {
        {&TFMenu::RelatriodeMovimentaes1Click,
         "",
         "Relatório de Movimentações do Estoque",
         {5, 8, 4, 2, 3, 1}},
        {&TFMenu::RelatriodeEntradas1Click, "", "Relatório de Entradas", {2, 1}},
        {&TFMenu::RelatriodeSadas1Click, "", "Relatório de Saídas", {8, 4, 5, 3}},
        {&TFMenu::RelatriodeClientes1Click, "MARIA SOUZA", "Relatório de Saídas", {3}},
        {&TFMenu::RelatriodeFornecedores1Click,
         "DISTRIBUIDORA NORTE",
         "Relatório de Entradas",
         {1}},
        {&TFMenu::RelatriodeProdutos2Click,
         "CABO USB",
         "Relatório de Movimentações do Estoque",
         {4}},
        {&TFMenu::RelatriodeGrupos2Click,
         "INFORMÁTICA",
         "Relatório de Movimentações do Estoque",
         {4}},
        {&TFMenu::RelatriodeSubgrupos1Click,
         "CANETAS",
         "Relatório de Movimentações do Estoque",
         {1, 3}},
    };
    menu = std::make_unique<TFMenu>();
    testing_support::activate(menu.get());
    for (const Case& c : cases) {
        QString titulo;
        QList<int> codes;
        dialogs.onModal("FFiltroMovimentacoes", [&](QDialog* d) {
            auto* w = static_cast<TFFiltroMovimentacoes*>(d);
            setPeriod(w, "01/03/2024", "31/03/2024");
            for (QComboBox* list :
                 {w->CBProduto, w->CBGrupo, w->CBSubgrupo, w->CBFornecedor, w->CBCliente})
                typeName(list, QString::fromUtf8(c.name));
            ASSERT_TRUE(w->montar_relatorio());
            titulo = FRelatorioMovimentacoes->Titulo->caption;
            codes = printed();
        });
        (menu.get()->*c.command)();
        EXPECT_EQ(titulo, QString::fromUtf8(c.titulo)) << c.titulo;
        // Sorted by product, as designed; movements of one product come in the server's order.
        QList<int> expected = c.codes;
        std::sort(expected.begin(), expected.end());
        std::sort(codes.begin(), codes.end());
        EXPECT_EQ(codes, expected) << c.titulo;
    }
    EXPECT_EQ(FRelatorioMovimentacoes, nullptr) << "the layout goes with its window";
}

TEST_F(MovementReport, TheQueryPrintCommandOpensTheGeneralReport) {
    consulta_entradas = 1;
    TFConsultaMovimentacoes query;
    testing_support::activate(&query);
    QString caption;
    dialogs.onModal("FFiltroMovimentacoes", [&](QDialog* w) { caption = w->windowTitle(); });
    testing_support::press(&query, QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(caption, "Relatório de Movimentações no Estoque");
}

TEST_F(MovementReport, ANameNotFoundIsToldAndClosesTheWindowWithNothingBuilt) {
    struct Case {
        int filtro;
        const char* message;
    };
    const Case cases[] = {{0, "Produto não encontrado!"},  {1, "Grupo não encontrado!"},
                          {2, "Subgrupo não encontrado!"}, {3, "Fornecedor não encontrado!"},
                          {4, "Cliente não encontrado!"},  {5, "Produto não encontrado!"},
                          {6, "Produto não encontrado!"}};
    for (const Case& c : cases) {
        TFFiltroMovimentacoes* w = open();
        w->RGFiltro->setItemIndex(c.filtro);
        for (QComboBox* list :
             {w->CBProduto, w->CBGrupo, w->CBSubgrupo, w->CBFornecedor, w->CBCliente})
            typeName(list, "CANETA VERMELHA");
        dialogs.clear();
        w->btnVisualizar->click(); // a preview would fail the test: none is scripted
        EXPECT_EQ(dialogs.messages(), QStringList{QString::fromUtf8(c.message)}) << c.filtro;
        EXPECT_FALSE(w->isVisible());
        EXPECT_TRUE(dialogs.windows().isEmpty());
    }
}

TEST_F(MovementReport, ABadPeriodDateIsToldAndKeepsTheWindowAndTheLastReport) {
    TFFiltroMovimentacoes* w = open();
    ASSERT_TRUE(w->montar_relatorio());
    const TFRelatorioMovimentacoes* last = FRelatorioMovimentacoes;
    w->txtDataFinal->setText("31/02/2024");
    w->btnImprimir->click();
    ASSERT_EQ(dialogs.errors().size(), 1u);
    EXPECT_TRUE(dialogs.errors()[0].text.contains("não é uma data válida"))
        << dialogs.errors()[0].text.toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(FRelatorioMovimentacoes, last);
}

TEST_F(MovementReport, EnterInANameListPreviewsAndEachRunFreesTheLastLayout) {
    TFFiltroMovimentacoes* w = open();
    QStringList pages;
    dialogs.onModal("ReportPreview", [&](QDialog* d) {
        pages << testing_support::find<QLabel>(d, "lblPagina")->text();
    });
    testing_support::focus(w->CBSubgrupo);
    testing_support::press(w->CBSubgrupo, Qt::Key_Return);
    EXPECT_EQ(pages, QStringList{"Página 1 de 1"});
    QPointer<TFRelatorioMovimentacoes> first = FRelatorioMovimentacoes;
    ASSERT_TRUE(w->montar_relatorio());
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(FRelatorioMovimentacoes, nullptr);
}

TEST_F(MovementReport, ThePdfReadsAsTheReport) {
    TFFiltroMovimentacoes* w = open();
    ASSERT_TRUE(w->montar_relatorio());
    QTemporaryDir dir;
    const QString path = dir.filePath("movimentacoes.pdf");
    ASSERT_TRUE(report::writePdf(FRelatorioMovimentacoes->QuickRep1, path, nullptr));
    QProcess tool;
    tool.start("pdftotext", {"-layout", path, "-"});
    ASSERT_TRUE(tool.waitForFinished(30000));
    const QString text = QString::fromUtf8(tool.readAllStandardOutput());
    for (const char* expected :
         {"Relatório de Movimentações do Estoque", "Papelaria Central Ltda",
          "no período de 01/03/2024 à 31/03/2024", "R$ 1.095,00", "JOSÉ LIMA", "Saída",
          "Soma Total: R$1.377,70", "Quiru 1.0.0", "www.quiru.com.br"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << text.toStdString();
}

} // namespace
