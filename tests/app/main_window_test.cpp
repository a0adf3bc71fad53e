// The main window: caption, administrator check, backup timer and the commands' presets.
#include "app/main_window.h"
#include "core/globals.h"
#include "platform/ui/radio_group.h"
#include "reports/movement_report_filter_window.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

using testing_support::DataModuleTest;

namespace {

class MainWindow : public DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
    }
    void show() {
        menu = std::make_unique<TFMenu>();
        testing_support::activate(menu.get());
    }
    void TearDown() override {
        menu.reset();
        DataModuleTest::TearDown();
    }
    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<TFMenu> menu;
};

TEST_F(MainWindow, CaptionCarriesTheStoredVersion) {
    exec("update TVERSAO set VERSAO = '2.3.1'");
    show();
    EXPECT_EQ(menu->windowTitle(), "Quiru 2.3.1");
    EXPECT_FALSE(menu->txtData->text().isEmpty());
}

// The about window names the version the caption shows.
TEST_F(MainWindow, AboutShowsTheStoredVersion) {
    exec("update TVERSAO set VERSAO = '2.3.1'");
    show();
    dialogs.onModal("FSobre", [](QDialog* about) {
        EXPECT_EQ(testing_support::find<QLabel>(about, "txtVersao")->text(), "Versão 2.3.1");
    });
    menu->Sobre1Click();
    EXPECT_TRUE(dialogs.nothingPending());
}

// A keyboard user reaches the menus: F10 opens the first, the arrows walk on to the next.
TEST_F(MainWindow, F10OpensTheMenuBarAndArrowsWalkIt) {
    show();
    testing_support::press(menu.get(), QKeySequence(Qt::Key_F10));
    QAction* active = menu->MainMenu1->activeAction();
    ASSERT_TRUE(active);
    EXPECT_EQ(active->text(), "Cadastros");
    QTest::keyClick(active->menu(), Qt::Key_Right);
    ASSERT_TRUE(menu->MainMenu1->activeAction());
    EXPECT_EQ(menu->MainMenu1->activeAction()->text(), "Movimentações");
    QTest::keyClick(menu->MainMenu1->activeAction()->menu(), Qt::Key_Escape);
}

TEST_F(MainWindow, BackupTimerFollowsTheSettingsRow) {
    show();
    EXPECT_FALSE(menu->TimerBackup->isActive());
    testing_support::exec(
        dm->SQLConnection2,
        "update TCONFIGURACAO set BACKUP_AUTOMATICO = 'SIM', INTERVALO_BACKUP = 15");
    menu.reset();
    show();
    EXPECT_TRUE(menu->TimerBackup->isActive());
    EXPECT_EQ(menu->TimerBackup->interval(), 900000);

    // The longest interval the settings take is more than Qt's timer holds: it runs in halves.
    testing_support::exec(dm->SQLConnection2, "update TCONFIGURACAO set INTERVALO_BACKUP = 71582");
    menu.reset();
    show();
    EXPECT_EQ(menu->TimerBackup->interval(), 71582LL * 60000 / 2);
}

TEST_F(MainWindow, NoBackupTimerWithoutAnIntervalAndNoRestartOnRestore) {
    for (const char* interval : {"0", "null", "-5"}) {
        testing_support::exec(dm->SQLConnection2,
                              QStringLiteral("update TCONFIGURACAO set BACKUP_AUTOMATICO = 'SIM', "
                                             "INTERVALO_BACKUP = %1")
                                  .arg(interval));
        show();
        EXPECT_FALSE(menu->TimerBackup->isActive()) << interval;
    }
    testing_support::exec(dm->SQLConnection2, "update TCONFIGURACAO set INTERVALO_BACKUP = 15");
    show();
    ASSERT_TRUE(menu->TimerBackup->isActive());
    // Minimising and restoring is no new show: the settings are not read again.
    testing_support::exec(dm->SQLConnection2, "update TCONFIGURACAO set INTERVALO_BACKUP = 30");
    menu->showMinimized();
    menu->showNormal();
    EXPECT_EQ(menu->TimerBackup->interval(), 900000);
    testing_support::press(menu.get(), Qt::Key_Escape);
    EXPECT_TRUE(menu->isVisible()) << "Esc must not hide the main window";
}

// The accounts, the database settings, a restore and an import can take the shop from everyone
// else: they are for administrators. A backup is anyone's.
TEST_F(MainWindow, OnlyAdministratorsManageAccountsSettingsRestoresImportsAndSeeTheTrail) {
    const QString refusal = "Você não possui previlégios de administrador do sistema, "
                            "portanto não pode acessar esta área!";
    exec("insert into TUSUARIO values ('JOAO', 'X', 'USUARIO')");
    show();
    struct Case {
        const char* login;
        bool refused;
    };
    for (const Case c : {Case{"joao", true}, Case{"Master", false}}) {
        SCOPED_TRACE(c.login);
        usuario_logado = c.login;
        dialogs.clear();
        if (!c.refused) {
            dialogs.onModal("FUsuarios", [](QDialog*) {});
            dialogs.onModal("FBancoDeDados", [](QDialog*) {});
            dialogs.onModal("FImportar", [](QDialog*) {});
            dialogs.onModal("FHistoricoAlteracoes", [](QDialog*) {});
        }
        menu->Usurios1Click();
        menu->BancodeDados1Click();
        menu->findChild<QAction*>("Importar1")->trigger();
        menu->findChild<QAction*>("HistoricodeAlteracoes1")->trigger();
        dialogs.onModal("FBackup", [&](QDialog* backup) {
            auto* restaurar = testing_support::find<QPushButton>(backup, "btnRestaurar");
            if (!c.refused)
                dialogs.answer(false); // the restore's own question: the check let it through
            restaurar->click();
            EXPECT_TRUE(testing_support::find<QPushButton>(backup, "btnRealizar")->isEnabled());
        });
        menu->RealizarRestaurarBackup1Click();
        const QStringList told =
            c.refused ? QStringList{refusal, refusal, refusal, refusal, refusal} : QStringList{};
        EXPECT_EQ(dialogs.messages(), told);
        EXPECT_TRUE(dialogs.nothingPending());
    }
    usuario_logado = "renamed"; // no account: the users command says nothing
    dialogs.clear();
    menu->Usurios1Click();
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(MainWindow, ReportPresetsAndShiftM) {
    show();
    struct Case {
        void (TFMenu::*command)();
        const char* caption;
        int relatorio, filtro;
    };
    const Case cases[] = {
        {&TFMenu::RelatriodeMovimentaes1Click, "Relatório de Movimentações no Estoque", 2, 7},
        {&TFMenu::RelatriodeEntradas1Click, "Relatório de Entradas", 0, 7},
        {&TFMenu::RelatriodeSadas1Click, "Relatório de Saídas", 1, 7},
        {&TFMenu::RelatriodeClientes1Click, "Relatório de Clientes", 1, 4},
        {&TFMenu::RelatriodeFornecedores1Click, "Relatório de Fornecedores", 0, 3},
        {&TFMenu::RelatriodeProdutos2Click, "Relatório de Produtos", 2, 0},
        {&TFMenu::RelatriodeGrupos2Click, "Relatório de Grupos", 2, 1},
        {&TFMenu::RelatriodeSubgrupos1Click, "Relatório de Subgrupos", 2, 2},
    };
    for (const Case& c : cases) {
        QString caption;
        int relatorio = -1, filtro = -1;
        dialogs.onModal("FFiltroMovimentacoes", [&](QDialog* w) {
            auto* filter = static_cast<TFFiltroMovimentacoes*>(w);
            caption = filter->windowTitle();
            relatorio = filter->RGRelatorio->itemIndex();
            filtro = filter->RGFiltro->itemIndex();
        });
        (menu.get()->*c.command)();
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(relatorio, c.relatorio) << c.caption;
        EXPECT_EQ(filtro, c.filtro) << c.caption;
    }

    dialogs.clear();
    dialogs.onModal("FFiltroMovimentacoes", [](QDialog*) {});
    testing_support::press(menu.get(), QKeySequence("Shift+M"));
    EXPECT_EQ(dialogs.windows(), QStringList{"FFiltroMovimentacoes"})
        << "Shift+M is the movement report";
}

TEST_F(MainWindow, EntryAndExitWindowsOpenOnTheirOwnKind) {
    exec("insert into TMOVIMENTACAO (CODIGO, TIPO) values (1, 'ENTRADA')");
    exec("insert into TMOVIMENTACAO (CODIGO, TIPO) values (2, 'SAIDA')");
    dm->TBMOVIMENTACAO->open();
    show();
    struct Case {
        void (TFMenu::*command)();
        const char* window;
        const char* filter;
        int code;
    };
    for (const Case& c : {Case{&TFMenu::btnEntradasClick, "FEntrada", "TIPO = 'ENTRADA'", 1},
                          Case{&TFMenu::btnSaidasClick, "FSaida", "TIPO = 'SAIDA'", 2}}) {
        int shownCode = 0;
        dialogs.onModal(c.window, [&](QDialog*) {
            shownCode = dm->TBMOVIMENTACAO->field("CODIGO").asInteger();
            EXPECT_EQ(dm->TBMOVIMENTACAO->recordCount(), 1);
        });
        (menu.get()->*c.command)();
        EXPECT_EQ(dm->TBMOVIMENTACAO->filter(), c.filter);
        EXPECT_TRUE(dm->TBMOVIMENTACAO->filtered());
        EXPECT_EQ(shownCode, c.code);
    }
}

TEST_F(MainWindow, RegisterCommandsOpenTheirWindowsOutOfPickMode) {
    show();
    struct Case {
        const char* menuItem;
        const char* window;
        const char* caption;
    };
    const Case cases[] = {
        {"Produtos1", "FProdutos", "Cadastro de Produtos"},
        {"Grupos1", "FGrupo", "Cadastro de Grupos"},
        {"Subgrupos1", "FSubGrupo", "Cadastro de Subgrupos"},
        {"Fornecedores1", "FFornecedor", "Cadastro de Fornecedores"},
        {"Contatos1", "FCliente", "Cadastro de Clientes"},
        {"Empresa1", "FEmpresa", "Cadastro de Empresa"},
        {"CentrodeCustos1", "FCentroCusto", "Cadastro de Centro de Custo"},
    };
    selecionar_produto = true;
    for (const Case& c : cases) {
        modo_selecao = true;
        QString caption;
        dialogs.onModal(c.window, [&](QDialog* w) { caption = w->windowTitle(); });
        testing_support::find<QAction>(menu.get(), c.menuItem)->trigger();
        EXPECT_EQ(caption, c.caption);
        if (QByteArray(c.window) != "FEmpresa" && QByteArray(c.window) != "FCentroCusto") {
            EXPECT_FALSE(modo_selecao) << c.window;
        }
    }
    EXPECT_FALSE(selecionar_produto);
    EXPECT_TRUE(dialogs.nothingPending());
}

} // namespace
