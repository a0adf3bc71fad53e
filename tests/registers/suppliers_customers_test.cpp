// Suppliers and customers: the duplicate CNPJ, the state list, the search by name, the delete
// refusal and the pick mode the stock windows use.
#include "platform/ui/db_combo_box.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/db_memo.h"
#include "platform/ui/db_radio_group.h"
#include "registers/customers_window.h"
#include "registers/suppliers_window.h"
#include "tests/registers/register_fixture.h"
#include <QLineEdit>
#include <QRadioButton>

namespace {

class Suppliers : public RegisterFixture {
protected:
    void SetUp() override {
        RegisterFixture::SetUp();
        exec("insert into TFORNECEDOR (CODIGO, DESCRICAO, CNPJ) values (1, 'ACME', '123')");
        exec("insert into TFORNECEDOR (CODIGO, DESCRICAO, CNPJ) values (2, 'BETA', '456')");
        exec("insert into TFORNECEDOR (CODIGO, DESCRICAO, CNPJ) values (3, 'GAMA', '789')");
    }
    ui::DBEdit* edit(const char* name) {
        return testing_support::find<ui::DBEdit>(window.get(), name);
    }
};

// Another station added suppliers after this window read them: "Novo" meets the taken codes
// and takes the next free one, silently.
TEST_F(Suppliers, NovoTakesTheNextFreeCodeWhenAnotherStationTookIt) {
    auto* w = show<TFFornecedor>();
    exec("insert into TFORNECEDOR (CODIGO, DESCRICAO) values (4, 'OUTRA ESTACAO')");
    exec("insert into TFORNECEDOR (CODIGO, DESCRICAO) values (5, 'OUTRA ESTACAO 2')");
    click(w->btnNovo);
    EXPECT_TRUE(dialogs.errors().empty());
    EXPECT_EQ(w->dataSet()->field("CODIGO").asInteger(), 6);
    EXPECT_TRUE(w->btnSalvar->isEnabled());
    click(w->btnSalvar);
    EXPECT_EQ(count("TFORNECEDOR"), 6);
}

TEST_F(Suppliers, NewSupplierMayNotRepeatACnpjAChangedOneMay) {
    auto* w = show<TFFornecedor>();
    click(w->btnNovo);
    EXPECT_TRUE(w->DBEdit3->hasFocus());
    testing_support::type(w->DBEdit3, "456");
    click(w->btnSalvar);
    EXPECT_EQ(dialogs.messages(), QStringList{"Fornecedor já cadastrado!"});
    EXPECT_TRUE(w->btnSalvar->isEnabled());
    EXPECT_TRUE(w->DBEdit3->hasFocus());
    EXPECT_TRUE(scalar("select CNPJ from TFORNECEDOR where CODIGO = 4").isNull());
    click(w->btnCancelar);
    EXPECT_EQ(count("TFORNECEDOR"), 3);

    ASSERT_TRUE(w->dataSet()->locate("CODIGO", 3));
    click(w->btnAlterar);
    w->DBEdit3->selectAll();
    testing_support::type(w->DBEdit3, "456");
    click(w->btnSalvar);
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(scalar("select CNPJ from TFORNECEDOR where CODIGO = 3").toString(), "456");
}

TEST_F(Suppliers, StateListStartsWithXXAndTypedStatesAreUpperCase) {
    auto* w = show<TFFornecedor>();
    auto* uf = testing_support::find<ui::DBComboBox>(w, "DBEdit16");
    EXPECT_EQ(uf->itemText(0), "XX");
    EXPECT_EQ(uf->count(), 28);
    click(w->btnNovo);
    testing_support::focus(uf);
    testing_support::type(uf, "sp");
    testing_support::type(edit("DBEdit9"), "Vendas@Acme.com");
    click(w->btnSalvar);
    EXPECT_EQ(scalar("select UF || ' ' || EMAIL from TFORNECEDOR where CODIGO = 4").toString(),
              "SP Vendas@Acme.com");
}

TEST_F(Suppliers, TextLongerThanItsColumnIsCutAtTheColumnsLength) {
    auto* w = show<TFFornecedor>();
    click(w->btnNovo);
    // A mobile as people write it fits the phone columns, a longer text stops at their 20.
    testing_support::type(edit("DBEdit18"), QStringLiteral("(11) 98888-7777 ramal 12"));
    auto* uf = testing_support::find<ui::DBComboBox>(w, "DBEdit16");
    testing_support::focus(uf);
    testing_support::type(uf, "spx"); // UF holds 2
    auto* memo = testing_support::find<ui::DBMemo>(w, "DBMemo1");
    testing_support::focus(memo);
    testing_support::type(memo, QString(340, 'a'));
    testing_support::type(memo, QString(20, 'b')); // OBSERVACAO holds 350
    click(w->btnSalvar);
    EXPECT_TRUE(dialogs.errors().empty());
    EXPECT_EQ(scalar("select FAX from TFORNECEDOR where CODIGO = 4").toString(),
              "(11) 98888-7777 RAMA");
    EXPECT_EQ(scalar("select UF from TFORNECEDOR where CODIGO = 4").toString(), "SP");
    EXPECT_EQ(scalar("select OBSERVACAO from TFORNECEDOR where CODIGO = 4").toString(),
              QString(340, 'a') + QString(10, 'b'));
}

TEST_F(Suppliers, PickModeClosesOnTheDoubleClickedSupplierUntilConsultar) {
    modo_selecao = true;
    auto* w = new TFFornecedor();
    window.reset(w);
    w->PageControl1->setActivePage(w->TabSheet2);
    testing_support::activate(w);
    doubleClickRow(w->DBGrid1, 1);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(DM->TBFORNECEDOR->field("DESCRICAO").asString(), "BETA");

    testing_support::activate(w);
    EXPECT_EQ(w->PageControl1->activePage(), w->TabSheet2);
    w->PageControl1->setActivePage(w->TabSheet1);
    click(w->btnConsultar);
    EXPECT_FALSE(modo_selecao);
    doubleClickRow(w->DBGrid1, 2);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->PageControl1->activePage(), w->TabSheet1);
    EXPECT_EQ(w->DBEdit1->text(), "3");
}

class Customers : public RegisterFixture {
protected:
    void SetUp() override {
        RegisterFixture::SetUp();
        int code = 0;
        for (const char* name : {"JOSÉ SILVA", "MARIA DA SILVEIRA", "BRASILINO COSTA", "ANA SOUZA"})
            exec(QStringLiteral("insert into TCLIENTE (CODIGO, NOME) values (%1, '%2')")
                     .arg(++code)
                     .arg(QString::fromUtf8(name)));
        exec("insert into TCLIENTE (CODIGO) values (5)"); // no name
    }
    QStringList listed() {
        QStringList names;
        data::ClientDataSet* ds = DM->TBCLIENTE;
        for (int i = 0; i < ds->recordCount(); ++i)
            names << ds->valueAt(i, ds->field("NOME").index()).toString();
        return names;
    }
};

TEST_F(Customers, SearchFindsTheTextAnywhereInTheNameInAnyCase) {
    auto* w = show<TFCliente>();
    click(w->btnConsultar);
    ASSERT_TRUE(w->txtNome->hasFocus());
    testing_support::type(w->txtNome, "sil");
    EXPECT_EQ(listed(), (QStringList{"BRASILINO COSTA", "JOSÉ SILVA", "MARIA DA SILVEIRA"}));
    testing_support::type(w->txtNome, "v");
    EXPECT_EQ(listed(), (QStringList{"JOSÉ SILVA", "MARIA DA SILVEIRA"}));
    w->txtNome->setText("d'a"); // a quote is text like any other
    EXPECT_TRUE(listed().isEmpty());
    w->txtNome->setText("JOS_"); // and so is the _
    EXPECT_TRUE(listed().isEmpty());
    w->txtNome->clear();
    EXPECT_EQ(listed().size(), 4) << "the customer without a name is not listed";

    testing_support::type(w->txtNome, "souza");
    w->PageControl1->setActivePage(w->TabSheet1);
    EXPECT_EQ(w->DBEdit2->text(), "ANA SOUZA");
    EXPECT_TRUE(w->txtNome->text().isEmpty());
    EXPECT_EQ(DM->TBCLIENTE->recordCount(), 5) << "the whole list again";
}

TEST_F(Customers, NovoDuringASearchShowsTheNewCustomer) {
    auto* w = show<TFCliente>();
    click(w->btnConsultar);
    testing_support::type(w->txtNome, "souza");
    testing_support::press(w, QKeySequence(Qt::Key_F1));
    EXPECT_EQ(w->PageControl1->activePage(), w->TabSheet1);
    EXPECT_EQ(w->DBEdit1->text(), "6") << "the new record is the one shown";
    EXPECT_TRUE(w->txtNome->text().isEmpty());
    EXPECT_FALSE(DM->TBCLIENTE->filtered());
}

TEST_F(Customers, PickModeAfterASearchHandsOverTheDoubleClickedCustomer) {
    modo_selecao = true;
    auto* w = new TFCliente();
    window.reset(w);
    w->PageControl1->setActivePage(w->TabSheet2);
    testing_support::activate(w);
    testing_support::type(w->txtNome, "silv");
    doubleClickRow(w->DBGrid1, 1);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(DM->TBCLIENTE->field("NOME").asString(), "MARIA DA SILVEIRA");
    EXPECT_FALSE(DM->TBCLIENTE->filtered());
}

TEST_F(Customers, NewCustomerIsAPrivatePersonAndAMovementKeepsACustomer) {
    exec("insert into TMOVIMENTACAO (CODIGO, CLIENTE, TIPO) values (1, 2, 'SAIDA')");
    auto* w = show<TFCliente>();
    click(w->btnNovo);
    EXPECT_EQ(w->DBRadioGroup1->itemIndex(), 0);
    w->DBRadioGroup1->button(1)->click();
    click(w->btnSalvar);
    EXPECT_EQ(scalar("select TIPO_PESSOA from TCLIENTE where CODIGO = 6").toString(), "JURÍDICA");

    ASSERT_TRUE(w->dataSet()->locate("CODIGO", 2));
    dialogs.answer(true);
    click(w->btnExcluir);
    EXPECT_EQ(dialogs.messages(),
              QStringList{"Este cliente não pode ser excluído pois está ligado a movimentações "
                          "de entrada e/ou saídas no estoque!"});
    EXPECT_EQ(count("TCLIENTE"), 6);
}

// Two stations change one customer: the second to save is told, not silently overwriting, and
// saves its own text again over what the first stored.
TEST_F(Customers, AChangeAnotherStationStoredFirstIsNotOverwrittenUnseen) {
    auto* w = show<TFCliente>();
    ASSERT_TRUE(w->dataSet()->locate("CODIGO", 1));
    click(w->btnAlterar);
    auto* name = testing_support::find<ui::DBEdit>(w, "DBEdit2");
    testing_support::focus(name);
    name->selectAll();
    testing_support::type(name, "maria da silva");
    exec("update TCLIENTE set NOME = 'MARIA SOUZA', CIDADE = 'RECIFE' where CODIGO = 1");
    click(w->btnSalvar);
    ASSERT_EQ(dialogs.errors().size(), 1u);
    EXPECT_TRUE(dialogs.errors()[0].text.startsWith("Outra estação alterou"));
    EXPECT_EQ(scalar("select NOME from TCLIENTE where CODIGO = 1").toString(), "MARIA SOUZA");
    EXPECT_TRUE(w->btnSalvar->isEnabled());
    click(w->btnSalvar); // the user saw the message and saves again
    EXPECT_EQ(scalar("select NOME || '/' || CIDADE from TCLIENTE where CODIGO = 1").toString(),
              "MARIA DA SILVA/RECIFE")
        << "what the other station changed and this one did not stays";
}

TEST_F(Customers, BirthDateThatIsNoDateIsRefusedAndTheWindowStaysEditing) {
    auto* w = show<TFCliente>();
    ASSERT_TRUE(w->dataSet()->locate("CODIGO", 1));
    click(w->btnAlterar);
    auto* birth = testing_support::find<ui::DBEdit>(w, "DBEdit13");
    testing_support::focus(birth);
    testing_support::type(birth, "31/02/1990");
    click(w->btnSalvar);
    ASSERT_EQ(dialogs.errors().size(), 1u);
    EXPECT_EQ(dialogs.errors()[0].text,
              "'31/02/1990' não é uma data válida para o campo DATA NASCIMENTO.")
        << "named as the window labels it";
    EXPECT_TRUE(w->btnSalvar->isEnabled());
    EXPECT_TRUE(scalar("select DATANASC from TCLIENTE where CODIGO = 1").isNull());
    birth->selectAll();
    testing_support::type(birth, "28/02/1990");
    click(w->btnSalvar);
    EXPECT_EQ(scalar("select DATANASC from TCLIENTE where CODIGO = 1").toDate(),
              QDate(1990, 2, 28));
}

} // namespace
