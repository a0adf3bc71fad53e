// What every register window shares, checked across all seven members.
#include "platform/ui/db_edit.h"
#include "registers/company_window.h"
#include "registers/cost_centres_window.h"
#include "registers/customers_window.h"
#include "registers/products_window.h"
#include "registers/subgroups_window.h"
#include "registers/suppliers_window.h"
#include "tests/registers/register_fixture.h"
#include <functional>

namespace {

struct Member {
    const char* name;
    const char* table;
    std::function<RegisterWindow*()> make;
    const char* defaults; // SQL condition the fresh record meets besides its code
};

template <typename W> std::function<RegisterWindow*()> maker() {
    return [] { return new W(); };
}

const Member kMembers[] = {
    {"Grupo", "TGRUPO", maker<TFGrupo>(), "DESCRICAO is null"},
    {"SubGrupo", "TSUBGRUPO", maker<TFSubGrupo>(), "DESCRICAO is null and GRUPO is null"},
    {"Produtos", "TPRODUTO", maker<TFProdutos>(), "DESCRICAO is null and ESTOQUEATUAL is null"},
    {"Fornecedor", "TFORNECEDOR", maker<TFFornecedor>(), "CNPJ is null and UF is null"},
    {"Cliente", "TCLIENTE", maker<TFCliente>(), "TIPO_PESSOA = 'FÍSICA' and NOME is null"},
    {"CentroCusto", "CENTRO_CUSTO", maker<TFCentroCusto>(), "DESCRICAO is null"},
    {"Empresa", "TEMPRESA", maker<TFEmpresa>(), "RAZAO_SOCIAL is null and LOGO is null"},
};

void PrintTo(const Member& m, std::ostream* os) {
    *os << m.name;
}

class RegisterPattern : public RegisterFixture, public testing::WithParamInterface<Member> {
protected:
    RegisterWindow* open() {
        RegisterWindow* w = GetParam().make();
        window.reset(w);
        testing_support::activate(w);
        return w;
    }
    QString table() const { return QString::fromLatin1(GetParam().table); }
    void press(const QKeySequence& key) { testing_support::press(window.get(), key); }
};

TEST_P(RegisterPattern, EmptyTableOffersOnlyNovoAndItsKeysDoNothing) {
    RegisterWindow* w = open();
    EXPECT_TRUE(w->btnNovo->isEnabled());
    EXPECT_FALSE(w->btnAlterar->isEnabled());
    EXPECT_FALSE(w->btnExcluir->isEnabled());
    press(Qt::Key_F2);
    press(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    EXPECT_FALSE(w->btnSalvar->isEnabled()) << "F2 must not start editing";
    EXPECT_TRUE(dialogs.questions().empty()) << "Shift+Del must not ask to delete";
    EXPECT_EQ(w->PageControl1->activePage(), w->TabSheet1);
}

TEST_P(RegisterPattern, NovoThenCancelarLeavesNothingAndTheCodeIsTakenAgain) {
    exec("insert into " + table() + " (CODIGO) values (4)");
    RegisterWindow* w = open();
    press(Qt::Key_F1);
    ASSERT_TRUE(w->btnSalvar->isEnabled());
    EXPECT_EQ(w->DBEdit1->text(), "5");
    EXPECT_EQ(count(table()), 2) << "the new record is stored at once";
    press(Qt::Key_Escape);
    EXPECT_EQ(count(table()), 1);
    EXPECT_TRUE(w->btnNovo->isEnabled());
    EXPECT_TRUE(w->btnAlterar->isEnabled());
    click(w->btnNovo);
    EXPECT_EQ(w->DBEdit1->text(), "5");
    w->close(); // closing cancels too
    EXPECT_EQ(count(table()), 1);
    EXPECT_EQ(w->dataSet()->recordCount(), 1);
}

TEST_P(RegisterPattern, NovoThenSalvarStoresTheCodeAndDefaultsOnly) {
    RegisterWindow* w = open();
    click(w->btnNovo);
    click(w->btnSalvar);
    EXPECT_EQ(
        scalar("select count(*) from " + table() + " where CODIGO = 1 and " + GetParam().defaults)
            .toInt(),
        1);
    EXPECT_EQ(count(table()), 1);
    EXPECT_TRUE(w->btnAlterar->isEnabled());
    EXPECT_FALSE(w->btnSalvar->isEnabled());
}

TEST_P(RegisterPattern, KeysActOnlyWhileTheirButtonsAreEnabled) {
    exec("insert into " + table() + " (CODIGO) values (1)");
    RegisterWindow* w = open();
    press(Qt::Key_F5);
    press(Qt::Key_Escape);
    EXPECT_TRUE(w->btnNovo->isEnabled()) << "F5 and Esc do nothing while browsing";
    press(Qt::Key_F2);
    ASSERT_TRUE(w->btnSalvar->isEnabled());
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_F1), QKeySequence(Qt::Key_F2), QKeySequence(Qt::Key_F8),
          QKeySequence(Qt::Key_F4), QKeySequence(Qt::SHIFT | Qt::Key_Delete)})
        press(key);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->btnSalvar->isEnabled());
    EXPECT_EQ(w->PageControl1->activePage(), w->TabSheet1);
    EXPECT_FALSE(w->PageControl1->pageVisible(w->TabSheet2)) << "the list is out of reach";
    EXPECT_TRUE(dialogs.questions().empty());
    EXPECT_EQ(count(table()), 1);
    press(Qt::Key_F5);
    press(Qt::Key_F8);
    EXPECT_EQ(w->PageControl1->activePage(), w->TabSheet2);
    press(Qt::Key_F4);
    EXPECT_FALSE(w->isVisible());
}

TEST_P(RegisterPattern, DeletingTheLastRecordAsksAndDisablesAlterarAndExcluir) {
    exec("insert into " + table() + " (CODIGO) values (1)");
    RegisterWindow* w = open();
    dialogs.answer(false);
    click(w->btnExcluir);
    EXPECT_EQ(count(table()), 1);
    dialogs.answer(true);
    click(w->btnExcluir);
    ASSERT_EQ(dialogs.questions().size(), 2u);
    EXPECT_EQ(dialogs.questions()[1].caption, "Atenção");
    EXPECT_EQ(dialogs.questions()[1].text, "Você realmente deseja excluir o registro?");
    EXPECT_EQ(count(table()), 0);
    EXPECT_FALSE(w->btnAlterar->isEnabled());
    EXPECT_FALSE(w->btnExcluir->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Members, RegisterPattern, testing::ValuesIn(kMembers),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
