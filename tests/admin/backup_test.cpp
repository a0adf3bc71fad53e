// Backups and restores: the copy of the open database is whole and opens, the timer copies the
// configured file, and a restore touches nothing unless its file is a database that opens.
#include "admin/backup_window.h"
#include "app/main_window.h"
#include "core/globals.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>

namespace {

using testing_support::fileBytes;
using testing_support::writeFile;

class Backup : public testing_support::DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        usuario_logado = QStringLiteral("master");
        for (int code = 1; code <= 200; ++code)
            exec(QStringLiteral("insert into TPRODUTO (CODIGO, DESCRICAO) values (%1, 'P%1')")
                     .arg(code));
        window = std::make_unique<TFBackup>();
        testing_support::activate(window.get());
    }
    void TearDown() override {
        window.reset();
        DataModuleTest::TearDown();
    }
    QString mainFile() const { return folder->file("QUIRU.GDB"); }
    void choose(QPushButton* button, const QString& path) {
        dialogs.chooseFile(path);
        button->click();
    }
    // The rows a closed database file holds.
    int productsIn(const QString& path) {
        data::SqlConnection other;
        other.params() << "Database=" + path << "User_name=SYSDBA"
                       << "Password=x";
        other.open();
        return testing_support::scalar(&other, "select count(*) from TPRODUTO").toInt();
    }
    void restore(const QString& from, const QString& to) {
        choose(window->btnBuscar2, from);
        choose(window->btnPara, to);
        dialogs.answer(true);
        window->btnRestaurar->click();
    }
    QStringList told() {
        QStringList all = dialogs.messages();
        for (const auto& e : dialogs.errors())
            all << e.text;
        dialogs.clear();
        return all;
    }
    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<TFBackup> window;
};

TEST_F(Backup, CopyOfTheOpenDatabaseIsWholeAndTheProgramWorksOn) {
    // A change cached and not yet stored when the copy is taken stays the program's to store.
    DM->TBGRUPO->open();
    DM->TBGRUPO->insert();
    DM->TBGRUPO->field("CODIGO").setValue(1);
    const QString target = folder->file("copia.gdb");
    choose(window->btnBuscar1, target);
    window->btnRealizar->click();
    EXPECT_EQ(told(), QStringList{"Backup Realizado com Sucesso!"});
    DM->TBGRUPO->post();
    DM->TBGRUPO->applyUpdates(0); // the connection came back
    EXPECT_EQ(exec("update TPRODUTO set DESCRICAO = 'X' where CODIGO = 1"), 1);
    EXPECT_EQ(testing_support::databaseCheck(target), "");
    EXPECT_EQ(productsIn(target), 200);
    EXPECT_FALSE(QFile::exists(target + ".copiando"));
}

TEST_F(Backup, AFailedCopyKeepsTheEarlierBackupAndSaysSo) {
    const QString target = folder->file("copia.gdb");
    writeFile(target, "backup de ontem");
    choose(window->btnBuscar1, folder->file("nao-existe/copia.gdb"));
    window->btnRealizar->click();
    const QStringList said = told();
    ASSERT_EQ(said.size(), 1);
    EXPECT_EQ(said[0],
              "Erro ao copiar " + mainFile() + " para " + folder->file("nao-existe/copia.gdb"));
    EXPECT_EQ(fileBytes(target), "backup de ontem");
    EXPECT_EQ(exec("update TPRODUTO set DESCRICAO = 'X' where CODIGO = 1"), 1);
}

TEST_F(Backup, RestoreRefusesWhatIsNoDatabaseAndLeavesTheTargetAlone) {
    const QString target = folder->file("alvo.gdb");
    ASSERT_TRUE(QFile::copy(mainFile(), target));
    const QByteArray before = fileBytes(target);
    const QByteArray good = fileBytes(mainFile());
    QByteArray noise(200000, '\0');
    for (char& c : noise)
        c = char(QRandomGenerator::global()->bounded(256));
    const struct {
        const char* name;
        QByteArray content;
    } bad[] = {
        {"metade.gdb", good.left(good.size() / 2)},
        {"ruido.gdb", noise},
        {"vazio.gdb", {}},
        {"texto.gdb", "QUIRU.GDB\nnão sou um banco de dados\n"},
    };
    for (const auto& b : bad) {
        writeFile(folder->file(b.name), b.content);
        restore(folder->file(b.name), target);
        const QStringList said = told();
        ASSERT_EQ(said.size(), 1) << b.name;
        EXPECT_TRUE(said[0].startsWith("Erro ao copiar ")) << said[0].toStdString();
        EXPECT_EQ(fileBytes(target), before) << b.name;
    }
    restore(mainFile(), target); // the open database itself
    EXPECT_EQ(told().size(), 1);
    EXPECT_EQ(fileBytes(target), before);
    EXPECT_EQ(exec("update TPRODUTO set DESCRICAO = 'X' where CODIGO = 1"), 1)
        << "the program works on with its own data";
}

TEST_F(Backup, GoodRestoreReplacesTheTarget) {
    const QString backup = folder->file("copia.gdb");
    choose(window->btnBuscar1, backup);
    window->btnRealizar->click();
    told();
    const QString target = folder->file("outro.gdb");
    writeFile(target, "velho");
    restore(backup, target);
    EXPECT_EQ(told(), QStringList{"Backup Restaurado com Sucesso! A Aplicação será fechado para "
                                  "atualizar os dados."});
    EXPECT_EQ(productsIn(target), 200);
    EXPECT_TRUE(DM->SQLConnection1->connected());
}

// A backup the engine's gbak made is restored as well as a database copy; the two are told apart
// by their content, not by their names.
TEST_F(Backup, AGbakBackupIsRestoredWhateverItsName) {
    const QString copy = folder->file("copia.gdb");
    choose(window->btnBuscar1, copy);
    window->btnRealizar->click();
    told();
    const QString gbakFile = folder->file("loja.gdb"); // a backup under a database's name
    ASSERT_EQ(
        QProcess::execute("gbak", {"-b", "-user", "SYSDBA", "-password", "x", copy, gbakFile}), 0);
    const QString asBackup = folder->file("loja.fbk"); // a database under a backup's name
    ASSERT_TRUE(QFile::copy(copy, asBackup));
    for (const QString& source : {gbakFile, asBackup}) {
        const QString target = folder->file("restaurado.gdb");
        writeFile(target, "velho");
        restore(source, target);
        EXPECT_EQ(told(), QStringList{"Backup Restaurado com Sucesso! A Aplicação será fechado "
                                      "para atualizar os dados."})
            << source.toStdString();
        EXPECT_EQ(productsIn(target), 200);
        EXPECT_EQ(testing_support::databaseCheck(target), "");
        QFile::remove(target);
    }
    EXPECT_TRUE(QFile::exists(gbakFile)) << "the backup is kept";
}

TEST_F(Backup, ServerDatabaseIsNotCopied) {
    QStringList& params = DM->SQLConnection1->params();
    const QStringList kept = params;
    params.replaceInStrings(QRegularExpression("^Database=.*"),
                            "Database=servidor/3050:/dados/QUIRU.GDB");
    choose(window->btnBuscar1, folder->file("copia.gdb"));
    window->btnRealizar->click();
    restore(mainFile(), folder->file("alvo.gdb"));
    params = kept;
    const QStringList said = told();
    ASSERT_EQ(said.size(), 2);
    EXPECT_TRUE(said[0].startsWith("O banco de dados está em um servidor Firebird"));
    EXPECT_EQ(said[1], said[0]);
    EXPECT_FALSE(QFile::exists(folder->file("copia.gdb")));
    EXPECT_FALSE(QFile::exists(folder->file("alvo.gdb")));
}

TEST_F(Backup, TimerCopiesTheConfiguredFileSilently) {
    window.reset();
    TFMenu menu;
    const QString target = folder->file("automatico.gdb");
    auto configure = [&](const QString& source) {
        testing_support::exec(dm->SQLConnection2,
                              QStringLiteral("update TCONFIGURACAO set LOCAL_BANCO_DADOS = '%1', "
                                             "LOCAL_BACKUP_BANCO = '%2'")
                                  .arg(source, target));
    };
    configure(folder->file("nao-existe.gdb"));
    menu.TimerBackupTimer();
    EXPECT_FALSE(QFile::exists(target));

    configure(mainFile()); // the open database: closed for the copy, then opened again
    menu.TimerBackupTimer();
    EXPECT_EQ(testing_support::databaseCheck(target), "");
    EXPECT_EQ(productsIn(target), 200);
    EXPECT_EQ(exec("update TPRODUTO set DESCRICAO = 'X' where CODIGO = 1"), 1);
    EXPECT_TRUE(told().isEmpty());

    menu.TimerBackup->start(60000);
    configure(QStringLiteral("servidor:/dados/QUIRU.GDB"));
    menu.TimerBackupTimer();
    EXPECT_EQ(told().size(), 1);
    EXPECT_FALSE(menu.TimerBackup->isActive()) << "said once, not at every tick";
}

} // namespace
