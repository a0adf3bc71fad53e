// A database an older program made keeps its phone columns at 14 characters, too narrow for a
// mobile number as people write it; opening it widens them, keeping their type, character set
// and rows.
#include "core/data_module.h"
#include "core/database_columns.h"
#include "platform/data/sql_connection.h"
#include "tests/support/program_folder.h"

namespace {

class DatabaseColumns : public testing_support::DataModuleTest {
protected:
    // "CHAR 20 WIN1252"
    QString described(const QString& table, const QString& column) {
        return scalar("select trim(iif(f.RDB$FIELD_TYPE = 14, 'CHAR', 'VARCHAR')) || ' ' || "
                      "f.RDB$CHARACTER_LENGTH || ' ' || trim(cs.RDB$CHARACTER_SET_NAME) from "
                      "RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = "
                      "rf.RDB$FIELD_SOURCE join RDB$CHARACTER_SETS cs on "
                      "cs.RDB$CHARACTER_SET_ID = f.RDB$CHARACTER_SET_ID where "
                      "rf.RDB$RELATION_NAME = '" +
                      table + "' and rf.RDB$FIELD_NAME = '" + column + "'")
            .toString();
    }
};

TEST_F(DatabaseColumns, PhoneColumnsOfAnOlderDatabaseAreWidenedOnOpeningAndKeepTheirRows) {
    // As the first databases had them: a CHAR column of a single-byte set, and a VARCHAR.
    exec("alter table TFORNECEDOR drop CELULAR");
    exec("alter table TFORNECEDOR add CELULAR CHAR(14) CHARACTER SET WIN1252");
    exec("alter table TFORNECEDOR alter CELULAR position 8");
    exec("alter table TEMPRESA drop TELEFONE2");
    exec("alter table TEMPRESA add TELEFONE2 VARCHAR(14)");
    exec("alter table TEMPRESA alter TELEFONE2 position 9");
    exec("insert into TFORNECEDOR (CODIGO, DESCRICAO, CELULAR) values (1, 'A', '(11) 9888-77')");
    exec("insert into TEMPRESA (CODIGO, TELEFONE2) values (1, '3333-4444')");
    const QString database = described("TEMPRESA", "TELEFONE1").section(' ', 2);

    reopen();
    EXPECT_EQ(described("TFORNECEDOR", "CELULAR"), "CHAR 20 WIN1252");
    EXPECT_EQ(described("TEMPRESA", "TELEFONE2"), "VARCHAR 20 " + database);
    EXPECT_EQ(scalar("select trim(CELULAR) from TFORNECEDOR").toString(), "(11) 9888-77");
    EXPECT_EQ(scalar("select TELEFONE2 from TEMPRESA").toString(), "3333-4444");
    EXPECT_EQ(scalar("select list(RDB$FIELD_NAME) from RDB$RELATION_FIELDS where "
                     "RDB$RELATION_NAME = 'TEMPRESA' and RDB$FIELD_POSITION = 8")
                  .toString()
                  .trimmed(),
              "TELEFONE2");

    exec("update TFORNECEDOR set CELULAR = '(11) 98888-7777'");
    EXPECT_EQ(scalar("select trim(CELULAR) from TFORNECEDOR").toString(), "(11) 98888-7777");
    EXPECT_TRUE(widenColumns(*dm->SQLConnection1).isEmpty()) << "widened once";
}

// What db/main.sql makes is what the program holds: nothing to widen.
TEST_F(DatabaseColumns, ANewDatabaseHasThemWideAlready) {
    for (const ColumnWidth& c : widenedColumns())
        EXPECT_EQ(described(c.table, c.column).section(' ', 0, 1),
                  QStringLiteral("VARCHAR %1").arg(c.characters))
            << c.table << "." << c.column;
}

} // namespace
