// Entries and exits: the stock rule as one table, then the proposals, the picks, the messages
// and the single transaction that stores a movement together with its product's stock.
#include "core/globals.h"
#include "platform/data/sql_connection.h"
#include "platform/ui/db_edit.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "platform/ui/db_navigator.h"
#include "registers/products_window.h"
#include "stock/exit_window.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QToolButton>
#include <optional>

using testing_support::DataModuleTest;

namespace {

enum class Kind { Entry, Exit };
enum class Action { New, Change, Delete, CancelNew, CancelChange };

class Movements : public DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        usuario_logado = QStringLiteral("Ana");
        exec("insert into TFORNECEDOR (CODIGO, DESCRICAO) values (7, 'ACME')");
        exec("insert into TCLIENTE (CODIGO, NOME) values (3, 'ANA')");
        produto_selecionado = 0;
    }
    void TearDown() override {
        window.reset();
        DataModuleTest::TearDown();
    }
    void product(int code, double stock, const QString& min = "null", const QString& max = "null") {
        exec(QStringLiteral("insert into TPRODUTO (CODIGO, DESCRICAO, ESTOQUEATUAL, "
                            "ESTOQUE_MINIMO, ESTOQUE_MAXIMO, PRECO_COMPRA, PRECO_VENDA, "
                            "FORNECEDOR) values (%1, 'P%1', %2, %3, %4, 2.5, 4, 7)")
                 .arg(code)
                 .arg(stock)
                 .arg(min, max));
    }
    void movement(int code, Kind kind, int productCode, double quantity) {
        exec(QStringLiteral("insert into TMOVIMENTACAO (CODIGO, TIPO, PRODUTO, QUANTIDADE, "
                            "PRECO_UNITARIO) values (%1, '%2', %3, %4, 1)")
                 .arg(code)
                 .arg(kind == Kind::Entry ? "ENTRADA" : "SAIDA")
                 .arg(productCode)
                 .arg(quantity));
    }
    TFEntrada* open(Kind kind) {
        window.reset(kind == Kind::Entry ? new TFEntrada() : new TFSaida());
        testing_support::activate(window.get());
        return window.get();
    }
    void click(QPushButton* button) {
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        button->click();
    }
    static void typeInto(QLineEdit* edit, const QString& text) {
        testing_support::retype(edit, text);
    }
    double stock(int code) {
        return scalar(
                   QStringLiteral("select ESTOQUEATUAL from TPRODUTO where CODIGO = %1").arg(code))
            .toDouble();
    }
    QVariant stored(int code, const char* column) {
        return scalar(
            QStringLiteral("select %1 from TMOVIMENTACAO where CODIGO = %2").arg(column).arg(code));
    }
    int movements() { return scalar("select count(*) from TMOVIMENTACAO").toInt(); }
    QVariant trail(const char* column) {
        return scalar(QStringLiteral("select %1 from THISTORICO").arg(column));
    }

    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<TFEntrada> window;
};

// ------------------------------------------------------------------ the stock rule

struct StockCase {
    const char* name;
    Kind kind;
    Action action;
    double stock;
    const char* min;
    const char* max;
    double stored;              // the saved movement's quantity (Change, Delete)
    const char* typed;          // the quantity typed (New, Change, Cancel...)
    std::optional<bool> answer; // the limit question is expected, with this answer
    double stockAfter;
    std::optional<double> quantityAfter; // the movement's stored quantity; nullopt: no row
};

void PrintTo(const StockCase& c, std::ostream* os) {
    *os << c.name;
}

class StockRule : public Movements, public testing::WithParamInterface<StockCase> {};

TEST_P(StockRule, MovesTheStockAsTheRuleSays) {
    const StockCase& c = GetParam();
    product(1, c.stock, c.min, c.max);
    const bool saved = c.action == Action::Change || c.action == Action::Delete ||
                       c.action == Action::CancelChange;
    if (saved)
        movement(1, c.kind, 1, c.stored);
    TFEntrada* w = open(c.kind);
    if (c.answer)
        dialogs.answer(*c.answer);
    switch (c.action) {
    case Action::New:
    case Action::CancelNew:
        click(w->btnNovo);
        typeInto(w->DBEdit2, "1");
        typeInto(w->DBEdit5, c.typed);
        click(c.action == Action::New ? w->btnSalvar : w->btnCancelar);
        break;
    case Action::Change:
    case Action::CancelChange:
        click(w->btnAlterar);
        typeInto(w->DBEdit5, c.typed);
        click(c.action == Action::Change ? w->btnSalvar : w->btnCancelar);
        break;
    case Action::Delete:
        dialogs.answer(true);
        click(w->btnExcluir);
        break;
    }
    const QString question =
        c.kind == Kind::Entry
            ? "Caso Confirme esta Entrada você estará ultrapassando o estoque máximo para este "
              "produto\nVocê confirma esta entrada de produto mesmo assim?"
            : "Caso Confirme esta Saída você estará indo abaixo do estoque mínimo para este "
              "produto\nVocê confirma esta saída de produto mesmo assim?";
    const auto& asked = dialogs.questions();
    const size_t limitQuestions = std::count_if(asked.begin(), asked.end(), [&](const auto& q) {
        return q.text == question && q.caption == "Atenção";
    });
    EXPECT_EQ(limitQuestions, c.answer ? 1u : 0u);
    EXPECT_DOUBLE_EQ(stock(1), c.stockAfter);
    if (c.quantityAfter)
        EXPECT_DOUBLE_EQ(stored(1, "QUANTIDADE").toDouble(), *c.quantityAfter);
    else
        EXPECT_EQ(movements(), 0);
    EXPECT_TRUE(w->btnNovo->isEnabled()) << "back to browsing";
    EXPECT_TRUE(dialogs.errors().empty());
    EXPECT_EQ(DM->TBPRODUTOS->changeCount() + DM->TBMOVIMENTACAO->changeCount(), 0);

    // Exactly the stored movements that changed or went leave one trail row, with the old row.
    const bool changed = saved && c.action != Action::CancelChange &&
                         (!c.quantityAfter || *c.quantityAfter != c.stored);
    ASSERT_EQ(scalar("select count(*) from THISTORICO").toInt(), changed ? 1 : 0);
    if (!changed)
        return;
    EXPECT_EQ(trail("OPERACAO"), c.quantityAfter ? "ALTERACAO" : "EXCLUSAO");
    EXPECT_EQ(trail("REGISTRO").toInt(), 1);
    EXPECT_EQ(trail("ANT_PRODUTO").toInt(), 1);
    EXPECT_DOUBLE_EQ(trail("ANT_QUANTIDADE").toDouble(), c.stored);
    EXPECT_EQ(trail("ANT_TIPO"), c.kind == Kind::Entry ? "ENTRADA" : "SAIDA");
    if (c.quantityAfter)
        EXPECT_DOUBLE_EQ(trail("NOVO_QUANTIDADE").toDouble(), *c.quantityAfter);
    else
        EXPECT_TRUE(trail("NOVO_QUANTIDADE").isNull());
    EXPECT_EQ(trail("USUARIO"), usuario_logado);
    EXPECT_EQ(trail("JANELA"), w->windowTitle());
    EXPECT_TRUE(trail("MOTIVO").isNull()) << "no reason typed";
}

const StockCase kStockCases[] = {
    // name, kind, action, stock, min, max, stored, typed, question, stock after, quantity after
    {"EntryUpToTheMaximum", Kind::Entry, Action::New, 10, "null", "15", 0, "5", {}, 15, 5},
    {"EntryOverTheMaximumYes", Kind::Entry, Action::New, 10, "null", "15", 0, "6", true, 16, 6},
    {"EntryOverTheMaximumNo", Kind::Entry, Action::New, 10, "null", "15", 0, "6", false, 10, {}},
    {"EntryWithoutMaximumAsks", Kind::Entry, Action::New, 0, "null", "null", 0, "1", true, 1, 1},
    {"EntryZeroMaximumAsks", Kind::Entry, Action::New, 0, "null", "0", 0, "1", true, 1, 1},
    {"EntryNegative", Kind::Entry, Action::New, 10, "null", "20", 0, "-5", {}, 5, -5},
    {"EntryChangedDown", Kind::Entry, Action::Change, 20, "null", "30", 10, "4", {}, 14, 4},
    {"EntryChangedOverNo", Kind::Entry, Action::Change, 20, "null", "21", 10, "12", false, 20, 10},
    {"EntryDeletedBelowZero", Kind::Entry, Action::Delete, 3, "null", "1", 10, "", {}, -7, {}},
    {"EntryNewCancelled", Kind::Entry, Action::CancelNew, 10, "null", "1", 0, "5", {}, 10, {}},
    {"EntryChangeCancelled",
     Kind::Entry,
     Action::CancelChange,
     10,
     "null",
     "1",
     10,
     "4",
     {},
     10,
     10},
    {"ExitDownToTheMinimum", Kind::Exit, Action::New, 10, "5", "null", 0, "5", {}, 5, 5},
    {"ExitBelowEmptyMinimumYes", Kind::Exit, Action::New, 5, "null", "null", 0, "6", true, -1, 6},
    {"ExitBelowTheMinimumNo", Kind::Exit, Action::New, 5, "2", "null", 0, "4", false, 5, {}},
    {"ExitChangedUp", Kind::Exit, Action::Change, 20, "0", "null", 10, "12", {}, 18, 12},
    {"ExitChangedDownStillTested", Kind::Exit, Action::Change, 20, "30", "null", 10, "4", true, 26,
     4},
    {"ExitDeletedOverTheMaximum", Kind::Exit, Action::Delete, 10, "null", "12", 4, "", {}, 14, {}},
    {"ExitNegative", Kind::Exit, Action::New, 10, "0", "null", 0, "-3", {}, 13, -3},
    {"ExitNewCancelled", Kind::Exit, Action::CancelNew, 10, "null", "null", 0, "5", {}, 10, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, StockRule, testing::ValuesIn(kStockCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ the rest of the windows

TEST_F(Movements, NovoStoresTheTimeWithSecondsAndEnterWalksEveryFieldAndButton) {
    product(1, 10);
    TFEntrada* w = open(Kind::Entry);
    click(w->btnNovo);
    const QTime time = DM->TBMOVIMENTACAO->field("HORARIO").asTime();
    EXPECT_LE(std::abs(time.secsTo(QTime::currentTime())), 2) << "the seconds are kept";

    QStringList walked;
    QWidget* at = w->DBEdit3;
    testing_support::focus(at);
    for (int i = 0; i < 15 && (walked.isEmpty() || at != w->DBEdit3); ++i) {
        walked << at->objectName();
        // Enter moves on from edits and lists; on a pick button Down does (Enter opens it).
        testing_support::press(at, qobject_cast<QPushButton*>(at) ? Qt::Key_Down : Qt::Key_Return);
        at = QApplication::focusWidget();
    }
    EXPECT_EQ(walked, (QStringList{"DBEdit3", "DBEdit2", "DBLookupComboBox1", "btnProduto",
                                   "DBEdit5", "DBEdit6", "DBEdit7", "DBEdit8", "DBLookupComboBox2",
                                   "btnFornecedor", "DBEdit20", "DBLookupComboBox4",
                                   "btnCentroCusto", "DBEdit4", "DBEdit9"}));
    EXPECT_EQ(at, w->DBEdit3) << "past the last field the first comes round";
    click(w->btnCancelar);
}

// Another station stores a stock while the limit question is up: the save that computed its
// figure before is refused, nothing is lost, and saving again starts from the stored figure.
TEST_F(Movements, AStockAnotherStationStoredIsNeverOverwritten) {
    product(1, 10, "null", "1");
    TFEntrada* w = open(Kind::Entry);
    click(w->btnNovo);
    typeInto(w->DBEdit2, "1");
    typeInto(w->DBEdit5, "5");
    data::SqlConnection station;
    station.params() << "Database=" + folder->file("QUIRU.GDB") << "User_name=SYSDBA"
                     << "Password=x";
    station.open();
    dialogs.answer(true, [&] {
        testing_support::exec(
            &station, "update TPRODUTO set ESTOQUEATUAL = ESTOQUEATUAL + 7 where CODIGO = 1");
    });
    click(w->btnSalvar);
    ASSERT_EQ(dialogs.errors().size(), 1u);
    EXPECT_TRUE(dialogs.errors()[0].text.startsWith("Outra estação alterou"))
        << dialogs.errors()[0].text.toStdString();
    EXPECT_DOUBLE_EQ(stock(1), 17);
    EXPECT_TRUE(w->btnSalvar->isEnabled()) << "still editing what was typed";
    EXPECT_EQ(w->DBEdit5->text(), "5");

    dialogs.answer(true);
    click(w->btnSalvar);
    EXPECT_EQ(dialogs.errors().size(), 1u);
    EXPECT_DOUBLE_EQ(stock(1), 22);
    EXPECT_DOUBLE_EQ(stored(1, "QUANTIDADE").toDouble(), 5);
}

TEST_F(Movements, AmountsThatCannotComeBackExactlyAreRefusedAndJamNothing) {
    product(1, 7, "null", "2000000000");
    product(2, 999999000, "null", "2000000000");
    TFEntrada* w = open(Kind::Entry);
    struct Case {
        const char* quantity;
        const char* message; // the start of the error shown
    };
    for (const Case c : {Case{"99999999999999999", "O valor 99999999999999999 está fora do "
                                                   "intervalo permitido para o campo QUANTIDADE"},
                         Case{"1e308", "O valor 1E308 está fora"}, Case{"nan", "'NAN' não é"},
                         Case{"inf", "'INF' não é"}}) {
        dialogs.clear();
        click(w->btnNovo);
        typeInto(w->DBEdit2, "1");
        typeInto(w->DBEdit5, c.quantity);
        click(w->btnSalvar);
        ASSERT_EQ(dialogs.errors().size(), 1u) << c.quantity;
        EXPECT_TRUE(dialogs.errors()[0].text.startsWith(QString::fromUtf8(c.message)))
            << dialogs.errors()[0].text.toStdString();
        click(w->btnCancelar);
        EXPECT_DOUBLE_EQ(stock(1), 7);
    }
    EXPECT_EQ(movements(), 0);

    // A resulting stock beyond the limit is refused, and the next save goes through.
    dialogs.clear();
    click(w->btnNovo);
    typeInto(w->DBEdit2, "2");
    typeInto(w->DBEdit5, "2000");
    click(w->btnSalvar);
    EXPECT_EQ(dialogs.errors().size(), 1u);
    click(w->btnCancelar);
    EXPECT_DOUBLE_EQ(stock(2), 999999000);
    EXPECT_EQ(DM->TBPRODUTOS->changeCount(), 0) << "the shared products are as they were";

    // What is accepted comes back exactly when it is taken away again.
    for (const char* quantity : {"0,1", "999999990", "0,000001", "123456,789012"}) {
        click(w->btnNovo);
        typeInto(w->DBEdit2, "1");
        typeInto(w->DBEdit5, quantity);
        click(w->btnSalvar);
        dialogs.answer(true);
        click(w->btnExcluir);
        EXPECT_EQ(stock(1), 7.0) << quantity;
    }
    product(3, 0.1, "null", "10"); // 0.1 + 0.2 - 0.2 is not 0.1 in plain binary arithmetic
    click(w->btnNovo);
    typeInto(w->DBEdit2, "3");
    typeInto(w->DBEdit5, "0,2");
    click(w->btnSalvar);
    EXPECT_EQ(stock(3), 0.3);
    dialogs.answer(true);
    click(w->btnExcluir);
    EXPECT_EQ(stock(3), 0.1);
    EXPECT_TRUE(dialogs.errors().size() == 1u);
}

TEST_F(Movements, SavingStartsFromTheStoredStockNotTheCachedOne) {
    product(1, 10, "null", "1000");
    movement(1, Kind::Entry, 1, 2);
    TFEntrada* w = open(Kind::Entry);
    ASSERT_TRUE(DM->TBPRODUTOS->locate("CODIGO", 1)); // the window's cache holds stock 10
    // Another station books stock meanwhile: every kind of save must start from what is stored.
    exec("update TPRODUTO set ESTOQUEATUAL = 50 where CODIGO = 1");
    click(w->btnNovo);
    typeInto(w->DBEdit2, "1");
    typeInto(w->DBEdit5, "5");
    click(w->btnSalvar);
    EXPECT_DOUBLE_EQ(stock(1), 55);
    exec("update TPRODUTO set ESTOQUEATUAL = 100 where CODIGO = 1");
    click(w->btnAlterar);
    typeInto(w->DBEdit5, "7");
    click(w->btnSalvar);
    EXPECT_DOUBLE_EQ(stock(1), 102);
    exec("update TPRODUTO set ESTOQUEATUAL = 30 where CODIGO = 1");
    dialogs.answer(true);
    click(w->btnExcluir);
    EXPECT_DOUBLE_EQ(stock(1), 23);
}

TEST_F(Movements, CodesAreSharedByEntriesAndExitsAndEachWindowBrowsesItsOwnKind) {
    product(1, 10, "null", "100");
    movement(1, Kind::Entry, 1, 1);
    movement(2, Kind::Exit, 1, 1);
    TFEntrada* w = open(Kind::Exit);
    EXPECT_EQ(w->dataSet()->recordCount(), 1);
    click(w->btnNovo);
    EXPECT_EQ(w->DBEdit1->text(), "3");
    EXPECT_EQ(stored(3, "TIPO").toString(), "SAIDA") << "stored at once with its kind";
    EXPECT_EQ(w->dataSet()->field("DATA").asDate(), QDate::currentDate());
    typeInto(w->DBEdit2, "1");
    typeInto(w->DBEdit5, "1");
    click(w->btnSalvar);
    EXPECT_EQ(w->dataSet()->recordCount(), 2) << "still exits only";
    EXPECT_EQ(w->dataSet()->filter(), "TIPO = 'SAIDA'");
    testing_support::press(w, QKeySequence(Qt::Key_Left));
    EXPECT_EQ(w->DBEdit1->text(), "2");
    testing_support::press(w, QKeySequence(Qt::Key_Right));
    EXPECT_EQ(w->DBEdit1->text(), "3");
}

TEST_F(Movements, LeavingTheProductListProposesPriceAndSupplierAndSavingReplacesTheTotal) {
    product(1, 0, "null", "100");
    for (Kind kind : {Kind::Entry, Kind::Exit}) {
        SCOPED_TRACE(kind == Kind::Entry ? "entry" : "exit");
        TFEntrada* w = open(kind);
        click(w->btnNovo);
        typeInto(w->DBEdit6, "9");
        typeInto(w->DBEdit5, "2");
        testing_support::focus(w->DBLookupComboBox1);
        testing_support::press(w->DBLookupComboBox1, Qt::Key_Down);   // P1, the only product
        testing_support::press(w->DBLookupComboBox1, Qt::Key_Return); // on to the quantity
        data::ClientDataSet* ds = w->dataSet();
        EXPECT_EQ(ds->field("PRODUTO").asInteger(), 1);
        EXPECT_DOUBLE_EQ(ds->field("PRECO_UNITARIO").asFloat(), kind == Kind::Entry ? 2.5 : 4);
        EXPECT_DOUBLE_EQ(ds->field("PRECO_TOTAL").asFloat(), kind == Kind::Entry ? 5 : 8);
        if (kind == Kind::Entry)
            EXPECT_EQ(ds->field("FORNECEDOR").asInteger(), 7);
        else
            EXPECT_TRUE(ds->field("FORNECEDOR").isNull());
        typeInto(w->DBEdit7, "999");
        click(w->btnSalvar);
        const int code = w->DBEdit1->text().toInt();
        EXPECT_DOUBLE_EQ(stored(code, "PRECO_TOTAL").toDouble(), kind == Kind::Entry ? 5 : 8);
    }
}

TEST_F(Movements, ChangingTheProductGivesTheOldOneItsQuantityBack) {
    product(1, 10, "null", "3");
    product(2, 0, "null", "5");
    movement(1, Kind::Entry, 1, 10);
    TFEntrada* w = open(Kind::Entry);
    click(w->btnAlterar);
    typeInto(w->DBEdit2, "2");
    typeInto(w->DBEdit5, "6");
    dialogs.answer(true); // product 2 goes to 6, over its maximum of 5
    click(w->btnSalvar);
    EXPECT_EQ(dialogs.questions().size(), 1u);
    EXPECT_DOUBLE_EQ(stock(1), 0);
    EXPECT_DOUBLE_EQ(stock(2), 6);

    click(w->btnAlterar);
    typeInto(w->DBEdit2, "1");
    dialogs.answer(false);
    click(w->btnSalvar);
    EXPECT_DOUBLE_EQ(stock(1), 0) << "No leaves both products as they were";
    EXPECT_DOUBLE_EQ(stock(2), 6);
    EXPECT_EQ(stored(1, "PRODUTO").toInt(), 2);
}

TEST_F(Movements, ChangingOnlyThePriceNeverWritesTheProduct) {
    product(1, 10, "null", "100");
    movement(1, Kind::Entry, 1, 10);
    // Any write to the product would now fail.
    exec("create exception RECUSADO 'produto gravado'");
    exec("create trigger TPRODUTO_RECUSA for TPRODUTO before update as begin exception "
         "RECUSADO; end");
    TFEntrada* w = open(Kind::Entry);
    click(w->btnAlterar);
    typeInto(w->DBEdit6, "3");
    click(w->btnSalvar);
    EXPECT_TRUE(dialogs.errors().empty());
    EXPECT_DOUBLE_EQ(stored(1, "PRECO_TOTAL").toDouble(), 30);
}

TEST_F(Movements, AMovementAndItsStockAreStoredTogetherOrNotAtAll) {
    product(1, 10, "null", "100");
    exec("create exception RECUSADO 'recusado'");
    exec("create trigger TPRODUTO_RECUSA for TPRODUTO before update as begin exception "
         "RECUSADO; end");
    TFEntrada* w = open(Kind::Entry);
    click(w->btnNovo);
    typeInto(w->DBEdit2, "1");
    typeInto(w->DBEdit5, "5");
    click(w->btnSalvar);
    ASSERT_EQ(dialogs.errors().size(), 1u);
    EXPECT_TRUE(stored(1, "QUANTIDADE").isNull()) << "the movement waits with the product";
    EXPECT_DOUBLE_EQ(stock(1), 10);
    EXPECT_TRUE(w->btnSalvar->isEnabled()) << "still editing, to retry or cancel";
    EXPECT_EQ(w->DBEdit5->text(), "5");

    exec("drop trigger TPRODUTO_RECUSA");
    click(w->btnSalvar);
    EXPECT_DOUBLE_EQ(stored(1, "QUANTIDADE").toDouble(), 5);
    EXPECT_DOUBLE_EQ(stock(1), 15);

    exec("create trigger TMOV_RECUSA for TMOVIMENTACAO before delete as begin exception "
         "RECUSADO; end");
    dialogs.answer(true);
    click(w->btnExcluir);
    EXPECT_EQ(dialogs.errors().size(), 2u);
    EXPECT_DOUBLE_EQ(stock(1), 15) << "the stock stays with the movement that stays";
    EXPECT_EQ(w->dataSet()->recordCount(), 1);
}

// The trail is written with the change or the change is not made; a deletion keeps its reason.
TEST_F(Movements, ATrailThatCannotBeWrittenStopsTheChangeAndADeletionKeepsItsReason) {
    product(1, 10, "null", "100");
    movement(1, Kind::Exit, 1, 4);
    exec("create exception RECUSADO 'recusado'");
    exec("create trigger THISTORICO_RECUSA for THISTORICO before insert as begin exception "
         "RECUSADO; end");
    TFEntrada* w = open(Kind::Exit);
    click(w->btnAlterar);
    typeInto(w->DBEdit5, "6");
    click(w->btnSalvar);
    EXPECT_EQ(dialogs.errors().size(), 1u);
    EXPECT_DOUBLE_EQ(stored(1, "QUANTIDADE").toDouble(), 4);
    EXPECT_DOUBLE_EQ(stock(1), 10);
    click(w->btnCancelar);
    dialogs.answer(true);
    click(w->btnExcluir);
    EXPECT_EQ(dialogs.errors().size(), 2u);
    EXPECT_EQ(movements(), 1);
    EXPECT_DOUBLE_EQ(stock(1), 10);

    exec("drop trigger THISTORICO_RECUSA");
    dialogs.answer(true);
    dialogs.onModal("FMotivoExclusao", [](QDialog* reason) {
        auto* edit = reason->findChild<QLineEdit*>("edtMotivo");
        testing_support::retype(edit, "  contado   errado ");
        reason->accept();
    });
    click(w->btnExcluir);
    EXPECT_EQ(movements(), 0);
    EXPECT_DOUBLE_EQ(stock(1), 14);
    EXPECT_EQ(trail("MOTIVO"), "contado errado");
    EXPECT_DOUBLE_EQ(trail("ANT_QUANTIDADE").toDouble(), 4);
}

TEST_F(Movements, SaveRefusesAMissingProductAZeroQuantityAndBadInput) {
    product(1, 10, "null", "100");
    TFEntrada* w = open(Kind::Entry);
    click(w->btnNovo);
    click(w->btnSalvar);
    typeInto(w->DBEdit2, "9");
    click(w->btnSalvar);
    typeInto(w->DBEdit2, "1");
    click(w->btnSalvar);
    EXPECT_EQ(dialogs.messages(),
              (QStringList{"Produto não localizado! Por Favor informe um produto!",
                           "Produto não localizado! Por Favor informe um produto!",
                           "Informe uma quantidade diferente de zero!"}));
    EXPECT_TRUE(w->DBEdit5->hasFocus());
    typeInto(w->DBEdit5, "dez");
    click(w->btnSalvar);
    typeInto(w->DBEdit5, "1");
    typeInto(w->DBEdit4, "31/02/2026");
    click(w->btnSalvar);
    EXPECT_EQ(dialogs.errors().size(), 2u);
    EXPECT_TRUE(w->btnSalvar->isEnabled());
    EXPECT_DOUBLE_EQ(stock(1), 10);
    EXPECT_TRUE(stored(1, "QUANTIDADE").isNull());
}

TEST_F(Movements, PickingAProductOrClosingTheListWithoutOne) {
    product(1, 10, "null", "100");
    product(2, 10, "null", "100");
    produto_selecionado = 1;
    TFEntrada* w = open(Kind::Entry);
    click(w->btnNovo);
    typeInto(w->DBEdit2, "2");
    dialogs.onModal("FProdutos", [](QDialog*) {}); // closed without a pick
    testing_support::press(w, QKeySequence(Qt::Key_F3));
    EXPECT_EQ(w->DBEdit2->text(), "2") << "the typed product stays";
    EXPECT_EQ(produto_selecionado, 1);

    dialogs.onModal("FProdutos", [](QDialog* d) {
        auto* products = static_cast<TFProdutos*>(d);
        products->btnConsultar->click();
        ASSERT_TRUE(products->dataSet()->locate("CODIGO", 1));
        testing_support::press(products->DBGrid1, Qt::Key_Return);
    });
    click(w->btnProduto);
    EXPECT_EQ(w->dataSet()->field("PRODUTO").asInteger(), 1);
    EXPECT_TRUE(w->dataSet()->field("PRECO_UNITARIO").isNull()) << "a pick proposes no price";
}

} // namespace

namespace {

// A shop whose movements take a while to read: the window shows after the first rows, works
// while the rest come, and a new entry ends after every movement, read before it or after.
TEST_F(Movements, TheWindowWorksWhileTheMovementsAreStillBeingRead) {
    product(1, 10, "null", "100");
    exec("execute block as declare i integer = 1; begin while (i <= 2000) do begin "
         "insert into TMOVIMENTACAO (CODIGO, TIPO, PRODUTO, QUANTIDADE) values (:i, "
         "trim(iif(mod(:i, 2) = 1, 'ENTRADA', 'SAIDA')), 1, 1); i = i + 1; end end");
    data::ClientDataSet* movements = DM->TBMOVIMENTACAO;
    movements->close();
    movements->setReadInSlices(true, 50);
    TFEntrada* w = open(Kind::Entry);
    ASSERT_FALSE(movements->wholeRead());
    auto* last = w->DBNavigator1->button(ui::DBNavigator::Last);
    EXPECT_TRUE(last->isEnabled()) << "more entries may come";

    click(w->btnNovo);
    typeInto(w->DBEdit2, "1");
    typeInto(w->DBEdit5, "5");
    click(w->btnSalvar);
    EXPECT_DOUBLE_EQ(stock(1), 15);
    QApplication::processEvents(); // a slice or two more arrive
    EXPECT_EQ(movements->field("CODIGO").asInteger(), 2001);

    last->click();
    EXPECT_TRUE(movements->wholeRead());
    EXPECT_EQ(movements->field("CODIGO").asInteger(), 2001);
    EXPECT_EQ(movements->recordCount(), 1001);
    EXPECT_FALSE(last->isEnabled());
}

} // namespace
