// Products: the four-step search, the stock value totals, the picture kept apart from the
// record, the group filter of the subgroup list and the pick mode of the stock windows.
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/db_image.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "platform/ui/db_navigator.h"
#include "registers/products_window.h"
#include "tests/registers/register_fixture.h"
#include <QImage>
#include <QLineEdit>
#include <QToolButton>
#include <optional>

namespace {

class Products : public RegisterFixture {
protected:
    void product(int code, const QString& description, const QString& barCode = {},
                 const QString& reference = {}) {
        exec(QStringLiteral("insert into TPRODUTO (CODIGO, DESCRICAO, CODIGOBARRAS, REFERENCIA) "
                            "values (%1, '%2', %3, %4)")
                 .arg(code)
                 .arg(description)
                 .arg(barCode.isEmpty() ? "null" : "'" + barCode + "'")
                 .arg(reference.isEmpty() ? "null" : "'" + reference + "'"));
    }
    QList<int> listed() {
        QList<int> codes;
        data::ClientDataSet* ds = DM->TBPRODUTOS;
        for (int i = 0; i < ds->recordCount(); ++i)
            codes << ds->valueAt(i, ds->field("CODIGO").index()).toInt();
        return codes;
    }
    QString picture(const char* name, int size = 8) {
        const QString path = folder->file(name);
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(path);
        return path;
    }
    QByteArray storedPicture(int code) {
        return scalar(QStringLiteral("select FOTO from TPRODUTO where CODIGO = %1").arg(code))
            .toByteArray();
    }
};

TEST_F(Products, SearchTriesDescriptionBarCodeReferenceThenCode) {
    product(1, "PARAFUSO 12MM", "7891");
    product(2, "PORCA", "ABC", "XABCX");
    product(3, "ARRUELA", {}, "ABCD");
    product(12, "PREGO");
    product(20, "TINTA", "12A");
    struct Case {
        QString typed;
        QList<int> listed; // in description order
    };
    const Case cases[] = {
        {"12", {1}},               // description contains 12
        {"7891", {1}},             // bar code equals
        {"ABC", {2}},              // bar code equals ABC before the references are tried
        {"BCD", {3}},              // reference contains
        {"20", {20}},              // only the code matches
        {"99", {3, 1, 2, 12, 20}}, // nothing: the whole list
        {"XYZ", {}},               // nothing and not a number: the reference filter stays
        {"%", {3, 1, 2, 12, 20}},  // the user's % is a wildcard
        {"P_RCA", {}},             // the _ is a character like any other
    };
    auto* w = show<TFProdutos>();
    click(w->btnConsultar);
    ASSERT_TRUE(w->txtDescricao->hasFocus());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        w->txtDescricao->clear();
        testing_support::type(w->txtDescricao, c.typed);
        EXPECT_EQ(listed(), c.listed);
    }
    w->txtDescricao->setText("XYZ");
    w->txtDescricao->clear();
    EXPECT_TRUE(listed().isEmpty()) << "emptying the box keeps the last filter";
    testing_support::type(w->txtDescricao, "porca");
    EXPECT_EQ(w->txtDescricao->text(), "PORCA");
    testing_support::press(w->txtDescricao, Qt::Key_Return);
    ASSERT_TRUE(w->DBGrid1->hasFocus());
    testing_support::press(w->DBGrid1, Qt::Key_Return);
    EXPECT_EQ(w->PageControl1->activePage(), w->TabSheet1);
    EXPECT_FALSE(w->PageControl1->pageVisible(w->TabSheet2));
    EXPECT_EQ(w->DBEdit1->text(), "2");
    EXPECT_EQ(DM->TBPRODUTOS->recordCount(), 5) << "back on the form the list is whole";
}

TEST_F(Products, TotalsUseBrazilianCurrencyFormat) {
    exec("insert into TPRODUTO (CODIGO, DESCRICAO, ESTOQUEATUAL, PRECO_COMPRA, PRECO_VENDA) "
         "values (1, 'A', 10, 2.5, 4)");
    exec("insert into TPRODUTO (CODIGO, DESCRICAO, ESTOQUEATUAL, PRECO_COMPRA) "
         "values (2, 'B', 1000.5, 1)");
    auto* w = show<TFProdutos>();
    EXPECT_EQ(w->txtTotalEstoqueCompra->text(), "R$25,00");
    EXPECT_EQ(w->txtTotalEstoqueVenda->text(), "R$40,00");
    w->DBNavigator1->button(ui::DBNavigator::Next)->click();
    EXPECT_EQ(w->txtTotalEstoqueCompra->text(), "R$1.000,50");
    EXPECT_EQ(w->txtTotalEstoqueVenda->text(), "R$,00") << "an empty price counts as zero";
}

TEST_F(Products, CurrentStockIsTypedOnlyForANewProduct) {
    auto* w = show<TFProdutos>();
    click(w->btnNovo);
    EXPECT_TRUE(w->DBEdit10->isEnabled());
    testing_support::focus(w->DBEdit10);
    testing_support::type(w->DBEdit10, "7,5");
    click(w->btnSalvar);
    EXPECT_DOUBLE_EQ(scalar("select ESTOQUEATUAL from TPRODUTO").toDouble(), 7.5);
    click(w->btnAlterar);
    EXPECT_FALSE(w->DBEdit10->isEnabled());
    EXPECT_TRUE(w->DBEdit2->isEnabled());
    click(w->btnCancelar);

    // The stock typed by hand is kept in the trail of changes; stock booked by movements is not.
    EXPECT_EQ(scalar("select count(*) from THISTORICO").toInt(), 1);
    EXPECT_EQ(scalar("select TABELA || ' ' || OPERACAO || ' ' || JANELA from THISTORICO"),
              "TPRODUTO ALTERACAO " + w->windowTitle());
    EXPECT_TRUE(scalar("select ANT_ESTOQUEATUAL from THISTORICO").isNull());
    EXPECT_DOUBLE_EQ(scalar("select NOVO_ESTOQUEATUAL from THISTORICO").toDouble(), 7.5);
    exec("update TPRODUTO set ESTOQUEATUAL = 9");
    EXPECT_EQ(scalar("select count(*) from THISTORICO").toInt(), 1);
}

TEST_F(Products, PictureIsStoredAtOnceAndOutlivesCancelar) {
    product(1, "A");
    auto* w = show<TFProdutos>();
    w->DBImage1Click(); // browsing: nothing happens, no dialog
    click(w->btnAlterar);
    dialogs.chooseFile(picture("a.png"));
    dialogs.answer(true);
    testing_support::press(w, QKeySequence(Qt::Key_F9));
    EXPECT_EQ(dialogs.questions().at(0).text,
              "Você realmente deseja salvar esta imagem em seu banco de dados?");
    EXPECT_TRUE(w->DBImage1->hasPicture());
    click(w->btnCancelar);
    EXPECT_FALSE(storedPicture(1).isEmpty());
    EXPECT_TRUE(w->DBImage1->hasPicture());

    // Refused files leave the stored picture as it was.
    const QByteArray before = storedPicture(1);
    click(w->btnAlterar);
    QFile big(folder->file("grande.bmp"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(1024 * 1024 + 1, 'x'));
    big.close();
    QFile text(folder->file("texto.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("não sou imagem");
    text.close();
    for (const QString& file : {big.fileName(), text.fileName(), QString()}) {
        dialogs.chooseFile(file);
        QTest::mouseClick(w->DBImage1, Qt::LeftButton);
    }
    EXPECT_EQ(dialogs.errors().size(), 2u);
    EXPECT_EQ(storedPicture(1), before);
    EXPECT_TRUE(w->btnSalvar->isEnabled());

    // A new product's picture goes with it when the new product is cancelled.
    click(w->btnCancelar);
    click(w->btnNovo);
    dialogs.chooseFile(picture("b.png"));
    dialogs.answer(true);
    testing_support::press(w, QKeySequence(Qt::Key_F9));
    EXPECT_FALSE(storedPicture(2).isEmpty());
    click(w->btnCancelar);
    EXPECT_EQ(count("TPRODUTO"), 1);
}

TEST_F(Products, ChoosingAGroupLimitsTheSubgroupList) {
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (3, 'BEBIDAS')");
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (4, 'FERRAGENS')");
    exec("insert into TSUBGRUPO (CODIGO, DESCRICAO, GRUPO) values (1, 'SUCOS', 3)");
    exec("insert into TSUBGRUPO (CODIGO, DESCRICAO, GRUPO) values (2, 'PREGOS', 4)");
    product(1, "A");
    auto* w = show<TFProdutos>();
    click(w->btnAlterar);
    testing_support::focus(w->DBLookupComboBox1);
    testing_support::press(w->DBLookupComboBox1, Qt::Key_Down); // BEBIDAS, the first by description
    EXPECT_EQ(w->DBEdit13->text(), "3");
    EXPECT_EQ(DM->TBSUBGRUPO->filter(), "GRUPO = '3'");
    EXPECT_EQ(w->DBLookupComboBox3->count(), 1);
    testing_support::press(w->DBLookupComboBox1, Qt::Key_Backspace);
    EXPECT_TRUE(w->DBEdit13->hasFocus()) << "Backspace goes back to the code";
    click(w->btnSalvar);
    EXPECT_EQ(scalar("select GRUPO from TPRODUTO").toInt(), 3);
    EXPECT_FALSE(DM->TBSUBGRUPO->filtered()) << "other products and windows see every subgroup";

    click(w->btnAlterar);
    testing_support::focus(w->DBLookupComboBox1);
    testing_support::press(w->DBLookupComboBox1, Qt::Key_Down);
    ASSERT_TRUE(DM->TBSUBGRUPO->filtered());
    w->close(); // closing cancels the edit and drops the filter too
    EXPECT_FALSE(DM->TBSUBGRUPO->filtered());
}

TEST_F(Products, AnEmptyListLeadsBackToTheFormOrOutWithoutAPick) {
    product(1, "ARROZ");
    auto* w = show<TFProdutos>();
    click(w->btnConsultar);
    testing_support::type(w->txtDescricao, "XYZ");
    ASSERT_EQ(DM->TBPRODUTOS->recordCount(), 0);
    // A double-click on the empty grid acts as on a row: back on the form, the list whole.
    QTest::mouseDClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(w->PageControl1->activePage(), w->TabSheet1);
    EXPECT_EQ(DM->TBPRODUTOS->recordCount(), 1);
    EXPECT_EQ(w->DBEdit1->text(), "1");

    selecionar_produto = true;
    produto_selecionado = 0;
    click(w->btnConsultar);
    testing_support::type(w->txtDescricao, "XYZ");
    testing_support::press(w->DBGrid1, Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(produto_selecionado, 0) << "no product was picked";
}

TEST_F(Products, PickModeSetsTheChosenCodeAndSairKeepsThePreviousOne) {
    product(1, "ARROZ");
    product(2, "FEIJAO");
    selecionar_produto = true;
    produto_selecionado = 77;
    auto* w = show<TFProdutos>();
    w->close();
    EXPECT_EQ(produto_selecionado, 77);

    w = show<TFProdutos>();
    EXPECT_EQ(w->PageControl1->activePage(), w->TabSheet1);
    click(w->btnConsultar);
    testing_support::type(w->txtDescricao, "FEI");
    testing_support::press(w->txtDescricao, Qt::Key_Down);
    testing_support::press(w->DBGrid1, Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(produto_selecionado, 2);
    EXPECT_FALSE(DM->TBPRODUTOS->filtered());
}

TEST_F(Products, AProductWithMovementsIsKept) {
    product(1, "A");
    exec("insert into TMOVIMENTACAO (CODIGO, PRODUTO, TIPO) values (1, 1, 'ENTRADA')");
    auto* w = show<TFProdutos>();
    dialogs.answer(true);
    click(w->btnExcluir);
    EXPECT_EQ(
        dialogs.messages(),
        QStringList{"Este produto está ligado a movimentações de entrada e/ou saídas no estoque!"});
    EXPECT_EQ(count("TPRODUTO"), 1);
    EXPECT_TRUE(w->btnExcluir->isEnabled());
}

} // namespace

namespace {

// A bar code another product holds is refused, naming that product; a code whose check digit
// does not check is stored only when the user says it is right; a stored product with a repeated
// code (an older file) can still be changed.
TEST_F(Products, BarCodesAreCheckedWhenTyped) {
    product(1, "ARROZ", "7891234567895");
    product(2, "FEIJAO", "7891234567895"); // as an older file may hold them
    auto* w = show<TFProdutos>();
    struct Case {
        QString typed;
        std::optional<bool> answer; // the check-digit question and its answer
        bool stored;
        const char* message;
    };
    const Case cases[] = {
        {"7891234567895", {}, false, "O código de barras 7891234567895 já é do produto 1 - ARROZ."},
        {"7891234567890", false, false, nullptr},
        {"7891234567890", true, true, nullptr},
        {"INTERNO-12", {}, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        dialogs.clear();
        w->btnNovo->click();
        testing_support::type(w->DBEdit2, c.typed);
        if (c.answer)
            dialogs.answer(*c.answer);
        w->btnSalvar->click();
        EXPECT_EQ(!w->btnSalvar->isEnabled(), c.stored);
        EXPECT_EQ(dialogs.questions().size(), c.answer ? 1u : 0u);
        if (c.message) {
            ASSERT_EQ(dialogs.messages().size(), 1);
            EXPECT_TRUE(dialogs.messages().front().startsWith(QString::fromUtf8(c.message)));
        }
        if (w->btnCancelar->isEnabled())
            w->btnCancelar->click();
    }
    DM->TBPRODUTOS->locate("CODIGO", 2);
    w->btnAlterar->click();
    w->btnSalvar->click(); // its repeated code was not typed now
    EXPECT_FALSE(w->btnSalvar->isEnabled());
}

// A scan in the search box goes straight to the bar code, even where a description holds the
// same digits, which typing them would find first.
TEST_F(Products, AScanInTheSearchBoxFindsTheBarCodeAtOnce) {
    product(1, "CAIXA 7891234567895");
    product(2, "ARROZ", "7891234567895");
    auto* w = show<TFProdutos>();
    w->btnConsultar->click();
    testing_support::focus(w->txtDescricao);
    testing_support::typeAtPace(w->txtDescricao, "7891234567895", 1000000, 3);
    EXPECT_EQ(listed(), QList<int>{2});
    EXPECT_EQ(w->txtDescricao->text(), "7891234567895");
    testing_support::typeAtPace(w->txtDescricao, "7890000000017", 2000000, 3);
    EXPECT_EQ(listed(), QList<int>{});
    EXPECT_EQ(dialogs.messages(),
              QStringList{"Nenhum produto tem o código de barras 7890000000017."});
    dialogs.clear();
    w->txtDescricao->clear();
    testing_support::typeAtPace(w->txtDescricao, "7891234567895", 3000000, 150);
    EXPECT_EQ(listed(), QList<int>{1}); // typed by a person: the description comes first
}

} // namespace
