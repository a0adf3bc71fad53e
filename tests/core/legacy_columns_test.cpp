// Columns as an older program left them: prices in NUMERIC, texts in padded CHAR, a required
// column this program does not know. They are read and written as they are; nothing is cut or
// refused without a Portuguese word.
#include "core/data_module.h"
#include "platform/data/client_dataset.h"
#include "platform/data/errors.h"
#include "tests/support/program_folder.h"

namespace {

class LegacyColumns : public testing_support::DataModuleTest {
protected:
    void replaceColumn(const QString& table, const QString& column, const QString& type,
                       int position) {
        exec("alter table " + table + " drop " + column);
        exec("alter table " + table + " add " + column + " " + type);
        exec(
            QStringLiteral("alter table %1 alter %2 position %3").arg(table, column).arg(position));
    }
};

TEST_F(LegacyColumns, NumericPricesAreReadAndWrittenRoundedToTheirDecimals) {
    replaceColumn("TPRODUTO", "PRECO_VENDA", "NUMERIC(15,2)", 9);
    replaceColumn("TPRODUTO", "PRECO_COMPRA", "DECIMAL(9,3)", 8);
    exec("insert into TPRODUTO (CODIGO, DESCRICAO, PRECO_VENDA, PRECO_COMPRA) values (1, 'A', "
         "4.35, 2.125)");
    reopen();
    data::ClientDataSet* products = dm->TBPRODUTOS;
    products->open();
    products->readAll();
    ASSERT_TRUE(products->locate("CODIGO", 1));
    EXPECT_DOUBLE_EQ(products->field("PRECO_VENDA").asFloat(), 4.35);
    EXPECT_DOUBLE_EQ(products->field("PRECO_COMPRA").asFloat(), 2.125);

    struct Case {
        double typed, stored;
        int units; // of the column's last decimal
    };
    for (const Case c : {Case{4.35, 4.35, 435}, Case{4.555, 4.56, 456}, Case{-0.015, -0.02, -2},
                         Case{1234567.1, 1234567.1, 123456710}}) {
        products->postAndApply([&] {
            products->edit();
            products->field("PRECO_VENDA").setValue(c.typed);
        });
        EXPECT_DOUBLE_EQ(products->field("PRECO_VENDA").asFloat(), c.stored) << c.typed;
        EXPECT_EQ(scalar("select cast(PRECO_VENDA * 100 as bigint) from TPRODUTO").toLongLong(),
                  c.units)
            << c.typed;
    }
    // Found again by its old value when another field changes.
    products->postAndApply([&] {
        products->edit();
        products->field("DESCRICAO").setValue("B");
    });
    EXPECT_EQ(scalar("select DESCRICAO from TPRODUTO").toString(), "B");
}

TEST_F(LegacyColumns, PaddedCharTextsAreReadWithoutTheirPadding) {
    replaceColumn("TGRUPO", "DESCRICAO", "CHAR(30)", 2);
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (1, 'BEBIDAS')");
    reopen();
    dm->TBGRUPO->open();
    ASSERT_TRUE(dm->TBGRUPO->locate("DESCRICAO", "BEBIDAS"));
    EXPECT_EQ(dm->TBGRUPO->field("DESCRICAO").asString(), "BEBIDAS");
}

TEST_F(LegacyColumns, ARequiredColumnThisProgramDoesNotKnowIsNamed) {
    exec("alter table TGRUPO add SETOR VARCHAR(10) NOT NULL");
    reopen();
    data::ClientDataSet* groups = dm->TBGRUPO;
    groups->open();
    try {
        groups->postAndApply([&] {
            groups->insert();
            groups->field("CODIGO").setValue(1);
            groups->field("DESCRICAO").setValue("BEBIDAS");
        });
        ADD_FAILURE() << "stored";
    } catch (const data::DatabaseError& e) {
        EXPECT_TRUE(e.message().contains("coluna SETOR da tabela TGRUPO")) << e.what();
    }
    EXPECT_EQ(scalar("select count(*) from TGRUPO").toInt(), 0);
}

} // namespace
