// Filters, locate and ordering over an in-memory dataset: what a window sees of the rows.
#include "platform/data/client_dataset.h"
#include "platform/data/errors.h"
#include <gtest/gtest.h>

using namespace data;

namespace {

FieldDef column(const char* name, FieldKind kind, int size = 0, bool key = false) {
    FieldDef def;
    def.name = name;
    def.kind = kind;
    def.size = size;
    def.key = def.required = key;
    return def;
}

class DataSetView : public ::testing::Test {
protected:
    void SetUp() override {
        ds.setObjectName("TBTESTE");
        ds.addField(column("CODIGO", FieldKind::Integer, 0, true));
        ds.addField(column("NOME", FieldKind::Text, 50));
        ds.addField(column("TIPO", FieldKind::Text, 20));
        ds.addField(column("GRUPO", FieldKind::Integer));
        ds.addField(column("PRECO", FieldKind::Float));
        ds.addField(column("DATA", FieldKind::Date));
        ds.createDataSet();
        add(1, "Álvaro Silva", "ENTRADA", 3, 10.5, QDate(2024, 2, 29));
        add(2, "bruno d'ávila", "SAIDA", 3, 2, QDate(2024, 3, 1));
        add(3, "Alberto", "ENTRADA", 12, 0, QDate(2023, 12, 31));
        add(4, "CARLOS SILVA", "SAIDA", 0, -1, QDate());
        add(5, "", "ENTRADA", 4, 7.25, QDate(2024, 1, 15));
    }
    void add(int code, const QString& name, const char* kind, int group, double price, QDate date) {
        ds.insert();
        ds.field("CODIGO").setValue(code);
        ds.field("NOME").setAsString(name);
        ds.field("TIPO").setAsString(kind);
        ds.field("GRUPO").setValue(group);
        ds.field("PRECO").setValue(price);
        if (date.isValid())
            ds.field("DATA").setValue(date);
        ds.post();
    }
    std::vector<int> visibleCodes() {
        std::vector<int> codes;
        for (int i = 0; i < ds.recordCount(); ++i)
            codes.push_back(ds.valueAt(i, 0).toInt());
        return codes;
    }
    ClientDataSet ds;
};

TEST_F(DataSetView, FilterExpressions) {
    struct Case {
        const char* expression;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {"TIPO = 'ENTRADA'", {1, 3, 5}},
        {"TIPO = 'SAIDA'", {2, 4}},
        {"GRUPO = '3'", {1, 2}}, // text literal against an integer column
        {"GRUPO = 3 AND TIPO = 'SAIDA'", {2}},
        {"GRUPO > 3 OR PRECO < 0", {3, 4, 5}},
        {"NOT (TIPO = 'ENTRADA')", {2, 4}},
        {"NOME LIKE ('%Silva%')", {1}}, // LIKE is case-sensitive
        {"UPPER(NOME) LIKE UPPER('%sil%')", {1, 4}},
        {"NOME LIKE 'Al_erto'", {3}},
        {"TIPO LIKE 'ENT_ADA' ESCAPE '!'", {1, 3, 5}}, // only the escaped _ is literal
        {"TIPO LIKE 'ENT!_ADA' ESCAPE '!'", {}},
        {"'A_B%' LIKE 'A!_B!%' ESCAPE '!'", {1, 2, 3, 4, 5}},
        {"NOME = 'bruno d''ávila'", {2}}, // doubled quote inside a literal
        {"NOME IS NULL", {5}},
        {"DATA IS NOT NULL AND DATA >= '01/01/2024'", {1, 2, 5}},
        {"[GRUPO] IN (0, 12)", {3, 4}},
        {"PRECO = 7.25", {5}},
        {"CODIGO <> 1 AND CODIGO != 2 AND CODIGO <= 4", {3, 4}},
    };
    ds.setFiltered(true);
    for (const Case& c : cases) {
        ds.setFilter(c.expression);
        EXPECT_EQ(visibleCodes(), c.codes) << c.expression;
    }
    ds.setFiltered(false);
    EXPECT_EQ(ds.recordCount(), 5);
}

TEST_F(DataSetView, MalformedFilterIsRefusedAndTheOldOneStays) {
    ds.setFilter("TIPO = 'SAIDA'");
    ds.setFiltered(true);
    for (const char* bad :
         {"TIPO = 'ENTRADA", "TIPO ==", "CAMPO_NENHUM = 1", "(GRUPO = 3", "GRUPO = 3)"})
        EXPECT_THROW(ds.setFilter(bad), DataError) << bad;
    EXPECT_EQ(ds.filter(), "TIPO = 'SAIDA'");
    EXPECT_EQ(visibleCodes(), (std::vector<int>{2, 4}));
}

TEST_F(DataSetView, RowsPostedIntoAFilteredViewFollowTheFilter) {
    ds.setFilter("TIPO = 'ENTRADA'");
    ds.setFiltered(true);
    add(6, "NOVA", "SAIDA", 1, 1, QDate());
    EXPECT_EQ(visibleCodes(), (std::vector<int>{1, 3, 5}));
    add(7, "NOVA", "ENTRADA", 1, 1, QDate());
    EXPECT_EQ(visibleCodes(), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(ds.field("CODIGO").asInteger(), 7) << "the posted row is current";
}

TEST_F(DataSetView, LocateOptions) {
    struct Case {
        const char* fields;
        QVariantList values;
        LocateOptions options;
        int found; // 0: not found
    };
    const Case cases[] = {
        {"NOME", {"Alberto"}, 0, 3},
        {"NOME", {"alberto"}, 0, 0},
        {"NOME", {"alberto"}, CaseInsensitive, 3},
        {"NOME", {"Al"}, 0, 0},
        {"NOME", {"Al"}, PartialKey, 3}, // "Álvaro" does not start with "Al"
        {"NOME", {"carlos"}, CaseInsensitive | PartialKey, 4},
        {"CODIGO", {"2"}, 0, 2},
        {"TIPO;GRUPO", {"SAIDA", 0}, 0, 4},
        {"DATA", {QDate(2024, 3, 1)}, 0, 2},
        {"CODIGO", {99}, 0, 0},
    };
    for (const Case& c : cases) {
        ds.first();
        const bool found = ds.locate(c.fields, c.values, c.options);
        EXPECT_EQ(found, c.found != 0)
            << c.fields << " " << c.values.value(0).toString().toStdString();
        EXPECT_EQ(ds.field("CODIGO").asInteger(), found ? c.found : 1)
            << "not found leaves the cursor";
    }
}

TEST_F(DataSetView, IndexOrdersTextTheBrazilianWay) {
    ds.addIndex("PorNome", "NOME");
    ds.setIndexName("PorNome");
    EXPECT_EQ(visibleCodes(), (std::vector<int>{5, 3, 1, 2, 4}))
        << "empty first, Á with A, case ignored";
    ds.addIndex("PorGrupoDesc", "GRUPO;NOME", Descending);
    ds.setIndexName("PorGrupoDesc");
    EXPECT_EQ(visibleCodes(), (std::vector<int>{3, 5, 2, 1, 4}));
    add(6, "Beatriz", "SAIDA", 3, 0, QDate());
    EXPECT_EQ(visibleCodes(), (std::vector<int>{3, 5, 2, 6, 1, 4}))
        << "a posted row takes its sorted place";
    ds.setIndexName("");
    EXPECT_EQ(visibleCodes(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_THROW(ds.setIndexName("Nenhum"), DataError);
}

// Switching a filter keeps the index's order without sorting again; a change of the rows in
// between must still reach the order.
TEST_F(DataSetView, FilterSwitchesKeepTheIndexOrderThroughChanges) {
    ds.addIndex("PorNome", "NOME");
    ds.setIndexName("PorNome");
    ds.setFilter("TIPO = 'ENTRADA'");
    ds.setFiltered(true);
    EXPECT_EQ(visibleCodes(), (std::vector<int>{5, 3, 1}));
    ASSERT_TRUE(ds.locate("CODIGO", 1));
    ds.edit();
    ds.field("NOME").setAsString("Zélia");
    ds.post();
    ASSERT_TRUE(ds.locate("CODIGO", 5));
    ds.deleteRecord();
    ds.setFiltered(false);
    EXPECT_EQ(visibleCodes(), (std::vector<int>{3, 2, 4, 1}));
    ds.setFiltered(true);
    EXPECT_EQ(visibleCodes(), (std::vector<int>{3, 1}));
    add(7, "Ana", "ENTRADA", 1, 1, QDate());
    ds.setFiltered(false);
    ds.setFiltered(true);
    EXPECT_EQ(visibleCodes(), (std::vector<int>{3, 7, 1}));
}

TEST_F(DataSetView, CursorWalkAndEditCancel) {
    std::vector<int> walked;
    for (ds.first(); !ds.eof(); ds.next())
        walked.push_back(int(ds.field("CODIGO").asInteger()));
    EXPECT_EQ(walked, (std::vector<int>{1, 2, 3, 4, 5}));
    ds.last();
    ds.prior();
    EXPECT_EQ(ds.field("CODIGO").asInteger(), 4);
    ds.edit();
    ds.field("NOME").setAsString("MUDADO");
    EXPECT_EQ(ds.field("NOME").asString(), "MUDADO");
    ds.cancel();
    EXPECT_EQ(ds.field("NOME").asString(), "CARLOS SILVA");
    ds.deleteRecord();
    EXPECT_EQ(ds.recordCount(), 4);
    EXPECT_EQ(ds.field("CODIGO").asInteger(), 5);
}

} // namespace
