// From start to the main window: the start-up file, the login and the change of password.
#include "app/change_password_window.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/database_file.h"
#include "platform/data/errors.h"
#include "platform/data/sql_connection.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

using testing_support::ProgramFolder;

namespace {

QByteArray startupFile(const ProgramFolder& folder) {
    QFile f(folder.file("ConfiguracoesQUIRU.txt"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

class Login : public ::testing::Test {
protected:
    void SetUp() override {
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
    }
    void start() {
        login = std::make_unique<TFLogin>(folder.path());
        login->show();
    }
    void TearDown() override {
        login.reset();
        DM = nullptr;
    }
    QVariant scalar(const QString& sql) { return testing_support::scalar(DM->SQLConnection1, sql); }
    void changePassword(const QString& user, const QString& password, const QString& newUser,
                        const QString& newPassword, const QString& again) {
        dialogs.onModal("FTrocarSenha", [&](QDialog* w) {
            auto* window = static_cast<TFTrocarSenha*>(w);
            window->Edit1->setText(user);
            window->Edit2->setText(password);
            window->Edit3->setText(newUser);
            window->Edit4->setText(newPassword);
            window->Edit5->setText(again);
            window->btnEntrar->click();
        });
        login->Label6Click();
    }

    ProgramFolder folder;
    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<TFLogin> login;
};

TEST_F(Login, FirstRunWritesTheStartupFileWithoutLineEnd) {
    start();
    EXPECT_EQ(startupFile(folder), (folder.path() + "QUIRU.GDB").toUtf8());
    EXPECT_EQ(caminho_sistema, folder.path());
}

TEST_F(Login, StartupFileWithAPathIsLeftAlone) {
    const QByteArray content = (folder.path() + "QUIRU.GDB\n").toUtf8();
    folder.writeStartupFile(content);
    start();
    EXPECT_EQ(startupFile(folder), content);
}

// A program folder copied from Windows names its database on a drive this machine has not; the
// QUIRU.GDB beside the program is offered, and the start-up file rewritten when accepted.
TEST_F(Login, AWindowsLocationIsToldAndTheDatabaseBesideIsOffered) {
    const QByteArray windows = "C:\\Quiru\\QUIRU.GDB\r\nLOJA\r\nsenha\r\n";
    folder.writeStartupFile(windows);
    dialogs.answer(false);
    try {
        TFLogin refused(folder.path());
        ADD_FAILURE() << "opened";
    } catch (const data::DatabaseError& e) {
        EXPECT_TRUE(e.message().contains("um local do Windows")) << e.what();
    }
    EXPECT_EQ(startupFile(folder), windows) << "nothing rewritten";

    dialogs.answer(true);
    folder.writeStartupFile("C:\\Quiru\\QUIRU.GDB\r\n");
    start();
    ASSERT_EQ(dialogs.questions().size(), 2u);
    EXPECT_TRUE(dialogs.questions()[1].text.contains("Deseja usá-lo?"));
    EXPECT_EQ(startupFile(folder), (folder.path() + "QUIRU.GDB\r\n").toUtf8());
    EXPECT_EQ(scalar("select count(*) from TUSUARIO").toInt(), 1);
}

// A gbak backup handed over as QUIRU.GDB is restored in its place; the backup is kept.
TEST_F(Login, AGbakBackupWhereTheDatabaseShouldBeIsRestoredThere) {
    const QString database = folder.file("QUIRU.GDB");
    ASSERT_EQ(QProcess::execute("gbak", {"-b", "-user", "SYSDBA", "-password", "x", database,
                                         folder.file("copia.fbk")}),
              0);
    QFile::remove(database);
    QFile::rename(folder.file("copia.fbk"), database);
    dialogs.answer(true);
    start();
    EXPECT_TRUE(dialogs.questions().at(0).text.contains("cópia de segurança do Firebird"));
    EXPECT_EQ(scalar("select count(*) from TUSUARIO").toInt(), 1);
    EXPECT_EQ(int(data::inspectDatabaseFile(database + ".fbk").kind),
              int(data::DatabaseFileKind::GbakBackup));
}

TEST_F(Login, MissingDatabaseIsAnErrorNotAWindowOnAClosedConnection) {
    folder.writeStartupFile("/nao/existe/QUIRU.GDB");
    EXPECT_THROW(TFLogin window(folder.path()), data::DatabaseError);
}

TEST_F(Login, AnyCaseLogsInAndKeepsTheNameAsTyped) {
    start();
    EXPECT_TRUE(login->Label4->isVisible());
    EXPECT_EQ(login->Edit1->text(), "MASTER");
    EXPECT_EQ(login->Edit2->text(), "TRIGAL");
    QString caption;
    dialogs.onModal("FMenu", [&](QDialog* w) { caption = w->windowTitle(); });
    login->Edit1->setText("MaStEr");
    login->Edit2->setText("trigal");
    login->btnEntrar->click();
    EXPECT_EQ(caption, "Quiru 1.0.0");
    EXPECT_EQ(usuario_logado, "MaStEr");
    EXPECT_FALSE(login->isVisible());
    EXPECT_TRUE(dialogs.errors().empty());
}

// An older program kept its accounts in CHAR columns (padded) and some in lower case: they log
// in as typed, in any case.
TEST_F(Login, AccountsOfAnOlderProgramLogIn) {
    {
        data::SqlConnection older;
        older.params() << "Database=" + folder.file("QUIRU.GDB") << "User_name=SYSDBA"
                       << "Password=x";
        older.open();
        testing_support::exec(&older, "drop table TUSUARIO");
        testing_support::exec(&older, "create table TUSUARIO (LOGIN CHAR(20) NOT NULL PRIMARY "
                                      "KEY, SENHA CHAR(20), TIPO CHAR(20))");
        testing_support::exec(&older, "insert into TUSUARIO values ('joao', 'segredo', 'USUARIO')");
    }
    start();
    bool opened = false;
    dialogs.onModal("FMenu", [&](QDialog*) { opened = true; });
    login->Edit1->setText("Joao");
    login->Edit2->setText("SEGREDO");
    login->btnEntrar->click();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(Login, WrongPasswordEmptiesBothFields) {
    start();
    login->Edit2->setText("errada");
    testing_support::press(login->Edit2, Qt::Key_Return); // Enter in the password logs in
    EXPECT_EQ(dialogs.messages(), QStringList{"Usuário ou Senha não Conferem !"});
    EXPECT_TRUE(login->Edit1->text().isEmpty());
    EXPECT_TRUE(login->Edit2->text().isEmpty());
    EXPECT_TRUE(login->isVisible());
}

TEST_F(Login, ChangeWindowOutcomes) {
    start();
    changePassword("master", "errada", "NOVO", "a", "a");
    changePassword("master", "trigal", "NOVO", "abc", "abd");
    changePassword("master", "trigal", "", "abc", "abc");
    testing_support::exec(DM->SQLConnection1,
                          "insert into TUSUARIO values ('OUTRO', 'X', 'USUARIO')");
    changePassword("master", "trigal", "outro", "abc", "abc");
    EXPECT_EQ(scalar("select SENHA from TUSUARIO where LOGIN = 'MASTER'").toString(), "TRIGAL")
        << "nothing stored by the refused attempts";
    changePassword("master", "trigal", "Gerente", "novaSenha", "novaSenha");
    EXPECT_EQ(dialogs.messages(),
              (QStringList{"Usuário e/ou Senhas Digitados Errados !",
                           "Nova Senha digitada não confere com o campo de conferimento !",
                           "Informe o Novo Usuário !", "Já existe outro usuário com este nome !",
                           "Alterações Realizadas com Sucesso !"}));
    EXPECT_EQ(
        scalar("select SENHA || ':' || TIPO from TUSUARIO where LOGIN = 'GERENTE'").toString(),
        "NOVASENHA:ADMINISTRADOR");

    // The hint only shows while the default account keeps its default password.
    login->hide();
    login->show();
    EXPECT_FALSE(login->Label4->isVisible());
    EXPECT_FALSE(login->Bevel1->isVisible());
}

TEST_F(Login, EscOnAButtonKeepsTheWindowAndRestoringKeepsWhatWasTyped) {
    start();
    testing_support::activate(login.get());
    login->btnEntrar->setFocus();
    testing_support::press(login->btnEntrar, Qt::Key_Escape);
    EXPECT_TRUE(login->isVisible()) << "Esc on a button must not hide the program's only window";
    login->Edit1->setText("joao");
    login->Edit2->setText("x");
    login->showMinimized();
    login->showNormal(); // the window system's restore: the window is not shown anew
    EXPECT_EQ(login->Edit1->text(), "joao");
    EXPECT_EQ(login->Edit2->text(), "x");
}

} // namespace
