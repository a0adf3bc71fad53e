// Scanning at the counter: what a bar code read in the entry and exit windows does, in each state
// of the window, driven as key events at a scanner's pace.
#include "core/globals.h"
#include "platform/ui/db_edit.h"
#include "registers/products_window.h"
#include "stock/exit_window.h"
#include "stock/scan_decision.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QApplication>
#include <QListWidget>
#include <QPushButton>

using testing_support::DataModuleTest;

namespace {

// The decision alone, without a window.
TEST(ScanDecision, FollowsTheWindowStateAndTheProductsFound) {
    using stock::ScanStep;
    struct Case {
        bool editing;
        QVariant product;
        std::vector<int> found;
        ScanStep step;
    };
    const Case cases[] = {
        {false, {}, {5}, ScanStep::StartMovement},
        {true, {}, {5}, ScanStep::FillProduct},
        {true, 5, {5}, ScanStep::AddOne},
        {true, 6, {5}, ScanStep::AskToSaveFirst},
        {false, {}, {}, ScanStep::UnknownCode},
        {true, 5, {}, ScanStep::UnknownCode},
        {false, {}, {5, 6}, ScanStep::ChooseProduct},
        {true, 0, {5}, ScanStep::FillProduct},
    };
    for (const Case& c : cases)
        EXPECT_EQ(stock::decideScan({c.editing, c.product}, c.found), c.step)
            << c.editing << ' ' << c.product.toString().toStdString() << ' ' << c.found.size();
}

enum class Kind { Entry, Exit };
enum class Before { Browsing, EditingProduct1, EditingProduct1WithQuantityFocused };

struct ScanCase {
    const char* name;
    Kind kind;
    Before before;
    const char* code;
    std::optional<bool> answer; // the question asked, and its answer
    int chooseRow = -1;         // the product chosen among those holding the code
    // After the scan: the movement under edit (0: browsing), its product and quantity, and the
    // movements stored.
    bool editing;
    int product;
    double quantity;
    int stored;
    const char* message = nullptr; // a message shown, in part
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.name;
}

class Scanning : public DataModuleTest, public testing::WithParamInterface<ScanCase> {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        exec("insert into TFORNECEDOR (CODIGO, DESCRICAO) values (7, 'ACME')");
        for (auto [code, barCode] : {std::pair{1, "7891234567895"},
                                     {2, "7890000000017"},
                                     {3, "2000000000039"},
                                     {4, "2000000000039"}})
            exec(QStringLiteral("insert into TPRODUTO (CODIGO, DESCRICAO, CODIGOBARRAS, "
                                "ESTOQUEATUAL, ESTOQUE_MAXIMO, PRECO_COMPRA, PRECO_VENDA, "
                                "FORNECEDOR) values (%1, "
                                "'P%1', '%2', 10, 1000, 2.5, 4, 7)")
                     .arg(code)
                     .arg(barCode));
    }
    void TearDown() override {
        window.reset();
        DataModuleTest::TearDown();
    }
    TFEntrada* open(Kind kind) {
        window.reset(kind == Kind::Entry ? new TFEntrada() : new TFSaida());
        testing_support::activate(window.get());
        return window.get();
    }
    // A scanner: a key every 3 ms, then Enter, into whatever has the focus.
    void scan(const QString& code) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        clock_ = testing_support::typeAtPace(target, code, clock_ + 1000, 3);
    }
    QVariant movementValue(const char* column) {
        return window->dataSet()->field(QString::fromLatin1(column)).value();
    }
    int storedMovements() { return scalar("select count(*) from TMOVIMENTACAO").toInt(); }

    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<TFEntrada> window;
    quint64 clock_ = 1000000;
};

TEST_P(Scanning, DoesWhatTheWindowStateCallsFor) {
    const ScanCase& c = GetParam();
    TFEntrada* w = open(c.kind);
    if (c.before != Before::Browsing) {
        w->btnNovo->click();
        testing_support::retype(w->DBEdit2, "1");
        testing_support::retype(w->DBEdit5, "3");
        if (c.before == Before::EditingProduct1)
            testing_support::focus(w->DBEdit3);
    }
    if (c.answer)
        dialogs.answer(*c.answer);
    if (c.chooseRow >= 0)
        dialogs.onModal("FEscolhaProduto", [&](QDialog* d) {
            auto* list = testing_support::find<QListWidget>(d, "lstProdutos");
            ASSERT_EQ(list->count(), 2);
            list->setCurrentRow(c.chooseRow);
            testing_support::press(list, Qt::Key_Return);
        });
    const int storedBefore = storedMovements();
    scan(c.code);

    EXPECT_TRUE(dialogs.nothingPending());
    EXPECT_EQ(w->btnSalvar->isEnabled(), c.editing);
    EXPECT_EQ(storedMovements() - storedBefore, c.stored);
    if (c.message) {
        ASSERT_EQ(dialogs.messages().size() + dialogs.questions().size(), 1u);
        const QString shown = dialogs.messages().isEmpty() ? dialogs.questions().front().text
                                                           : dialogs.messages().front();
        EXPECT_TRUE(shown.contains(QString::fromUtf8(c.message))) << shown.toStdString();
    }
    if (!c.editing)
        return;
    EXPECT_EQ(movementValue("PRODUTO").toInt(), c.product);
    EXPECT_EQ(movementValue("QUANTIDADE").toDouble(), c.quantity);
    // Whatever the scan changed leaves the focus on the quantity, which holds nothing of the code.
    if (c.product != 1 || c.quantity != 3) {
        EXPECT_TRUE(w->DBEdit5->hasFocus());
    }
    EXPECT_EQ(w->DBEdit5->text(), QString::number(c.quantity));
    EXPECT_EQ(movementValue("TIPO").toString(), c.kind == Kind::Entry ? "ENTRADA" : "SAIDA");
    EXPECT_FALSE(movementValue("DATA").isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Scanning,
    testing::Values(ScanCase{"BrowsingStartsANewEntry",
                             Kind::Entry,
                             Before::Browsing,
                             "7890000000017",
                             {},
                             -1,
                             true,
                             2,
                             1,
                             1},
                    ScanCase{"BrowsingStartsANewExit",
                             Kind::Exit,
                             Before::Browsing,
                             "7890000000017",
                             {},
                             -1,
                             true,
                             2,
                             1,
                             1},
                    ScanCase{"SameProductAddsOne",
                             Kind::Entry,
                             Before::EditingProduct1,
                             "7891234567895",
                             {},
                             -1,
                             true,
                             1,
                             4,
                             0},
                    ScanCase{"IntoTheQuantityAddsOneAndTypesNothing",
                             Kind::Exit,
                             Before::EditingProduct1WithQuantityFocused,
                             "7891234567895",
                             {},
                             -1,
                             true,
                             1,
                             4,
                             0},
                    ScanCase{"AnotherProductSavesAndStartsTheNext", Kind::Entry,
                             Before::EditingProduct1, "7890000000017", true, -1, true, 2, 1, 1,
                             "2 - P2"},
                    ScanCase{"AnotherProductAnsweredNoChangesNothing", Kind::Exit,
                             Before::EditingProduct1, "7890000000017", false, -1, true, 1, 3, 0},
                    ScanCase{"UnknownCodeInAnExitOnlySaysSo",
                             Kind::Exit,
                             Before::Browsing,
                             "7899999999999",
                             {},
                             -1,
                             false,
                             0,
                             0,
                             0,
                             "Nenhum produto tem o código de barras 7899999999999."},
                    ScanCase{"UnknownCodeInAnEntryOffersANewProduct", Kind::Entry,
                             Before::EditingProduct1, "7899999999999", false, -1, true, 1, 3, 0,
                             "cadastrar um novo produto"},
                    ScanCase{"MistypedUnknownCodeSaysSo",
                             Kind::Exit,
                             Before::Browsing,
                             "7891234567890",
                             {},
                             -1,
                             false,
                             0,
                             0,
                             0,
                             "dígito verificador"},
                    ScanCase{"RepeatedCodeAsksWhichProduct",
                             Kind::Entry,
                             Before::Browsing,
                             "2000000000039",
                             {},
                             1,
                             true,
                             4,
                             1,
                             1}),
    [](const auto& info) { return std::string(info.param.name); });

// The same code typed by a person is just text in the field it was typed into.
TEST_F(Scanning, TheSameCodeTypedByAPersonIsTyping) {
    TFEntrada* w = open(Kind::Entry);
    w->btnNovo->click();
    testing_support::focus(w->DBEdit3);
    testing_support::typeAtPace(w->DBEdit3, "7890000000017", 1000000, 140);
    EXPECT_EQ(w->DBEdit3->text(), "7890000000017");
    EXPECT_TRUE(movementValue("PRODUTO").isNull());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

// An entry's unknown code leads to the products window with a new product holding the code;
// once the user stores it, the scan goes on as if the product had been found.
TEST_F(Scanning, AnUnknownCodeRegisteredMeanwhileStartsTheEntry) {
    TFEntrada* w = open(Kind::Entry);
    dialogs.answer(true);
    dialogs.onModal("FProdutos", [](QDialog* d) {
        auto* products = static_cast<TFProdutos*>(d);
        ASSERT_TRUE(products->btnSalvar->isEnabled());
        EXPECT_EQ(products->DBEdit2->text(), "7899999999999");
        EXPECT_TRUE(products->DBEdit3->hasFocus());
        testing_support::type(products->DBEdit3, "NOVO PRODUTO");
        products->btnSalvar->click();
    });
    scan("7899999999999");
    EXPECT_EQ(scalar("select DESCRICAO from TPRODUTO where CODIGOBARRAS = '7899999999999'"),
              "NOVO PRODUTO");
    ASSERT_TRUE(w->btnSalvar->isEnabled());
    EXPECT_EQ(movementValue("QUANTIDADE").toDouble(), 1);
    dialogs.answer(true); // a new product has no maximum stock yet
    w->btnSalvar->click();
    EXPECT_EQ(
        scalar("select ESTOQUEATUAL from TPRODUTO where CODIGOBARRAS = '7899999999999'").toDouble(),
        1);
}

} // namespace
