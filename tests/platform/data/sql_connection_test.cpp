// One plain transaction per connection: what it stores, what it undoes, and the clear errors
// when it is begun twice, ended when none is open, or outlived by the connection.
#include "platform/data/errors.h"
#include "platform/data/sql_query.h"
#include "tests/support/program_folder.h"
#include <QProcess>

using namespace data;
using testing_support::DataModuleTest;

namespace {

class Transactions : public DataModuleTest {
protected:
    void addGroup(int code) {
        SqlQuery insert(connection());
        insert.sql() << QStringLiteral("insert into TGRUPO (CODIGO) values (%1)").arg(code);
        insert.exec();
    }
    int groups() { return scalar("select count(*) from TGRUPO").toInt(); }
    SqlConnection* connection() { return dm->SQLConnection1; }

    static void expectError(const std::function<void()>& step, const QString& message) {
        try {
            step();
            ADD_FAILURE() << "no error; expected: " << message.toStdString();
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.message(), message);
        }
    }
};

TEST_F(Transactions, CommitStoresAndRollbackOrLeavingUndoes) {
    {
        SqlConnection::Transaction transaction(*connection());
        EXPECT_TRUE(connection()->inTransaction());
        addGroup(1);
        transaction.commit();
    }
    EXPECT_FALSE(connection()->inTransaction());
    {
        SqlConnection::Transaction transaction(*connection());
        addGroup(2);
    } // left without commit, as when a step throws
    EXPECT_FALSE(connection()->inTransaction());
    connection()->beginTransaction();
    addGroup(3);
    connection()->rollback();
    EXPECT_EQ(groups(), 1);
}

TEST_F(Transactions, NestingAndEndingWithoutOneAreErrors) {
    expectError([&] { connection()->commit(); }, "Não há transação aberta para gravar.");
    expectError([&] { connection()->rollback(); }, "Não há transação aberta para desfazer.");

    SqlConnection::Transaction outer(*connection());
    addGroup(1);
    expectError([&] { SqlConnection::Transaction inner(*connection()); },
                "Já há uma transação aberta nesta conexão.");
    EXPECT_TRUE(connection()->inTransaction()) << "the refused one leaves the open one alone";
    outer.commit();
    expectError([&] { outer.commit(); }, "Esta transação já foi encerrada.");
    EXPECT_EQ(groups(), 1);
}

TEST_F(Transactions, ClosingTheConnectionEndsItsTransactionOnce) {
    auto first = std::make_unique<SqlConnection::Transaction>(*connection());
    addGroup(1);
    connection()->close(); // rolls back
    EXPECT_FALSE(connection()->inTransaction());
    connection()->open();
    expectError([&] { first->commit(); },
                "A conexão foi fechada durante a gravação e nada foi gravado.");

    // A later transaction is not ended by the stale one going away.
    SqlConnection::Transaction second(*connection());
    addGroup(2);
    first.reset();
    EXPECT_TRUE(connection()->inTransaction());
    second.commit();
    EXPECT_EQ(scalar("select list(CODIGO) from TGRUPO").toString(), "2");
}

// A change that fails while being typed in or while being stored leaves the shared rows as
// the database holds them: no edit, no log, nothing stored.
TEST_F(Transactions, PostAndApplyDropsWhatFails) {
    addGroup(1);
    ClientDataSet* groups = dm->TBGRUPO;
    groups->open();
    groups->insert();
    EXPECT_THROW(groups->postAndApply([&] {
        groups->field("CODIGO").setValue(2);
        groups->field("DESCRICAO").setAsString(QString(51, 'X')); // the column holds 50
    }),
                 FieldError);
    groups->insert();
    EXPECT_THROW(groups->postAndApply([&] { groups->field("CODIGO").setValue(1); }),
                 DatabaseError); // the code is taken
    EXPECT_EQ(groups->state(), DataSetState::Browse);
    EXPECT_EQ(groups->changeCount(), 0);
    EXPECT_EQ(groups->recordCount(), 1);
    groups->insert();
    groups->postAndApply([&] { groups->field("CODIGO").setValue(3); });
    EXPECT_EQ(scalar("select list(CODIGO) from TGRUPO").toString(), "1,3");
}

TEST(OpenDatabase, HeldByAnotherProgramIsSaidInPortugueseWithTheEnginesText) {
    testing_support::ProgramFolder folder;
    SqlConnection::prepareEngineEnvironment(); // the other program shares our lock folder
    QProcess other; // another program with the database open: the database tool, waiting
    other.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"),
                                            QStringLiteral("SYSDBA"), folder.file("QUIRU.GDB")});
    ASSERT_TRUE(other.waitForStarted());
    other.write("select 'aberto' from rdb$database;\n");
    while (!other.readAllStandardOutput().contains("aberto"))
        ASSERT_TRUE(other.waitForReadyRead(20000)) << "the other program never opened the file";

    SqlConnection connection;
    connection.params() << "Database=" + folder.file("QUIRU.GDB")
                        << QStringLiteral("User_name=SYSDBA") << QStringLiteral("Password=x");
    try {
        connection.open();
        ADD_FAILURE() << "opened a database another program holds";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), "O banco de dados \"" + folder.file("QUIRU.GDB") +
                                   "\" já está aberto em outra cópia do programa. Feche-a e "
                                   "tente de novo.");
        EXPECT_FALSE(e.detail().isEmpty()) << "the engine's own text is kept";
    }
    EXPECT_FALSE(connection.connected());
    other.closeWriteChannel();
    other.waitForFinished(20000);
}

} // namespace
