// Groups and subgroups: their dependency checks, the subgroup's group lookup, and how the
// shared commands behave when the database refuses a change.
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "registers/subgroups_window.h"
#include "tests/registers/register_fixture.h"

namespace {

class Groups : public RegisterFixture {};

TEST_F(Groups, DeletionIsRefusedWhileSubgroupsOrProductsNameTheGroup) {
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (1, 'A')");
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (2, 'B')");
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (3, 'C')");
    exec("insert into TSUBGRUPO (CODIGO, GRUPO) values (1, 1)");
    exec("insert into TPRODUTO (CODIGO, GRUPO) values (1, 1)");
    exec("insert into TPRODUTO (CODIGO, GRUPO) values (2, 2)");
    const QString subgroups =
        "Não é possível excluir este grupo porque ele está associado a subgrupos cadastrados!";
    const QString products =
        "Não é possível excluir este grupo porque ele está associado a produtos cadastrados!";
    struct Case {
        int group;
        QString message; // empty: deleted
    };
    auto* w = show<TFGrupo>();
    for (const Case& c : {Case{1, subgroups}, Case{2, products}, Case{3, {}}}) {
        SCOPED_TRACE(c.group);
        dialogs.clear();
        ASSERT_TRUE(w->dataSet()->locate("CODIGO", c.group));
        dialogs.answer(true);
        click(w->btnExcluir);
        EXPECT_EQ(dialogs.messages(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        EXPECT_EQ(
            scalar(QStringLiteral("select count(*) from TGRUPO where CODIGO = %1").arg(c.group))
                .toInt(),
            c.message.isEmpty() ? 0 : 1);
    }
}

TEST_F(Groups, SubgroupUsedByAProductStaysOneUsedOnlyByMovementsGoes) {
    exec("insert into TSUBGRUPO (CODIGO, DESCRICAO) values (1, 'A')");
    exec("insert into TSUBGRUPO (CODIGO, DESCRICAO) values (2, 'B')");
    exec("insert into TPRODUTO (CODIGO, SUBGRUPO) values (1, 1)");
    exec("insert into TMOVIMENTACAO (CODIGO, SUBGRUPO, TIPO) values (1, 2, 'ENTRADA')");
    auto* w = show<TFSubGrupo>();
    ASSERT_TRUE(w->dataSet()->locate("CODIGO", 1));
    dialogs.answer(true);
    click(w->btnExcluir);
    EXPECT_EQ(dialogs.messages(), QStringList{"Não é possível excluir este subgrupo porque ele "
                                              "está associado a cadastros de produtos!"});
    ASSERT_TRUE(w->dataSet()->locate("CODIGO", 2));
    dialogs.answer(true);
    click(w->btnExcluir);
    EXPECT_EQ(scalar("select list(CODIGO) from TSUBGRUPO").toString(), "1");
}

TEST_F(Groups, SubgroupTakesItsGroupByCodeOrListAndDropsTheProductsFilter) {
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (3, 'BEBIDAS')");
    exec("insert into TSUBGRUPO (CODIGO, DESCRICAO, GRUPO) values (1, 'SUCOS', 3)");
    exec("insert into TSUBGRUPO (CODIGO, DESCRICAO, GRUPO) values (2, 'PARAFUSOS', 4)");
    DM->TBSUBGRUPO->open();
    DM->TBSUBGRUPO->setFilter("GRUPO = '3'"); // as the products window leaves it
    DM->TBSUBGRUPO->setFiltered(true);
    auto* w = show<TFSubGrupo>();
    EXPECT_EQ(w->dataSet()->recordCount(), 2);
    click(w->btnNovo);
    EXPECT_TRUE(w->DBEdit2->hasFocus());
    testing_support::type(w->DBEdit2, "refrigerantes");
    testing_support::press(w->DBEdit2, Qt::Key_Return);
    EXPECT_TRUE(w->DBEdit3->hasFocus()) << "Enter moves on";
    testing_support::type(w->DBEdit3, "3");
    testing_support::press(w->DBEdit3, Qt::Key_Return);
    EXPECT_EQ(w->DBLookupComboBox1->currentText(), "BEBIDAS");
    click(w->btnSalvar);
    EXPECT_EQ(scalar("select DESCRICAO || '/' || GRUPO from TSUBGRUPO where CODIGO = 3").toString(),
              "REFRIGERANTES/3");
    // A group code no group has is stored as typed; the list then shows nothing.
    click(w->btnAlterar);
    w->DBEdit3->selectAll();
    testing_support::type(w->DBEdit3, "9");
    click(w->btnSalvar);
    EXPECT_EQ(scalar("select GRUPO from TSUBGRUPO where CODIGO = 3").toInt(), 9);
    EXPECT_EQ(w->DBLookupComboBox1->currentIndex(), -1);
}

TEST_F(Groups, GroupButtonOpensTheGroupListAndOnlyEnterLeavesTheSubgroupList) {
    exec("insert into TSUBGRUPO (CODIGO, DESCRICAO) values (1, 'A')");
    auto* w = show<TFSubGrupo>();
    EXPECT_FALSE(w->btnGrupo->isEnabled());
    click(w->btnAlterar);
    dialogs.onModal("FGrupo", [](QDialog* d) {
        auto* groups = static_cast<TFGrupo*>(d);
        EXPECT_EQ(groups->PageControl1->activePage(), groups->TabSheet2);
        EXPECT_TRUE(groups->DBGrid1->hasFocus());
    });
    click(w->btnGrupo);
    EXPECT_EQ(dialogs.windows(), QStringList{"FGrupo"});
    click(w->btnCancelar);
    click(w->btnConsultar);
    EXPECT_FALSE(w->DBGrid1->isVisible());
    ASSERT_TRUE(w->DBGrid2->hasFocus());
    doubleClickRow(w->DBGrid2, 0);
    EXPECT_EQ(w->PageControl1->activePage(), w->TabSheet2);
    testing_support::press(w->DBGrid2, Qt::Key_Return);
    EXPECT_EQ(w->PageControl1->activePage(), w->TabSheet1);
}

TEST_F(Groups, AlterarThenCancelarRestoresTheStoredValues) {
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (1, 'FERRAGENS')");
    auto* w = show<TFGrupo>();
    click(w->btnAlterar);
    w->DBEdit2->selectAll();
    testing_support::type(w->DBEdit2, "outra");
    click(w->btnCancelar);
    EXPECT_EQ(w->DBEdit2->text(), "FERRAGENS");
    EXPECT_EQ(scalar("select DESCRICAO from TGRUPO").toString(), "FERRAGENS");
    EXPECT_EQ(w->dataSet()->changeCount(), 0);
}

TEST_F(Groups, RefusedSaveKeepsEditingWithWhatWasTyped) {
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (1, 'FERRAGENS')");
    exec("create exception RECUSADO 'recusado'");
    exec("create trigger TGRUPO_RECUSA for TGRUPO before update as begin exception RECUSADO; "
         "end");
    auto* w = show<TFGrupo>();
    click(w->btnAlterar);
    w->DBEdit2->selectAll();
    testing_support::type(w->DBEdit2, "tintas");
    click(w->btnSalvar);
    ASSERT_EQ(dialogs.errors().size(), 1u);
    EXPECT_TRUE(w->btnSalvar->isEnabled()) << "still editing";
    EXPECT_EQ(w->DBEdit2->text(), "TINTAS");
    EXPECT_EQ(w->dataSet()->changeCount(), 0) << "nothing left unsent in the cache";
    click(w->btnCancelar);
    EXPECT_EQ(w->DBEdit2->text(), "FERRAGENS");
    EXPECT_EQ(scalar("select DESCRICAO from TGRUPO").toString(), "FERRAGENS");
}

} // namespace
