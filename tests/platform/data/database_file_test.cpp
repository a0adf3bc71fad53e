// What a file offered as a database is, told by its first bytes: a database of this engine's
// structure or an older one, a gbak backup, or anything else; and what opening an older one says.
#include "platform/data/database_file.h"
#include "platform/data/errors.h"
#include "platform/data/sql_connection.h"
#include "tests/support/program_folder.h"
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using data::DatabaseFileKind;

namespace {

using testing_support::fileBytes;
using testing_support::writeFile;

// A database as Firebird 2.x left it: structure 11 in the header page.
QByteArray olderStructure(QByteArray database) {
    database[0x12] = 11;
    return database;
}

TEST(DatabaseFile, ToldApartByContent) {
    testing_support::ProgramFolder folder;
    const QString database = folder.file("QUIRU.GDB");
    const QString backup = folder.file("copia.gdb");
    ASSERT_EQ(
        QProcess::execute("gbak", {"-b", "-user", "SYSDBA", "-password", "x", database, backup}),
        0);
    const QByteArray good = fileBytes(database);
    struct Case {
        const char* name;
        QByteArray content;
        DatabaseFileKind kind;
        int ods;
    };
    const Case cases[] = {
        {"banco.fbk", good, DatabaseFileKind::Database, data::kEngineOds},
        {"antigo.gdb", olderStructure(good), DatabaseFileKind::Database, 11},
        {"backup.gdb", fileBytes(backup), DatabaseFileKind::GbakBackup, 0},
        {"vazio.gdb", {}, DatabaseFileKind::Other, 0},
        {"texto.gdb", "C:\\Quiru\\QUIRU.GDB\r\n", DatabaseFileKind::Other, 0},
        {"cabecalho.gdb", good.left(16), DatabaseFileKind::Other, 0},
        {"zeros.gdb", QByteArray(8192, '\0'), DatabaseFileKind::Other, 0},
    };
    for (const Case& c : cases) {
        writeFile(folder.file(c.name), c.content);
        const data::DatabaseFileInfo info = data::inspectDatabaseFile(folder.file(c.name));
        EXPECT_EQ(int(info.kind), int(c.kind)) << c.name;
        EXPECT_EQ(info.ods, c.ods) << c.name;
    }
    EXPECT_EQ(int(data::inspectDatabaseFile(folder.file("nao-ha.gdb")).kind),
              int(DatabaseFileKind::Missing));
}

// An older engine's file is refused in Portuguese, with the way on, and left as it was.
TEST(DatabaseFile, AnOlderStructureIsToldWithTheWayOn) {
    testing_support::ProgramFolder folder;
    const QString path = folder.file("antigo.gdb");
    writeFile(path, olderStructure(fileBytes(folder.file("QUIRU.GDB"))));
    const QByteArray before = fileBytes(path);
    data::SqlConnection connection;
    connection.params() << "Database=" + path << QStringLiteral("User_name=SYSDBA")
                        << QStringLiteral("Password=x");
    try {
        connection.open();
        ADD_FAILURE() << "opened";
    } catch (const data::DatabaseError& e) {
        EXPECT_TRUE(e.message().contains("versão mais antiga do Firebird")) << e.what();
        EXPECT_TRUE(e.message().contains("Nada foi alterado")) << e.what();
        EXPECT_TRUE(e.message().contains("gbak")) << e.what();
        EXPECT_TRUE(e.detail().contains("on-disk structure")) << e.what();
    }
    EXPECT_EQ(fileBytes(path), before);
}

} // namespace
