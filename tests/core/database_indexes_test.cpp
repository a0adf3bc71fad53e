// A database made before the program's indexes existed gets them on its first opening, with its
// rows untouched; a database that has them is left alone.
#include "core/database_indexes.h"
#include "tests/support/program_folder.h"

using testing_support::DataModuleTest;

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

TEST_F(DatabaseIndexes, AnOldDatabaseGetsThemOnOpeningAndKeepsItsRows) {
    EXPECT_TRUE(addMissingIndexes(*dm->SQLConnection1).isEmpty())
        << "db/main.sql makes every index the program lists";
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
    EXPECT_EQ(scalar("select PRODUTO * 10 + QUANTIDADE from TMOVIMENTACAO").toInt(), 72);
    EXPECT_EQ(scalar("select count(*) from TMOVIMENTACAO where PRODUTO = 7").toInt(), 1);
    EXPECT_TRUE(addMissingIndexes(*dm->SQLConnection1).isEmpty()) << "added once";
}

} // namespace
