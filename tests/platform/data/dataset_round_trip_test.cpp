// Every column kind the program's tables use, stored and read back: through the dataset's own
// table reader, through a plain QSqlQuery, and written through the dataset (post and apply).
// The values sit where readers go wrong: the engine's date origin, leap days, the calendar's ends,
// times with milliseconds, pictures longer than one blob segment, characters beyond 16 bits.
#include "platform/data/errors.h"
#include "tests/support/program_folder.h"
#include <QSqlQuery>
#include <set>

using namespace data;
using testing_support::DataModuleTest;

namespace {

QByteArray pattern(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) % 256);
    return bytes;
}

// A picture shows as its size and a few bytes; everything else as its text.
std::string shown(const QVariant& v) {
    if (v.isNull())
        return "NULL";
    if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray b = v.toByteArray();
        return std::to_string(b.size()) + " bytes " + b.left(8).toHex().toStdString();
    }
    if (v.typeId() == QMetaType::QTime)
        return v.toTime().toString("HH:mm:ss.zzz").toStdString();
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 17).toStdString();
    return v.toString().toStdString();
}

} // namespace

// Failures show values, not QVariant's bytes.
void PrintTo(const QVariant& v, std::ostream* out) {
    *out << shown(v);
}

namespace {

struct Case {
    const char* name;
    const char* column;
    QVariant value;
};

const QString kFiftyCharacters = QString("𝄞").repeated(25) + QString(25, 'A');

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"integer zero", "INTEIRO", 0},
        {"integer minus one", "INTEIRO", -1},
        {"integer largest", "INTEIRO", 2147483647},
        {"integer smallest", "INTEIRO", int(-2147483647 - 1)},
        {"double one tenth", "NUMERO", 0.1},
        {"double one third", "NUMERO", 1.0 / 3},
        {"double huge negative", "NUMERO", -2.5e300},
        {"double smallest subnormal", "NUMERO", 4.9e-324},
        {"text four-byte characters", "TEXTO", QString("Clave 𝄞 e rosto 😀")},
        {"text accents", "TEXTO", QString("AÇÃO ÜBER ñ ª º")},
        {"text trailing spaces", "TEXTO", QString("FIM  ")},
        {"text fifty characters, half beyond 16 bits", "TEXTO", kFiftyCharacters},
        {"date engine origin", "DATA", QDate(1858, 11, 17)},
        {"date day before origin", "DATA", QDate(1858, 11, 16)},
        {"date day after origin", "DATA", QDate(1858, 11, 18)},
        {"date leap day 2024", "DATA", QDate(2024, 2, 29)},
        {"date after leap day 2024", "DATA", QDate(2024, 3, 1)},
        {"date end of February 2023", "DATA", QDate(2023, 2, 28)},
        {"date after February 2023", "DATA", QDate(2023, 3, 1)},
        {"date leap day 2000", "DATA", QDate(2000, 2, 29)},
        {"date no leap day 1900", "DATA", QDate(1900, 3, 1)},
        {"date Gregorian start", "DATA", QDate(1582, 10, 15)},
        {"date first", "DATA", QDate(1, 1, 1)},
        {"date last", "DATA", QDate(9999, 12, 31)},
        {"time midnight", "HORA", QTime(0, 0, 0)},
        {"time with seconds", "HORA", QTime(12, 34, 56)},
        {"time with milliseconds", "HORA", QTime(12, 34, 56, 789)},
        {"time one millisecond", "HORA", QTime(0, 0, 0, 1)},
        {"time last millisecond", "HORA", QTime(23, 59, 59, 999)},
        {"picture empty", "FOTO", QByteArray("")},
        {"picture one byte", "FOTO", QByteArray(1, '\0')},
        {"picture one segment", "FOTO", pattern(32768)},
        {"picture 70,000 bytes", "FOTO", pattern(70000)},
    };
    return all;
}

const char* const kColumns[] = {"INTEIRO", "NUMERO", "TEXTO", "DATA", "HORA", "FOTO"};
constexpr int kAllNullRow = 1000;

class DataSetRoundTrip : public DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        schemaKinds = columnKinds(dm->SQLConnection1, "");
        for (const QString& kind : columnKinds(dm->SQLConnection2, ""))
            schemaKinds.insert(kind);
        ddl("create table ROUND_TRIP (CODIGO integer not null primary key, INTEIRO integer, "
            "NUMERO double precision, TEXTO varchar(50), DATA date, HORA time, "
            "FOTO blob sub_type binary)");
        table.setObjectName("TBROUND_TRIP");
        table.setTable(dm->SQLConnection1, "ROUND_TRIP");
    }
    void TearDown() override {
        table.close();
        DataModuleTest::TearDown();
    }

    // DDL through Qt directly: our exec() would ask for a row count DDL does not have.
    void ddl(const QString& sql) {
        QSqlQuery query(dm->SQLConnection1->database());
        ASSERT_TRUE(query.exec(sql)) << sql.toStdString();
    }

    // Type, subtype and scale of every column of the user's tables, or of one table.
    static std::set<QString> columnKinds(SqlConnection* connection, const QString& onlyTable) {
        QSqlQuery query(connection->database());
        query.prepare("select distinct f.RDB$FIELD_TYPE, coalesce(f.RDB$FIELD_SUB_TYPE, 0), "
                      "coalesce(f.RDB$FIELD_SCALE, 0) "
                      "from RDB$RELATION_FIELDS rf "
                      "join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                      "join RDB$RELATIONS r on r.RDB$RELATION_NAME = rf.RDB$RELATION_NAME "
                      "where coalesce(r.RDB$SYSTEM_FLAG, 0) = 0 "
                      "and (trim(r.RDB$RELATION_NAME) = :t or :t2 = '')");
        query.bindValue(":t", onlyTable);
        query.bindValue(":t2", onlyTable);
        EXPECT_TRUE(query.exec());
        std::set<QString> kinds;
        while (query.next())
            kinds.insert(QStringLiteral("type %1 subtype %2 scale %3")
                             .arg(query.value(0).toInt())
                             .arg(query.value(1).toInt())
                             .arg(query.value(2).toInt()));
        return kinds;
    }

    // Stores one case through Qt's own binding: the reference the dataset is compared with.
    void storePlainly(int code, const Case& c) {
        QSqlQuery query(dm->SQLConnection1->database());
        query.prepare(
            QStringLiteral("insert into ROUND_TRIP (CODIGO, %1) values (:c, :v)").arg(c.column));
        query.bindValue(":c", code);
        query.bindValue(":v", c.value);
        ASSERT_TRUE(query.exec()) << c.name;
    }

    QVariant readPlainly(int code, const QString& column) {
        QSqlQuery query(dm->SQLConnection1->database());
        query.setForwardOnly(true);
        EXPECT_TRUE(query.exec(
            QStringLiteral("select %1 from ROUND_TRIP where CODIGO = %2").arg(column).arg(code)));
        EXPECT_TRUE(query.next()) << "row " << code;
        return query.value(0);
    }

    // The dataset's row for this code holds the case's value in its column and NULL elsewhere.
    void expectRow(int code, const Case* c) {
        ASSERT_TRUE(table.locate("CODIGO", code)) << "row " << code;
        for (const char* column : kColumns) {
            const Field& field = table.field(column);
            const bool mine = c && qstrcmp(c->column, column) == 0;
            if (!mine) {
                EXPECT_TRUE(field.isNull()) << column << " holds " << shown(field.value());
                continue;
            }
            EXPECT_FALSE(field.isNull()) << column;
            EXPECT_EQ(field.value(), c->value) << column;
        }
    }

    std::set<QString> schemaKinds;
    ClientDataSet table;
};

TEST_F(DataSetRoundTrip, CoversEveryColumnKindOfTheProgramsTables) {
    const std::set<QString> covered = columnKinds(dm->SQLConnection1, "ROUND_TRIP");
    ASSERT_GE(schemaKinds.size(), 5u) << "the schema's kinds were read";
    for (const QString& kind : schemaKinds)
        EXPECT_TRUE(covered.count(kind)) << kind.toStdString() << " is not round-tripped here";
}

TEST_F(DataSetRoundTrip, EveryDataSetOfTheDataModuleOpensOnTheProgramsTables) {
    // Its declared fields match the tables' columns in kind.
    for (ClientDataSet* ds : dm->findChildren<ClientDataSet*>()) {
        SCOPED_TRACE(ds->objectName().toStdString());
        try {
            ds->open();
        } catch (const DataError& e) {
            ADD_FAILURE() << e.message().toStdString();
        }
        EXPECT_TRUE(ds->active());
    }
}

TEST_F(DataSetRoundTrip, StoredValuesReadTheSameThroughTheDataSetAsThroughAPlainQuery) {
    for (std::size_t i = 0; i < cases().size(); ++i)
        storePlainly(int(i) + 1, cases()[i]);
    exec(QStringLiteral("insert into ROUND_TRIP (CODIGO) values (%1)").arg(kAllNullRow));

    table.open();
    ASSERT_EQ(table.recordCount(), int(cases().size()) + 1);
    for (std::size_t i = 0; i < cases().size(); ++i) {
        const Case& c = cases()[i];
        SCOPED_TRACE(c.name);
        const int code = int(i) + 1;
        expectRow(code, &c);
        const QVariant plain = readPlainly(code, c.column);
        EXPECT_EQ(table.field(c.column).value(), plain) << "as the plain query reads it";
    }
    SCOPED_TRACE("all NULL");
    expectRow(kAllNullRow, nullptr);
}

TEST_F(DataSetRoundTrip, ValuesWrittenThroughTheDataSetAreStoredAsGiven) {
    table.open();
    for (std::size_t i = 0; i < cases().size(); ++i) {
        const Case& c = cases()[i];
        table.insert();
        table.field("CODIGO").setValue(int(i) + 1);
        table.field(c.column).setValue(c.value);
        table.post();
    }
    table.insert();
    table.field("CODIGO").setValue(kAllNullRow);
    table.post();
    table.applyUpdates(0);

    for (std::size_t i = 0; i < cases().size(); ++i) {
        const Case& c = cases()[i];
        SCOPED_TRACE(c.name);
        const QVariant plain = readPlainly(int(i) + 1, c.column);
        EXPECT_EQ(plain, c.value) << "as stored";
    }
    table.refresh();
    for (std::size_t i = 0; i < cases().size(); ++i) {
        SCOPED_TRACE(cases()[i].name);
        expectRow(int(i) + 1, &cases()[i]);
    }
    expectRow(kAllNullRow, nullptr);

    // Clearing a value through an update stores NULL.
    for (std::size_t i = 0; i < cases().size(); ++i) {
        ASSERT_TRUE(table.locate("CODIGO", int(i) + 1));
        table.edit();
        table.field(cases()[i].column).clear();
        table.post();
    }
    table.applyUpdates(0);
    EXPECT_EQ(scalar("select count(*) from ROUND_TRIP where INTEIRO is not null or NUMERO is not "
                     "null or TEXTO is not null or DATA is not null or HORA is not null or "
                     "FOTO is not null")
                  .toInt(),
              0);
}

// Types no field kind holds exactly are refused when the table opens, naming table and column,
// instead of being read cut, padded or rounded.
TEST_F(DataSetRoundTrip, ColumnsTheDataSetCannotHoldAreRefusedByName) {
    struct Refused {
        const char* sqlType;
        const char* value;
        const char* named;
    };
    const Refused refused[] = {
        {"bigint", "1099511627776", "BIGINT"},
        {"smallint", "7", "SMALLINT"},
        {"timestamp", "'2024-02-29 10:20:30'", "TIMESTAMP"},
        {"float", "0.1", "FLOAT"},
        {"boolean", "true", "BOOLEAN"},
    };
    int n = 0;
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.sqlType);
        const QString name = QStringLiteral("REFUSED_%1").arg(++n);
        ddl(QStringLiteral("create table %1 (CODIGO integer not null primary key, VALOR %2)")
                .arg(name, r.sqlType));
        exec(QStringLiteral("insert into %1 values (1, %2)").arg(name, r.value));
        ClientDataSet ds;
        ds.setTable(dm->SQLConnection1, name);
        try {
            ds.open();
            ADD_FAILURE() << "opened";
        } catch (const DataError& e) {
            EXPECT_EQ(e.message(),
                      QStringLiteral("Não é possível abrir a tabela %1: a coluna VALOR "
                                     "é do tipo %2, que o programa não sabe guardar.")
                          .arg(name, QString::fromUtf8(r.named)));
        }
        EXPECT_FALSE(ds.active());

        // Declared fields that leave the column out read the rest.
        ClientDataSet codes;
        codes.setTable(dm->SQLConnection1, name);
        FieldDef code;
        code.name = "CODIGO";
        code.kind = FieldKind::Integer;
        codes.addField(code);
        codes.open();
        EXPECT_EQ(codes.field("CODIGO").asInteger(), 1);
    }
}

TEST_F(DataSetRoundTrip, ADeclaredFieldOfAnotherKindIsRefused) {
    ClientDataSet ds;
    ds.setTable(dm->SQLConnection1, "ROUND_TRIP");
    FieldDef def;
    def.name = "NUMERO"; // double precision
    def.kind = FieldKind::Integer;
    ds.addField(def);
    try {
        ds.open();
        FAIL() << "opened";
    } catch (const DataError& e) {
        EXPECT_EQ(e.message(),
                  "Não é possível abrir a tabela ROUND_TRIP: a coluna NUMERO é do "
                  "tipo DOUBLE PRECISION, mas o programa a trata como número inteiro.");
    }
    EXPECT_FALSE(ds.active());
}

TEST_F(DataSetRoundTrip, AQuerysWideIntegerIsReadWhenItFitsAndRefusedWhenNot) {
    SqlQuery query(dm->SQLConnection1);
    ClientDataSet ds;
    ds.setObjectName("TBConta");
    ds.setQuery(&query);
    FieldDef def;
    def.name = "N";
    def.kind = FieldKind::Integer;
    ds.addField(def);

    query.sql() << "select cast(2147483647 as bigint) as N from RDB$DATABASE";
    ds.open();
    EXPECT_EQ(ds.field("N").asInteger(), 2147483647);
    ds.close();

    query.sql().clear();
    query.sql() << "select cast(2147483648 as bigint) as N from RDB$DATABASE";
    try {
        ds.open();
        FAIL() << "opened";
    } catch (const DataError& e) {
        EXPECT_EQ(e.message(), "TBConta: o valor 2147483648 da coluna N não cabe num número "
                               "inteiro de 32 bits.");
    }
    EXPECT_FALSE(ds.active());
}

} // namespace
