// The settings window: what it stores, the dialogs' remembered names, and minutes it refuses.
#include "admin/database_settings_window.h"
#include "core/globals.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class Settings : public testing_support::DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        window = std::make_unique<TFBancoDeDados>();
        testing_support::activate(window.get());
    }
    void TearDown() override {
        window.reset();
        DataModuleTest::TearDown();
    }
    QString row() {
        return testing_support::scalar(
                   dm->SQLConnection2,
                   "select LOCAL_BANCO_DADOS || '|' || LOCAL_BACKUP_BANCO || '|' || "
                   "BACKUP_AUTOMATICO || '|' || coalesce(INTERVALO_BACKUP, -1) from TCONFIGURACAO")
            .toString();
    }
    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<TFBancoDeDados> window;
};

TEST_F(Settings, StoredAndReadBackWithTheDialogsRememberedNames) {
    EXPECT_EQ(window->txtMinutos->text(), "30");
    EXPECT_FALSE(window->CheckBox1->isChecked());

    dialogs.chooseFile(""); // the first cancel gives the design name
    window->btnBuscar2->click();
    EXPECT_EQ(window->txtBackupBanco->text(), "QUIRU.GDB");
    dialogs.chooseFile("/dados/copia.gdb");
    window->btnBuscar2->click();
    dialogs.chooseFile(""); // a later cancel gives the last name chosen
    window->btnBuscar2->click();
    EXPECT_EQ(window->txtBackupBanco->text(), "/dados/copia.gdb");
    dialogs.chooseFile("/dados/QUIRU.GDB");
    window->btnBuscar1->click();

    window->CheckBox1->setChecked(true);
    window->txtMinutos->setText("45");
    dialogs.answer(true);
    window->btnConfirmar->click();
    ASSERT_EQ(dialogs.questions().size(), 1u);
    EXPECT_EQ(
        dialogs.questions()[0].text,
        QStringLiteral("Você realmente deseja salvar estas alterações na configuração do banco de "
                       "dados?\n\nATENÇÃO:ESTAS ALTERAÇÕES IMPLICARÃO EM MUDANÇAS NA ESTRUTURA DO "
                       "SISTEMA!"));
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(row(), "/dados/QUIRU.GDB|/dados/copia.gdb|SIM|45");

    TFBancoDeDados again;
    EXPECT_TRUE(again.CheckBox1->isChecked());
    EXPECT_EQ(again.txtMinutos->text(), "45");
}

TEST_F(Settings, MinutesThatNoTimerCanCountAreRefusedAndNothingIsStored) {
    const QString before = row();
    for (const char* typed : {"", "meia hora", "1,5", "-1", "71583", "2147483648"}) {
        window->txtMinutos->setText(typed);
        dialogs.answer(true);
        window->btnConfirmar->click();
        EXPECT_TRUE(dialogs.messages().isEmpty()) << typed;
        ASSERT_EQ(dialogs.errors().size(), 1u) << typed;
        EXPECT_TRUE(window->isVisible());
        dialogs.clear();
    }
    EXPECT_EQ(row(), before);
    window->txtMinutos->setText("71582");
    dialogs.answer(true);
    window->btnConfirmar->click();
    EXPECT_TRUE(row().endsWith("|NAO|71582"));
}

} // namespace
