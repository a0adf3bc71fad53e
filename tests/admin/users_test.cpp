// The accounts window: what it stores, when it refuses, and who may use it.
#include "admin/users_window.h"
#include "core/globals.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_radio_group.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class Users : public testing_support::DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        usuario_logado = QStringLiteral("master");
    }
    void TearDown() override {
        window.reset();
        DataModuleTest::TearDown();
    }
    TFUsuarios* open() {
        window = std::make_unique<TFUsuarios>();
        testing_support::activate(window.get());
        return window.get();
    }
    static void typeInto(QLineEdit* edit, const QString& text) {
        testing_support::retype(edit, text);
    }
    QString stored(const QString& login) {
        return scalar("select SENHA || '/' || coalesce(TIPO, '') from TUSUARIO where LOGIN = '" +
                      login + "'")
            .toString();
    }
    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<TFUsuarios> window;
};

TEST_F(Users, NewAccountTypedInLowerCaseIsStoredInUpperCase) {
    TFUsuarios* w = open();
    EXPECT_FALSE(w->btnSalvar->isEnabled());
    w->btnNovo->click();
    EXPECT_TRUE(w->btnSalvar->isEnabled());
    EXPECT_FALSE(w->btnNovo->isEnabled());
    typeInto(w->DBEdit1, "joana");
    typeInto(w->DBEdit2, "segredo");
    typeInto(w->Edit1, "segredo");
    w->DBRadioGroup1->button(1)->click();
    w->btnSalvar->click();
    EXPECT_EQ(stored("JOANA"), "SEGREDO/USUARIO");
    EXPECT_TRUE(w->btnNovo->isEnabled()) << "back to browsing";
}

// Typing a login while browsing would rename the row on screen only; a new account is typed from
// its login, as the window reads top to bottom.
TEST_F(Users, TheLoginIsTypedOnlyWhileEditingAndANewAccountStartsThere) {
    TFUsuarios* w = open();
    testing_support::focus(w->DBEdit1);
    testing_support::type(w->DBEdit1, "X");
    EXPECT_EQ(w->DBEdit1->text(), "MASTER");
    EXPECT_EQ(DM->TBUSUARIO->state(), data::DataSetState::Browse);

    w->btnNovo->click();
    EXPECT_TRUE(w->DBEdit1->hasFocus());
    testing_support::type(w->DBEdit1, "ana");
    typeInto(w->DBEdit2, "s1");
    typeInto(w->Edit1, "s1");
    w->btnSalvar->click();
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(stored("ANA"), "S1/");

    w->btnAlterar->click();
    EXPECT_TRUE(w->DBEdit2->hasFocus());
    EXPECT_FALSE(w->DBEdit1->isReadOnly());
    w->btnCancelar->click();
    EXPECT_TRUE(w->DBEdit1->isReadOnly());
}

TEST_F(Users, PasswordsThatDifferInAnyWayCancelTheChange) {
    TFUsuarios* w = open();
    w->btnNovo->click();
    typeInto(w->DBEdit1, "joana");
    typeInto(w->DBEdit2, "segredo");
    typeInto(w->Edit1, "SEGREDO"); // both would be stored upper case, but they were typed apart
    w->btnSalvar->click();
    EXPECT_EQ(dialogs.messages(), QStringList{"Senhas não conferem!"});
    EXPECT_EQ(scalar("select count(*) from TUSUARIO").toInt(), 1);

    dialogs.clear();
    w->btnAlterar->click();
    typeInto(w->DBEdit2, "nova");
    typeInto(w->Edit1, "outra");
    w->btnSalvar->click();
    EXPECT_EQ(dialogs.messages(), QStringList{"Senhas não conferem!"});
    EXPECT_EQ(stored("MASTER"), "TRIGAL/ADMINISTRADOR");
    EXPECT_TRUE(w->btnAlterar->isEnabled());
}

TEST_F(Users, AnOrdinaryUserSeesTheWindowCloseAtOnce) {
    exec("insert into TUSUARIO values ('JOAO', 'X', 'USUARIO')");
    usuario_logado = QStringLiteral("joao");
    TFUsuarios* w = open();
    QCoreApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
}

// Without an administrator nobody could manage the accounts again.
TEST_F(Users, TheLastAdministratorIsNeitherDemotedNorDeleted) {
    TFUsuarios* w = open();
    w->btnAlterar->click();
    w->DBRadioGroup1->button(1)->click(); // USUARIO
    typeInto(w->DBEdit2, "trigal");
    typeInto(w->Edit1, "trigal");
    w->btnSalvar->click();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].startsWith("Este é o único administrador"));
    EXPECT_EQ(stored("MASTER"), "TRIGAL/ADMINISTRADOR");
    w->btnCancelar->click();

    dialogs.clear();
    dialogs.answer(true);
    w->btnExcluir->click();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(stored("MASTER"), "TRIGAL/ADMINISTRADOR");

    // With a second administrator, one's own account may go.
    exec("insert into TUSUARIO values ('ANA', 'Y', 'ADMINISTRADOR')");
    DM->TBUSUARIO->close();
    DM->TBUSUARIO->open();
    ASSERT_TRUE(DM->TBUSUARIO->locate("LOGIN", "MASTER"));
    dialogs.clear();
    dialogs.answer(true);
    w->btnExcluir->click();
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(scalar("select list(LOGIN) from TUSUARIO").toString(), "ANA");
}

} // namespace
