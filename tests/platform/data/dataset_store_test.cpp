// The cached dataset against a real database: what reaches the tables and what stays cached.
#include "platform/data/errors.h"
#include "tests/support/program_folder.h"

using namespace data;
using testing_support::DataModuleTest;

namespace {

class DataSetStore : public DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        exec("insert into TGRUPO (CODIGO, DESCRICAO) values (1, 'FERRAGENS')");
        exec("insert into TGRUPO (CODIGO, DESCRICAO) values (2, 'TINTAS')");
        groups = dm->TBGRUPO;
        groups->open();
    }
    void addGroup(int code, const QString& name) {
        groups->insert();
        groups->field("CODIGO").setValue(code);
        groups->field("DESCRICAO").setAsString(name);
        groups->post();
    }
    QString stored(int code) {
        return scalar(QStringLiteral("select DESCRICAO from TGRUPO where CODIGO = %1").arg(code))
            .toString();
    }
    ClientDataSet* groups = nullptr;
};

TEST_F(DataSetStore, ReadsInsertsEditsAndDeletesThroughTheLog) {
    EXPECT_EQ(groups->recordCount(), 2);
    EXPECT_EQ(groups->field("DESCRICAO").asString(), "FERRAGENS");

    addGroup(3, "ELÉTRICA");
    EXPECT_EQ(groups->field("CODIGO").asInteger(), 3) << "the posted row is the current one";
    EXPECT_EQ(groups->changeCount(), 1);
    EXPECT_TRUE(stored(3).isEmpty()) << "nothing is written before apply";
    groups->applyUpdates(0);
    EXPECT_EQ(groups->changeCount(), 0);
    EXPECT_EQ(stored(3), "ELÉTRICA");

    ASSERT_TRUE(groups->locate("CODIGO", 2));
    groups->edit();
    groups->field("DESCRICAO").setAsString("TINTAS E VERNIZES");
    groups->post();
    groups->applyUpdates(0);
    EXPECT_EQ(stored(2), "TINTAS E VERNIZES");
    EXPECT_EQ(stored(1), "FERRAGENS") << "only the edited row changes";

    ASSERT_TRUE(groups->locate("CODIGO", 1));
    groups->deleteRecord();
    groups->applyUpdates(0);
    EXPECT_EQ(scalar("select count(*) from TGRUPO").toInt(), 2);
    EXPECT_EQ(groups->recordCount(), 2);

    groups->refresh();
    EXPECT_EQ(groups->recordCount(), 2);
}

TEST_F(DataSetStore, FailedApplyStoresNothingAndKeepsTheLog) {
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (5, 'OUTRO PROGRAMA')");
    addGroup(4, "NOVO");
    addGroup(5, "REPETIDO"); // the key was taken behind the cache's back
    try {
        groups->applyUpdates(0);
        FAIL() << "duplicate key must fail";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains("Já existe")) << e.message().toStdString();
        EXPECT_TRUE(e.detail().contains("PRIMARY or UNIQUE KEY")) << e.detail().toStdString();
    }
    EXPECT_EQ(groups->changeCount(), 2);
    EXPECT_EQ(scalar("select count(*) from TGRUPO where CODIGO = 4").toInt(), 0)
        << "all or nothing";

    groups->cancelUpdates();
    EXPECT_EQ(groups->changeCount(), 0);
    EXPECT_EQ(groups->recordCount(), 2);
}

TEST_F(DataSetStore, ChangeToARowGoneElsewhereIsAnErrorNotASuccess) {
    exec("delete from TGRUPO where CODIGO = 2");
    ASSERT_TRUE(groups->locate("CODIGO", 2));
    groups->edit();
    groups->field("DESCRICAO").setAsString("PERDIDO");
    groups->post();
    EXPECT_THROW(groups->applyUpdates(0), DatabaseError);
    EXPECT_EQ(groups->changeCount(), 1);

    groups->cancelUpdates();
    ASSERT_TRUE(groups->locate("CODIGO", 2));
    groups->deleteRecord();
    EXPECT_THROW(groups->applyUpdates(0), DatabaseError);
    EXPECT_EQ(groups->changeCount(), 1);
}

TEST_F(DataSetStore, RequiredKeyRefusesThePost) {
    groups->insert();
    groups->field("DESCRICAO").setAsString("SEM CÓDIGO");
    EXPECT_THROW(groups->post(), FieldError);
    EXPECT_EQ(groups->state(), DataSetState::Insert);
    groups->cancel();
    EXPECT_EQ(groups->recordCount(), 2);
    EXPECT_EQ(groups->changeCount(), 0);
}

TEST_F(DataSetStore, BadValuesAreRefusedBeforeTheDriverAndLeaveTheRecord) {
    ClientDataSet* products = dm->TBPRODUTOS;
    products->open();
    products->insert();
    products->field("CODIGO").setValue(1);
    products->field("DESCRICAO").setAsString("PARAFUSO");
    products->field("ESTOQUEATUAL").setAsString("12,5");

    struct Case {
        const char* field;
        QVariant value;
    };
    const Case cases[] = {
        {"CODIGO", QVariant(qint64(2147483648LL))}, // the driver would store -2147483648
        {"FORNECEDOR", QVariant(QString("-2147483649"))},
        {"DESCRICAO", QVariant(QString(51, 'X'))}, // the driver would cut it to 50
        {"ESTOQUEATUAL", QVariant(QString("doze"))},
        {"PRECO_COMPRA", QVariant(QString("1,2,3"))},
        {"GRUPO", QVariant(QString("4,5"))},
    };
    for (const Case& c : cases) {
        const QVariant before = products->field(c.field).value();
        EXPECT_THROW(products->field(c.field).setValue(c.value), FieldError) << c.field;
        EXPECT_EQ(products->field(c.field).value(), before) << c.field;
    }
    products->post();
    products->applyUpdates(0);
    EXPECT_EQ(scalar("select CODIGO from TPRODUTO").toInt(), 1);
    EXPECT_DOUBLE_EQ(scalar("select ESTOQUEATUAL from TPRODUTO").toDouble(), 12.5);

    ClientDataSet* movements = dm->TBMOVIMENTACAO;
    movements->open();
    movements->insert();
    for (const char* text : {"31/02/2024", "99/99/9999", "ab/cd/efgh"})
        EXPECT_THROW(movements->field("DATA").setAsString(text), FieldError) << text;
    EXPECT_THROW(movements->field("HORARIO").setAsString("25:10"), FieldError);
    movements->field("DATA").setAsString("29/02/2024");
    EXPECT_EQ(movements->field("DATA").asDate(), QDate(2024, 2, 29));
    movements->field("HORARIO").setAsString("08:05");
    EXPECT_EQ(movements->field("HORARIO").asString(), "08:05");
    movements->cancel();
}

TEST_F(DataSetStore, KeylessSettingsRowIsFoundEvenWithEmptyColumns) {
    ClientDataSet* config = dm->TBCONFIG;
    config->open();
    ASSERT_EQ(config->recordCount(), 1);
    EXPECT_TRUE(config->field("LOCAL_BACKUP_BANCO").isNull());
    config->edit();
    config->field("LOCAL_BACKUP_BANCO").setAsString("/backup/QUIRU.GDB");
    config->field("BACKUP_AUTOMATICO").setAsString("SIM");
    config->post();
    config->applyUpdates(0);
    config->refresh();
    EXPECT_EQ(config->field("LOCAL_BACKUP_BANCO").asString(), "/backup/QUIRU.GDB");
    EXPECT_EQ(config->field("BACKUP_AUTOMATICO").asString(), "SIM");

    // A real NULL, not just an empty text, is found too.
    testing_support::exec(dm->SQLConnection2, "update TCONFIGURACAO set INTERVALO_BACKUP = null");
    config->refresh();
    config->edit();
    config->field("INTERVALO_BACKUP").setValue(15);
    config->post();
    config->applyUpdates(0);
    EXPECT_EQ(
        testing_support::scalar(dm->SQLConnection2, "select INTERVALO_BACKUP from TCONFIGURACAO")
            .toInt(),
        15);
}

TEST_F(DataSetStore, ApplyTogetherIsAllOrNothing) {
    ClientDataSet* products = dm->TBPRODUTOS;
    products->open();
    products->insert();
    products->field("CODIGO").setValue(7);
    products->post();
    addGroup(2, "DUPLICADO"); // fails after the product's insert ran
    EXPECT_THROW(ClientDataSet::applyTogether({products, groups}), DatabaseError);
    EXPECT_EQ(scalar("select count(*) from TPRODUTO").toInt(), 0);
    EXPECT_EQ(products->changeCount(), 1);
    EXPECT_EQ(groups->changeCount(), 1);
}

TEST_F(DataSetStore, RefreshRowTakesWhatTheDatabaseHoldsNowForThatRowOnly) {
    groups->addIndex("PorNome", "DESCRICAO");
    groups->setIndexName("PorNome");
    exec("update TGRUPO set DESCRICAO = 'ABRASIVOS' where CODIGO = 2");
    exec("update TGRUPO set DESCRICAO = 'ZINCO' where CODIGO = 1");
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (5, 'MADEIRA')");

    EXPECT_TRUE(groups->refreshRow("CODIGO", 2));
    EXPECT_EQ(groups->field("DESCRICAO").asString(), "ABRASIVOS");
    EXPECT_EQ(groups->recNo(), 0) << "the row moves to its place in the index";
    ASSERT_TRUE(groups->locate("CODIGO", 1));
    EXPECT_EQ(groups->field("DESCRICAO").asString(), "FERRAGENS") << "other rows stay as read";

    EXPECT_TRUE(groups->refreshRow("CODIGO", 5));
    EXPECT_EQ(groups->field("DESCRICAO").asString(), "MADEIRA");
    EXPECT_EQ(groups->recordCount(), 3);

    exec("delete from TGRUPO where CODIGO = 5");
    EXPECT_FALSE(groups->refreshRow("CODIGO", 5));
    EXPECT_FALSE(groups->locate("CODIGO", 5));
    EXPECT_FALSE(groups->refreshRow("CODIGO", 77));
    EXPECT_EQ(groups->recordCount(), 2);

    groups->edit();
    EXPECT_THROW(groups->refreshRow("CODIGO", 2), DataError) << "a record under edit stays";
    groups->cancel();
    addGroup(9, "X");
    EXPECT_THROW(groups->refreshRow("CODIGO", 2), DataError) << "unsent changes stay";
}

} // namespace

namespace {

// Equal texts read close together are kept once: changing one row's text, even to one of the
// same length, leaves every other row that held it as it was, before and after the apply.
TEST_F(DataSetStore, ASharedTextChangedInOneRowStaysInTheOthers) {
    exec("update TGRUPO set DESCRICAO = 'TINTAS'");
    exec("insert into TGRUPO (CODIGO, DESCRICAO) values (3, 'TINTAS')");
    groups->close();
    groups->open();
    ASSERT_TRUE(groups->locate("CODIGO", 2));
    groups->edit();
    groups->field("DESCRICAO").setAsString("PISOS"); // shorter: would fit where TINTAS is kept
    groups->post();
    groups->applyUpdates(0);
    for (int code : {1, 3}) {
        EXPECT_EQ(groups->lookup("CODIGO", code, "DESCRICAO").toString(), "TINTAS") << code;
        EXPECT_EQ(stored(code), "TINTAS") << code;
    }
    EXPECT_EQ(groups->lookup("CODIGO", 2, "DESCRICAO").toString(), "PISOS");
}

} // namespace
