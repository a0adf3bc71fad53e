// The trail of changes as the query window reads it: by period, product and user, the old and
// new values side by side, on screen and printed; and a database made before the trail gets it.
#include "core/globals.h"
#include "core/movement_trail.h"
#include "platform/report/run.h"
#include "stock/change_history_report.h"
#include "stock/change_history_window.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using testing_support::DataModuleTest;

namespace {

class ChangeHistory : public DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        exec("insert into TPRODUTO (CODIGO, DESCRICAO) values (1, 'CAFÉ')");
        exec("insert into TPRODUTO (CODIGO, DESCRICAO) values (2, 'AÇÚCAR')");
        for (int code = 1; code <= 3; ++code)
            exec(QStringLiteral("insert into TMOVIMENTACAO (CODIGO, TIPO, PRODUTO, QUANTIDADE, "
                                "DATA) values (%1, 'ENTRADA', %2, %1, '2026-11-0%1')")
                     .arg(code)
                     .arg(code == 3 ? 2 : 1));
        // Ana changes movement 1 and deletes 3 (product 2) today; Bia changed 2 last month.
        change("Ana", "update TMOVIMENTACAO set QUANTIDADE = 10 where CODIGO = 1");
        change("Ana", "delete from TMOVIMENTACAO where CODIGO = 3", "caiu da prateleira");
        change("Bia", "update TMOVIMENTACAO set DATA = '2026-11-20' where CODIGO = 2");
        exec("update THISTORICO set DATA_HORA = dateadd(-40 day to DATA_HORA) where REGISTRO = 2");
    }
    void change(const QString& user, const QString& sql, const QString& reason = {}) {
        usuario_logado = user;
        const TrailScope trail(*dm->SQLConnection1, QStringLiteral("Entrada de Produtos"), reason);
        exec(sql);
    }
    static QStringList records(const std::vector<ChangeHistoryRow>& rows) {
        QStringList r;
        for (const ChangeHistoryRow& row : rows)
            r << row.record;
        return r;
    }
    const QDate today = QDate::currentDate();
    testing_support::ScriptedDialogs dialogs;
};

TEST_F(ChangeHistory, ReadsByPeriodProductAndUserWithTheValuesSideBySide) {
    struct Case {
        const char* name;
        ChangeHistoryFilter filter;
        QStringList records;
    };
    const QDate monthAgo = today.addDays(-40);
    const Case cases[] = {
        {"today", {today, today, {}, {}}, {"Movimento 1", "Movimento 3"}},
        {"both days", {monthAgo, today, {}, {}}, {"Movimento 2", "Movimento 1", "Movimento 3"}},
        {"one product", {monthAgo, today, 1, {}}, {"Movimento 2", "Movimento 1"}},
        {"one user, case ignored", {monthAgo, today, {}, "bia"}, {"Movimento 2"}},
        {"nobody", {monthAgo, today, {}, "CAIO"}, {}},
        {"before it all", {monthAgo.addDays(-9), monthAgo.addDays(-1), {}, {}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(records(readChangeHistory(*dm->SQLConnection1, c.filter)), c.records);
    }
    const auto rows = readChangeHistory(*dm->SQLConnection1, {today, today, {}, {}});
    ASSERT_EQ(rows.size(), 2u);
    const int quantity = int(changeHistoryValueNames().indexOf("Quantidade"));
    EXPECT_EQ(rows[0].operation, "Alteração");
    EXPECT_EQ(rows[0].user, "Ana");
    EXPECT_EQ(rows[0].window, "Entrada de Produtos");
    EXPECT_EQ(rows[0].product, "1 CAFÉ");
    EXPECT_EQ(rows[0].before[quantity], "1");
    EXPECT_EQ(rows[0].after[quantity], "10");
    EXPECT_EQ(rows[1].operation, "Exclusão");
    EXPECT_EQ(rows[1].reason, "caiu da prateleira");
    EXPECT_EQ(rows[1].before[quantity], "3");
    EXPECT_EQ(rows[1].after[quantity], "");

    // Printed: a change shows what moved, a deletion everything it took.
    ChangeHistoryReport printout(rows, {today, today, {}, {}});
    report::Run run(printout.layout());
    ASSERT_EQ(run.pageCount(), 1);
    const QString page = report::describe(run.page(0)).join('\n');
    EXPECT_TRUE(page.contains("Quantidade: 1")) << page.toStdString();
    EXPECT_TRUE(page.contains("Quantidade: 10"));
    EXPECT_TRUE(page.contains("Motivo: caiu da prateleira"));
    EXPECT_TRUE(page.contains("Produto: 2   |   Quantidade: 3"));
    EXPECT_TRUE(page.contains("(excluído)"));
    EXPECT_FALSE(page.contains("Tipo: ENTRADA   |   N")) << "an unchanged value is left out";
}

TEST_F(ChangeHistory, TheWindowSearchesAndRefusesAReversedPeriod) {
    TFHistoricoAlteracoes window;
    testing_support::activate(&window);
    window.txtDataInicial->setDate(today.addDays(-40));
    window.txtProduto->setText("1");
    window.btnBuscar->click();
    EXPECT_EQ(window.Grade->rowCount(), 2);
    EXPECT_EQ(window.Grade->item(1, 4)->text(), "Movimento 1");
    EXPECT_TRUE(window.btnImprimir->isEnabled());

    window.txtDataInicial->setDate(today.addDays(1));
    window.btnBuscar->click();
    EXPECT_EQ(dialogs.messages(), QStringList{"A data inicial é posterior à data final!"});
    EXPECT_EQ(window.Grade->rowCount(), 2) << "the rows shown stay";
}

// A database made before the trail gets its table and triggers when opened, the same that a new
// database is made with.
TEST_F(ChangeHistory, ADatabaseWithoutTheTrailGetsTheSameOne) {
    const QString sources = "select list(trim(RDB$TRIGGER_NAME) || ':' || RDB$TRIGGER_SOURCE, "
                            "'#') from (select * from RDB$TRIGGERS where RDB$TRIGGER_NAME in "
                            "('TMOVIMENTACAO_HISTORICO', 'TPRODUTO_HISTORICO') order by 1)";
    const QString made = scalar(sources).toString();
    ASSERT_FALSE(made.isEmpty());
    exec("drop trigger TMOVIMENTACAO_HISTORICO");
    exec("drop trigger TPRODUTO_HISTORICO");
    exec("drop table THISTORICO");
    EXPECT_EQ(addMissingTrail(*dm->SQLConnection1),
              (QStringList{"THISTORICO", "THISTORICO_DATA_HORA", "TMOVIMENTACAO_HISTORICO",
                           "TPRODUTO_HISTORICO"}));
    EXPECT_EQ(scalar(sources).toString(), made);
    EXPECT_TRUE(addMissingTrail(*dm->SQLConnection1).isEmpty());
    change("Ana", "delete from TMOVIMENTACAO where CODIGO = 1");
    EXPECT_EQ(scalar("select count(*) from THISTORICO").toInt(), 1);
}

} // namespace
