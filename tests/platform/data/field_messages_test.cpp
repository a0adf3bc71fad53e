// What the user reads when a typed value does not fit its field: Portuguese that agrees with the
// kind ("uma data válida"), naming the field as the window labels it, or by its column name when
// it has no label.
#include "platform/data/client_dataset.h"
#include "platform/data/errors.h"
#include <gtest/gtest.h>

using namespace data;

namespace {

FieldDef column(const char* name, FieldKind kind, const char* label = "", int size = 0) {
    FieldDef def;
    def.name = name;
    def.kind = kind;
    def.displayLabel = QString::fromUtf8(label);
    def.size = size;
    return def;
}

TEST(FieldMessages, NameTheFieldByItsLabelInAgreeingPortuguese) {
    ClientDataSet ds;
    ds.addField(column("CODIGO", FieldKind::Integer, "CÓDIGO")).def().required = true;
    ds.addField(column("QUANTIDADE", FieldKind::Float, "QTD."));
    ds.addField(column("DATANASC", FieldKind::Date, "DATA NASCIMENTO"));
    ds.addField(column("DATA", FieldKind::Date));
    ds.addField(column("HORARIO", FieldKind::Time, "HORÁRIO"));
    ds.addField(column("UF", FieldKind::Text, "UF", 2));
    ds.createDataSet();
    ds.insert();

    struct Case {
        const char* field;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {"DATANASC", "31/02/1990",
         "'31/02/1990' não é uma data válida para o campo DATA NASCIMENTO."},
        {"DATA", "31/02/1990", "'31/02/1990' não é uma data válida para o campo DATA."},
        {"HORARIO", "25:10", "'25:10' não é um horário válido para o campo HORÁRIO."},
        {"QUANTIDADE", "doze", "'doze' não é um número válido para o campo QTD."},
        {"CODIGO", "4,5", "'4,5' não é um número inteiro válido para o campo CÓDIGO."},
        {"CODIGO", "2147483648",
         "O valor 2147483648 está fora do intervalo permitido para o campo CÓDIGO "
         "(-2147483648 a 2147483647)."},
        {"UF", "SPX", "O texto do campo UF tem 3 caracteres; o máximo é 2."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        try {
            ds.field(c.field).setAsString(QString::fromUtf8(c.typed));
            ADD_FAILURE() << "accepted";
        } catch (const FieldError& e) {
            EXPECT_EQ(e.message().toStdString(), c.message);
        }
        EXPECT_TRUE(ds.field(c.field).isNull()) << "the field keeps its value";
    }

    try {
        ds.post();
        ADD_FAILURE() << "posted without a code";
    } catch (const FieldError& e) {
        EXPECT_EQ(e.message().toStdString(), "O campo 'CÓDIGO' precisa ser preenchido.");
    }
}

} // namespace
