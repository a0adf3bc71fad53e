// The import window as a person uses it: a file chosen, its separator and encoding changed, a
// column given another field (remembered for the next time), the preview, "Importar" with its
// question; wrong files and commands out of turn; and the round trip of "Gerar em Excel".
#include "imports/import_window.h"
#include "imports/preview_model.h"
#include "platform/spreadsheet/xlsx_application.h"
#include "platform/ui/radio_group.h"
#include "reports/simple_stock_report_filter_window.h"
#include "tests/imports/import_fixture.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

namespace {

class ImportWindow : public ImportFixture {
protected:
    void SetUp() override {
        ImportFixture::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
    }
    void TearDown() override {
        window.reset();
        ImportFixture::TearDown();
    }
    TFImportar* show() {
        window = std::make_unique<TFImportar>();
        testing_support::activate(window.get());
        return window.get();
    }
    void choose(const QString& path) {
        dialogs.chooseFile(path);
        window->btnArquivo->click();
    }
    QComboBox* fieldOf(int column) {
        auto* box = qobject_cast<QComboBox*>(window->gridColunas->cellWidget(column, 1));
        EXPECT_TRUE(box) << "no field for column " << column;
        return box;
    }
    // The preview's cell as the grid shows it, by its column title.
    std::string shown(int row, const QString& title, int role = Qt::DisplayRole) {
        const QAbstractItemModel* model = window->gridPrevia->model();
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal).toString() == title)
                return model->index(row, c).data(role).toString().toStdString();
        return "no column " + title.toStdString();
    }
    std::string summary() { return window->lblResumo->text().toStdString(); }

    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<TFImportar> window;
};

TEST_F(ImportWindow, AFileIsReadMappedPreviewedAndImported) {
    exec("insert into TPRODUTO (CODIGO, DESCRICAO, ESTOQUEINICIAL, ESTOQUEATUAL) values (10, "
         "'PÃO FRANCÊS', 1000, 1000)");
    show();
    choose(sheetFile("produtos_ponto_e_virgula.csv"));
    EXPECT_EQ(window->cbSeparador->currentText().toStdString(), "; (ponto e vírgula)");
    EXPECT_EQ(window->cbCodificacao->currentText().toStdString(), "UTF-8");
    EXPECT_EQ(fieldOf(2)->currentText().toStdString(), "Preço de venda");
    EXPECT_EQ(summary(), "3 linhas: 2 novos, 1 alterado, 0 sem alteração, 0 recusados.");
    EXPECT_EQ(shown(1, "Descrição"), "BOLO \"CASEIRO\" DE FUBÁ");
    EXPECT_EQ(shown(0, "Estoque"), "1250,5");
    EXPECT_EQ(shown(0, "Estoque", Qt::ToolTipRole),
              "Antes: 1000\nLançado como entrada de 250,5 (ajuste por importação)");

    // Read as Windows-1252, the UTF-8 accents come out wrong, as they would in any program.
    window->cbCodificacao->setCurrentIndex(1);
    EXPECT_EQ(window->gridColunas->item(1, 0)->text().toStdString(), "DescriÃ§Ã£o");
    EXPECT_EQ(window->gridColunas->item(1, 2)->text().toStdString(), "PÃ£o FrancÃªs");
    window->cbCodificacao->setCurrentIndex(0);

    // The price column taken for the purchase price, and remembered for these headers.
    fieldOf(2)->setCurrentIndex(fieldOf(2)->findData(QStringLiteral("PRECO_COMPRA")));
    EXPECT_EQ(shown(2, "Preço de compra"), "12,9");
    window.reset();
    show();
    choose(sheetFile("produtos_ponto_e_virgula.csv"));
    EXPECT_EQ(fieldOf(2)->currentData().toString().toStdString(), "PRECO_COMPRA");

    dialogs.answer(true);
    window->btnImportar->click();
    ASSERT_EQ(dialogs.questions().size(), 1u);
    EXPECT_EQ(dialogs.questions()[0].text.toStdString(),
              "Confirma a importação de produtos: 2 novos e 1 alterado?");
    EXPECT_EQ(dialogs.messages().join('|').toStdString(),
              "Importação concluída: 2 novos e 1 alterado.");
    EXPECT_EQ(rows("select CODIGO, DESCRICAO, PRECO_COMPRA, ESTOQUEATUAL, UNIDADE from TPRODUTO "
                   "order by CODIGO"),
              "10|PÃO FRANCÊS|0.75|1250.5|KG\n"
              "11|BOLO \"CASEIRO\" DE FUBÁ|1234.56|3|UN\n"
              "12|TORTA DE MAÇÃ (FATIA)|12.9|0|UN\n");
    EXPECT_EQ(summary(), "3 linhas: 0 novos, 0 alterados, 3 sem alteração, 0 recusados.");
}

TEST_F(ImportWindow, WrongFilesAndCommandsOutOfTurnChangeNothing) {
    show();
    window->btnImportar->click();
    window->btnSalvarRecusadas->click();
    EXPECT_EQ(dialogs.messages().join('|').toStdString(),
              "Escolha primeiro o arquivo a importar.|Não há linhas recusadas para salvar.");

    choose(sheetFile("produtos_calc.xlsx"));
    const QString chosen = window->txtArquivo->text();
    EXPECT_FALSE(window->cbSeparador->isEnabled()) << "a workbook has no separator";
    choose(sheetFile("nao_e_planilha.xlsx"));
    choose(sheetFile("imagem.csv"));
    ASSERT_EQ(dialogs.errors().size(), 2u);
    EXPECT_TRUE(dialogs.errors()[0].text.contains("não é uma planilha .xlsx válida"));
    EXPECT_TRUE(dialogs.errors()[1].text.contains("não é um texto (CSV ou TXT)"));
    EXPECT_EQ(window->txtArquivo->text(), chosen) << "a file that failed leaves the one read";
    EXPECT_EQ(summary(), "6 linhas: 3 novos, 0 alterados, 0 sem alteração, 3 recusados.");

    dialogs.answer(false);
    window->btnImportar->click();
    EXPECT_EQ(scalar("select count(*) from TPRODUTO").toInt(), 0);

    const QString saved = dir.filePath(QStringLiteral("recusadas.csv"));
    dialogs.chooseFile(saved);
    window->btnSalvarRecusadas->click();
    QFile refused(saved);
    ASSERT_TRUE(refused.open(QIODevice::ReadOnly));
    EXPECT_EQ(refused.readAll().count('\n'), 4); // the header and three rows

    dialogs.clear();
    choose(sheetFile("vazio.csv"));
    EXPECT_EQ(dialogs.messages().join('|').toStdString(),
              "O arquivo não tem linhas para importar.");
    window->btnImportar->click();
    EXPECT_EQ(scalar("select count(*) from TPRODUTO").toInt(), 0);

    // With the settings database gone, the columns are mapped by their names all the same.
    dm->SQLConnection2->close();
    dialogs.clear();
    choose(sheetFile("produtos_ponto_e_virgula.csv"));
    EXPECT_EQ(dialogs.errors().size(), 1u);
    EXPECT_EQ(summary(), "3 linhas: 3 novos, 0 alterados, 0 sem alteração, 0 recusados.");

    testing_support::press(window->gridPrevia, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << "Esc leaves the window";
    EXPECT_TRUE(dialogs.nothingPending());
}

TEST_F(ImportWindow, SuppliersAndCustomersHaveTheirOwnFieldsAndKeys) {
    show();
    window->RGCadastro->setItemIndex(1);
    choose(sheetFile("fornecedores_1252.csv"));
    EXPECT_EQ(window->cbCodificacao->currentText().toStdString(), "Windows-1252 (ANSI)");
    EXPECT_EQ(fieldOf(0)->currentText().toStdString(), "Descrição");
    EXPECT_EQ(summary(), "4 linhas: 2 novos, 0 alterados, 0 sem alteração, 2 recusados.");
    EXPECT_NE(window->findChild<QWidget*>("chkCNPJ"), nullptr);
    window->RGCadastro->setItemIndex(2);
    EXPECT_NE(window->findChild<QWidget*>("chkCPF"), nullptr);
    EXPECT_EQ(window->findChild<QWidget*>("chkCODIGOBARRAS"), nullptr);
    EXPECT_EQ(fieldOf(0)->currentText().toStdString(), "(não importar)"); // "Fornecedor"
    EXPECT_EQ(fieldOf(2)->currentText().toStdString(), "Cidade");
}

// What "Gerar em Excel" writes from the simple stock report imports back as the same products.
TEST_F(ImportWindow, TheSimpleStockReportsSpreadsheetImportsBackToTheSameProducts) {
    exec("insert into TPRODUTO (CODIGO, DESCRICAO, UNIDADE, ESTOQUEINICIAL, ESTOQUEATUAL) values "
         "(1, 'AÇÚCAR MASCAVO', 'KG', 2.5, 2.5)");
    exec("insert into TPRODUTO (CODIGO, DESCRICAO, UNIDADE, ESTOQUEINICIAL, ESTOQUEATUAL) values "
         "(2, '0042 PARAFUSO 3/8\"', 'PC', 1250, 1250)");
    exec("insert into TPRODUTO (CODIGO, DESCRICAO, UNIDADE, ESTOQUEINICIAL, ESTOQUEATUAL) values "
         "(7, 'ÓLEO DE SOJA', 'UN', 0, 0)");
    const std::string products =
        rows("select CODIGO, DESCRICAO, UNIDADE, ESTOQUEATUAL from TPRODUTO order by CODIGO");
    QString written;
    spreadsheet::setFactory([&] {
        spreadsheet::XlsxApplication::Options options;
        options.folder = dir.path();
        options.opener = [&](const QString& path) {
            written = path;
            return true;
        };
        return std::make_unique<spreadsheet::XlsxApplication>(options);
    });
    {
        TFFiltroEstoqueSimples report;
        report.btnExcel->click();
    }
    spreadsheet::setFactory({});
    ASSERT_FALSE(written.isEmpty());

    const auto same = plan(written, imports::Register::Products);
    EXPECT_EQ(same.count(imports::RowStatus::Unchanged), 3) << outcome(same);
    exec("delete from TPRODUTO");
    const auto back = plan(written, imports::Register::Products);
    ASSERT_TRUE(imports::storePlan(*dm->SQLConnection1, back)) << outcome(back);
    EXPECT_EQ(rows("select CODIGO, DESCRICAO, UNIDADE, ESTOQUEATUAL from TPRODUTO order by CODIGO"),
              products);
}

} // namespace
