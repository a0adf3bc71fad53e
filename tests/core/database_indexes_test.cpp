// A database made before the program's indexes existed gets them on its first opening, with its
// rows untouched; a database that has them is left alone.
#include "core/database_indexes.h"
#include "platform/data/sql_connection.h"
#include "tests/support/program_folder.h"
#include <QRegularExpression>

using testing_support::DataModuleTest;
using testing_support::ProgramFolder;

namespace {

class DatabaseIndexes : public DataModuleTest {
protected:
    QStringList indexesOf(const QString& table) {
        return scalar("select list(trim(RDB$INDEX_NAME), ' ') from (select RDB$INDEX_NAME from "
                      "RDB$INDICES where RDB$RELATION_NAME = '" +
                      table +
                      "' and coalesce(RDB$SYSTEM_FLAG, 0) = 0 and RDB$INDEX_NAME "
                      "not starting 'RDB$' order by 1)")
            .toString()
            .split(' ', Qt::SkipEmptyParts);
    }
};

// Read before the program opens the file, which would add what db/main.sql left out.
TEST(NewDatabase, DbMainSqlMakesEveryIndexTheProgramListsWithTheSameExpression) {
    ProgramFolder folder;
    data::SqlConnection connection;
    connection.params() << "Database=" + folder.file("QUIRU.GDB")
                        << QStringLiteral("User_name=SYSDBA") << QStringLiteral("Password=x");
    connection.open();
    const auto words = [](QString text) {
        return text.remove(QRegularExpression(QStringLiteral("\\s")));
    };
    for (const DatabaseIndex& index : databaseIndexes()) {
        const QVariant source = testing_support::scalar(
            &connection, QStringLiteral("select coalesce(RDB$EXPRESSION_SOURCE, '') from "
                                        "RDB$INDICES where RDB$INDEX_NAME = '%1'")
                             .arg(QLatin1String(index.name)));
        ASSERT_TRUE(source.isValid()) << index.name << " is missing from db/main.sql";
        if (!index.columns) {
            EXPECT_EQ(words(source.toString()), words('(' + index.expression + ')')) << index.name;
        }
    }
}

TEST_F(DatabaseIndexes, AnOldDatabaseGetsThemOnOpeningAndKeepsItsRows) {
    exec("insert into TMOVIMENTACAO (CODIGO, PRODUTO, QUANTIDADE, TIPO) values (1, 7, 2, "
         "'ENTRADA')");
    for (const DatabaseIndex& index : databaseIndexes())
        exec(QStringLiteral("DROP INDEX %1").arg(QLatin1String(index.name)));
    EXPECT_EQ(indexesOf("TMOVIMENTACAO"), QStringList{});

    reopen(); // as a shop's existing file is opened by this program
    EXPECT_EQ(
        indexesOf("TMOVIMENTACAO"),
        (QStringList{"TMOVIMENTACAO_CENTRO_CUSTO", "TMOVIMENTACAO_CLIENTE",
                     "TMOVIMENTACAO_CODIGO_DESC", "TMOVIMENTACAO_DATA", "TMOVIMENTACAO_FORNECEDOR",
                     "TMOVIMENTACAO_PRODUTO", "TMOVIMENTACAO_TIPO_DATA"}));
    EXPECT_TRUE(indexesOf("TPRODUTO").contains(kProductDescriptionOrderIndex));
    EXPECT_EQ(scalar("select PRODUTO * 10 + QUANTIDADE from TMOVIMENTACAO").toInt(), 72);
    EXPECT_EQ(scalar("select count(*) from TMOVIMENTACAO where PRODUTO = 7").toInt(), 1);
    EXPECT_TRUE(addMissingIndexes(*dm->SQLConnection1).isEmpty()) << "added once";
}

} // namespace
