// "Gerar em Excel" of the four report filters: the operations asked of the spreadsheet (rows from
// row 2 in the report's order, every column, the header row last, the columns fitted), the empty
// report, a refused request, and real workbooks written and read back.
#include "platform/spreadsheet/xlsx_application.h"
#include "platform/ui/mask_edit.h"
#include "platform/ui/radio_group.h"
#include "reports/cost_centre_report_filter_window.h"
#include "reports/movement_report_filter_window.h"
#include "reports/simple_stock_report_filter_window.h"
#include "reports/stock_report_filter_window.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/recording_spreadsheet.h"
#include "tests/support/test_input.h"
#include "tests/support/xlsx_reader.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using reports_test::ReportFixture;

namespace {

const QStringList kMovementHeader = {
    "CODIGO",      "QUANTIDADE", "PRECO_UNITARIO", "PRECO_TOTAL", "DATA", "HORARIO",
    "NOTA_COMPRA", "PRODUTO",    "FORNECEDOR",     "CLIENTE",     "TIPO"};

class SpreadsheetExport : public ReportFixture {
protected:
    void TearDown() override {
        windows.clear();
        ReportFixture::TearDown();
    }
    template <typename Window> Window* open() {
        auto* w = new Window();
        windows.emplace_back(w);
        testing_support::activate(w);
        return w;
    }
    TFFiltroMovimentacoes* movementFilter(const QString& from, const QString& to) {
        auto* w = open<TFFiltroMovimentacoes>();
        w->txtDataInicial->setText(from);
        w->txtDataFinal->setText(to);
        w->RGRelatorio->setItemIndex(0); // entries
        w->RGFiltro->setItemIndex(7);    // every movement
        w->RGOrdenar->setItemIndex(3);   // by date
        return w;
    }

    // What a whole export asks of the spreadsheet, given its rows and header.
    static QStringList expectedCalls(const QString& caption, const QStringList& header,
                                     const std::vector<QStringList>& rows) {
        QStringList calls = {"WorkBooks", "add(1)", "caption=" + caption, "visible=true"};
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (int j = 0; j < rows[r].size(); ++j)
                calls << QStringLiteral("cells(%1,%2)=%3").arg(r + 2).arg(j + 1).arg(rows[r][j]);
        for (int j = 0; j < header.size(); ++j)
            calls << QStringLiteral("cells(1,%1)=%2").arg(j + 1).arg(header[j]);
        return calls << "columns"
                     << "Autofit";
    }

    testing_support::RecordingSpreadsheet spreadsheet;
    std::vector<std::unique_ptr<QWidget>> windows;
};

TEST_F(SpreadsheetExport, MovementRowsFollowInOrderAndTheHeaderComesLast) {
    movementFilter("01/03/2024", "31/03/2024")->btnExcel->click();
    ASSERT_EQ(spreadsheet.applications().size(), 1u);
    EXPECT_EQ(spreadsheet.applications()[0],
              expectedCalls("Relatório de Movimentações", kMovementHeader,
                            {{"1", "100", "1,5", "150", "01/03/2024", "08:00:00", "NF-1001",
                              "CANETA AZUL", "DISTRIBUIDORA NORTE", "", "ENTRADA"},
                             {"2", "50", "21,9", "1095", "05/03/2024", "09:30:00", "NF-1002",
                              "PAPEL A4 RESMA", "ATACADO SUL", "", "ENTRADA"}}));
    EXPECT_TRUE(dialogs.errors().empty());
}

TEST_F(SpreadsheetExport, TheOtherReportsExportEveryColumnOfTheirRows) {
    struct Case {
        QString caption;
        std::function<QPushButton*()> window;
        QStringList header;
        std::vector<QStringList> rows;
    };
    const Case cases[] = {
        {"Relatório de Estoque",
         [this] {
             auto* w = open<TFFiltroEstoque>();
             w->RGFiltro->setItemIndex(1); // a group
             w->CBGrupo->setEditText("INFORMÁTICA");
             w->RGOrdenar->setItemIndex(1); // by stock
             return w->btnExcel;
         },
         {"DESCRICAO", "REFERENCIA", "ESTOQUE_MINIMO", "ESTOQUE_MAXIMO", "PRECO_COMPRA",
          "PRECO_VENDA", "ESTOQUEATUAL", "FORNECEDOR", "CODIGOBARRAS", "UNIDADE", "TOTAL",
          "CODIGO"},
         {{"CABO USB", "CB-USB", "1", "20", "12", "25", "-2", "ATACADO SUL", "", "UN", "-24", "3"},
          {"MOUSE ÓPTICO", "", "2", "10", "30", "59,9", "7", "", "", "UN", "210", "5"}}},
        {"Relatório de Estoque Simples",
         [this] {
             auto* w = open<TFFiltroEstoqueSimples>();
             w->RGFiltrarPor->setItemIndex(0); // a range of names
             w->txtInicio->setText("CA");
             w->txtFim->setText("CB");
             w->RGOrdenar->setItemIndex(1); // code, descending
             return w->btnExcel;
         },
         {"CODIGO", "DESCRICAO", "UNIDADE", "ESTOQUEATUAL"},
         {{"3", "CABO USB", "UN", "-2"},
          {"2", "CADERNO 96 FOLHAS", "UN", "0"},
          {"1", "CANETA AZUL", "UN", "120"}}},
        {"Relatório de Centro de Custo",
         [this] {
             auto* w = open<TFFiltroCentroCusto>();
             w->CBCentro->setEditText("OFICINA");
             return w->btnExcel;
         },
         kMovementHeader + QStringList{"CODIGOPRODUTO"},
         {{"5", "3", "15,9", "47,7", "31/03/2024", "17:45:00", "", "CADERNO 96 FOLHAS", "", "",
           "SAIDA", "2"}}},
    };
    for (const Case& c : cases) {
        spreadsheet.clear();
        c.window()->click();
        ASSERT_EQ(spreadsheet.applications().size(), 1u) << c.caption.toStdString();
        EXPECT_EQ(spreadsheet.applications()[0], expectedCalls(c.caption, c.header, c.rows));
    }
    EXPECT_TRUE(dialogs.errors().empty());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(SpreadsheetExport, AnEmptyReportGivesTheHeaderRowOnly) {
    movementFilter("01/01/2000", "31/12/2000")->btnExcel->click();
    ASSERT_EQ(spreadsheet.applications().size(), 1u);
    EXPECT_EQ(spreadsheet.applications()[0],
              expectedCalls("Relatório de Movimentações", kMovementHeader, {}));
}

TEST_F(SpreadsheetExport, ARequestTheReportRefusesStartsNoSpreadsheet) {
    TFFiltroMovimentacoes* w = movementFilter("01/03/2024", "31/03/2024");
    w->RGFiltro->setItemIndex(0); // one product
    w->CBProduto->setEditText("LÁPIS PRETO");
    w->btnExcel->click();
    EXPECT_EQ(dialogs.messages(), QStringList{"Produto não encontrado!"});
    EXPECT_TRUE(spreadsheet.applications().empty());

    w = movementFilter("31/02/2024", "31/03/2024"); // not a date
    w->btnExcel->click();
    EXPECT_EQ(dialogs.errors().size(), 1u);
    EXPECT_TRUE(spreadsheet.applications().empty());
}

TEST_F(SpreadsheetExport, ExportingTwiceWritesTwoWorkbooksOpenedInTheSpreadsheetProgram) {
    QTemporaryDir folder;
    QStringList opened;
    spreadsheet::setFactory([&] {
        spreadsheet::XlsxApplication::Options options;
        options.folder = folder.path();
        options.opener = [&](const QString& path) {
            opened << path;
            return true;
        };
        return std::make_unique<spreadsheet::XlsxApplication>(options);
    });
    TFFiltroMovimentacoes* w = movementFilter("01/03/2024", "31/03/2024");
    w->btnExcel->click();
    w->btnExcel->click();
    spreadsheet::setFactory({});
    ASSERT_EQ(opened.size(), 2);
    EXPECT_NE(opened[0], opened[1]);
    EXPECT_TRUE(QFileInfo(opened[0]).fileName().startsWith("Relatório de Movimentações "));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    const testing_support::XlsxContents x = testing_support::readXlsx(opened[1]);
    EXPECT_EQ(x.title, "Relatório de Movimentações");
    EXPECT_EQ(x.cells.size(), 11 + 2 * 10); // no customer on entries
    EXPECT_EQ(x.cells.value("A1").value, "CODIGO");
    EXPECT_EQ(x.cells.value("K1").value, "TIPO");
    const testing_support::XlsxCell number{"n", "21.9", 0};
    EXPECT_EQ(x.cells.value("C3"), number);
    EXPECT_EQ(x.cells.value("E2").type, "n");
    EXPECT_EQ(x.cells.value("E2").value, "45352"); // 01/03/2024
    EXPECT_EQ(x.numberFormats.value(x.cells.value("E2").style), "dd/mm/yyyy");
    EXPECT_EQ(x.numberFormats.value(x.cells.value("F3").style), "hh:mm:ss");
    EXPECT_EQ(x.cells.value("H3").value, "PAPEL A4 RESMA");
    EXPECT_FALSE(x.cells.contains("J2"));
    EXPECT_TRUE(dialogs.errors().empty());
}

} // namespace
