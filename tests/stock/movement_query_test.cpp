// The movement query: what each filter lists, the preset period, bad dates, the grid, the keys,
// the colour file, and the movement left current for the window that opened it.
#include "app/main_window.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/format/format.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/mask_edit.h"
#include "stock/movement_query_window.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>

using testing_support::DataModuleTest;

namespace {

QString sqlDate(const QDate& date) {
    return "'" + date.toString(Qt::ISODate) + "'";
}

class MovementQuery : public DataModuleTest {
protected:
    // Two products, one supplier, two customers, one cost centre. Entries 1 and 2 and exits 4 and
    // 5 fall in the current month (2 and 4 on its first day, 1 and 5 on its second); entry 3 and
    // exit 6 in the month before.
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        exec("insert into TPRODUTO (CODIGO, DESCRICAO) values (1, 'Caneta Azul')");
        exec("insert into TPRODUTO (CODIGO, DESCRICAO) values (2, 'Caderno')");
        exec("insert into TFORNECEDOR (CODIGO, DESCRICAO) values (1, 'Papelaria Sul')");
        exec("insert into TCLIENTE (CODIGO, NOME) values (1, 'Maria Souza')");
        exec("insert into TCLIENTE (CODIGO, NOME) values (2, 'José')");
        exec("insert into CENTRO_CUSTO (CODIGO, DESCRICAO) values (1, 'Escritório')");
        const QDate first = QDate::currentDate().addDays(1 - QDate::currentDate().day());
        const QString day1 = sqlDate(first), day2 = sqlDate(first.addDays(1)),
                      before = sqlDate(first.addMonths(-1));
        const QString entry = "insert into TMOVIMENTACAO (CODIGO, TIPO, PRODUTO, FORNECEDOR, "
                              "QUANTIDADE, PRECO_TOTAL, NOTA_COMPRA, DATA, HORARIO) values ";
        exec(entry + "(1, 'ENTRADA', 1, 1, 10, 25.5, '123', " + day2 + ", '08:30')");
        exec(entry + "(2, 'ENTRADA', 2, 1, 1, 3, null, " + day1 + ", null)");
        exec(entry + "(3, 'ENTRADA', 1, null, 1, 3, null, " + before + ", null)");
        const QString exit = "insert into TMOVIMENTACAO (CODIGO, TIPO, PRODUTO, CLIENTE, "
                             "CENTRO_CUSTO, DATA) values ";
        exec(exit + "(4, 'SAIDA', 1, 1, 1, " + day1 + ")");
        exec(exit + "(5, 'SAIDA', 2, 2, null, " + day2 + ")");
        exec(exit + "(6, 'SAIDA', 1, 1, null, " + before + ")");
    }
    void TearDown() override {
        window.reset();
        menu.reset();
        DataModuleTest::TearDown();
    }

    TFConsultaMovimentacoes* open(int entradas) {
        consulta_entradas = entradas;
        window = std::make_unique<TFConsultaMovimentacoes>();
        testing_support::activate(window.get());
        return window.get();
    }
    // The codes the grid lists, top to bottom.
    static QList<int> listed(TFConsultaMovimentacoes* w) {
        QList<int> codes;
        const QAbstractItemModel* model = w->DBGrid1->model();
        for (int row = 0; row < model->rowCount(); ++row)
            codes << model->index(row, 0).data().toInt();
        return codes;
    }
    static QRect rowRect(TFConsultaMovimentacoes* w, int code) {
        const QAbstractItemModel* model = w->DBGrid1->model();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 0).data().toInt() == code)
                return w->DBGrid1->visualRect(model->index(row, 2));
        throw std::runtime_error("movement not listed");
    }
    static void clickRow(TFConsultaMovimentacoes* w, int code) {
        QTest::mouseClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, rowRect(w, code).center());
    }
    static void setFilters(TFConsultaMovimentacoes* w, const QString& product,
                           const QString& supplier, const QString& customer,
                           const QString& start = {}, const QString& end = {}) {
        w->CBProduto->setEditText(product);
        w->CBFornecedor->setEditText(supplier);
        w->CBCliente->setEditText(customer);
        w->txtDataInicial->setText(start);
        w->txtDataFinal->setText(end);
    }
    void writeColourFile(const QByteArray& content) {
        QFile f(folder->file("CorDeFundo.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    static QColor headerColour(TFConsultaMovimentacoes* w) {
        QHeaderView* titles = w->DBGrid1->horizontalHeader();
        const QImage header = titles->grab().toImage();
        // Past the end of the long title "PRODUTO": plain background.
        return header.pixelColor(titles->sectionViewportPosition(2) + 200, header.height() / 2);
    }

    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<TFConsultaMovimentacoes> window;
    std::unique_ptr<TFMenu> menu;
};

TEST_F(MovementQuery, OpensOnTheCurrentMonthOfItsKindOldestFirst) {
    auto* w = open(1);
    const format::PeriodTexts month = format::monthPeriod(QDate::currentDate());
    EXPECT_EQ(w->txtDataInicial->text(), month.first);
    EXPECT_EQ(w->txtDataFinal->text(), month.last);
    EXPECT_EQ(listed(w), (QList<int>{2, 1}));
    EXPECT_EQ(QApplication::focusWidget(), w->CBProduto);
    EXPECT_EQ(w->CBProduto->count(), 2);
    EXPECT_EQ(w->CBCliente->itemText(1), "José");
    EXPECT_TRUE(w->CBProduto->currentText().isEmpty()) << "filling a list puts no filter in it";
    window.reset();

    w = open(0);
    EXPECT_EQ(listed(w), (QList<int>{4, 5}));
    EXPECT_EQ(w->windowTitle(), "Consulta de Movimentações");
}

TEST_F(MovementQuery, ListFiltersFindWholeNamesIgnoringCase) {
    struct Case {
        int entradas;
        const char *product, *supplier, *customer;
        QList<int> expected;
    };
    const Case cases[] = {
        {1, "", "", "", {3, 2, 1}},
        {1, "CANETA AZUL", "", "", {3, 1}},
        {1, "CANETA", "", "", {3, 2, 1}}, // a prefix names no product: no product condition
        {1, "", "PAPELARIA SUL", "", {2, 1}},
        {0, "", "PAPELARIA SUL", "", {}}, // exits carry no supplier
        {0, "", "", "MARIA SOUZA", {6, 4}},
        {0, "", "", "JOSÉ", {5}},
        {0, "CADERNO", "", "MARIA SOUZA", {}},
        {0, "", "NINGUÉM", "", {6, 4, 5}},
    };
    for (const Case& c : cases) {
        auto* w = open(c.entradas);
        setFilters(w, c.product, c.supplier, c.customer);
        w->btnBuscar->click();
        EXPECT_EQ(listed(w), c.expected)
            << c.entradas << " [" << c.product << "|" << c.supplier << "|" << c.customer << "]";
    }
    EXPECT_TRUE(dialogs.messages().isEmpty()) << "a name that is not found is dropped silently";
}

// The report filter reads the shared lists again; the query's boxes keep what the user chose.
TEST_F(MovementQuery, FiltersStayAsTheUserLeftThemAfterPrinting) {
    auto* w = open(0);
    setFilters(w, "", "", "MARIA SOUZA");
    w->CBProduto->clearEditText();
    dialogs.onModal("FFiltroMovimentacoes", [](QDialog*) {});
    testing_support::press(w, QKeySequence(Qt::CTRL | Qt::Key_P));
    ASSERT_EQ(dialogs.windows(), QStringList{"FFiltroMovimentacoes"});
    EXPECT_EQ(w->CBProduto->currentText(), "");
    EXPECT_EQ(w->CBFornecedor->currentText(), "");
    EXPECT_EQ(w->CBCliente->currentText(), "MARIA SOUZA");
    w->btnBuscar->click();
    EXPECT_EQ(listed(w), (QList<int>{6, 4}));
}

TEST_F(MovementQuery, PeriodNeedsBothDates) {
    auto* w = open(1);
    const QDate before = QDate::currentDate().addMonths(-1);
    const format::PeriodTexts last = format::monthPeriod(before);
    setFilters(w, {}, {}, {}, last.first, last.last);
    w->btnBuscar->click();
    EXPECT_EQ(listed(w), QList<int>{3});

    setFilters(w, {}, {}, {}, last.first, {});
    w->btnBuscar->click();
    EXPECT_EQ(listed(w), (QList<int>{3, 2, 1})) << "a cleared end date drops the period";
    setFilters(w, {}, {}, {}, {}, last.last);
    w->btnBuscar->click();
    EXPECT_EQ(listed(w), (QList<int>{3, 2, 1})) << "a cleared start date drops the period";
}

TEST_F(MovementQuery, PartlyTypedDateIsReportedAndListsNothing) {
    struct Case {
        const char* field;
        const char* message;
    };
    for (const Case c : {Case{"txtDataInicial", "Data inicial inválida!"},
                         Case{"txtDataFinal", "Data final inválida!"}}) {
        auto* w = open(1);
        auto* date = testing_support::find<ui::MaskEdit>(w, c.field);
        testing_support::focus(date);
        testing_support::type(date, "311");
        dialogs.clear();
        w->btnBuscar->click();
        EXPECT_EQ(dialogs.messages(), QStringList{c.message});
        EXPECT_TRUE(dialogs.errors().empty());
        EXPECT_EQ(w->DBGrid1->model()->rowCount(), 0) << c.field;
        EXPECT_EQ(QApplication::focusWidget(), date);

        w->close(); // nothing listed: closing moves nothing and fails in nothing
        EXPECT_FALSE(w->isVisible());
        EXPECT_TRUE(dialogs.errors().empty());
    }
}

TEST_F(MovementQuery, MonthPeriodEndsOnTheMonthsLastDay) {
    const std::pair<QDate, format::PeriodTexts> cases[] = {
        {{2028, 2, 10}, {"01/02/2028", "29/02/2028"}},
        {{2027, 2, 28}, {"01/02/2027", "28/02/2027"}},
        {{2100, 2, 1}, {"01/02/2100", "28/02/2100"}},
        {{2027, 1, 31}, {"01/01/2027", "31/01/2027"}},
        {{2027, 4, 15}, {"01/04/2027", "30/04/2027"}},
        {{2027, 12, 1}, {"01/12/2027", "31/12/2027"}},
    };
    for (const auto& [today, expected] : cases) {
        const format::PeriodTexts period = format::monthPeriod(today);
        EXPECT_EQ(period.first, expected.first) << today.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(period.last, expected.last) << today.toString(Qt::ISODate).toStdString();
    }
}

TEST_F(MovementQuery, GridColumnsAndCostCentreName) {
    auto* w = open(0);
    QAbstractItemModelTester tester(w->DBGrid1->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QAbstractItemModel* model = w->DBGrid1->model();
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{"CÓD", "N° NOTA", "PRODUTO", "QTD.", "VALOR TOTAL", "DATA",
                                   "HORÁRIO", "FORNECEDOR", "CLIENTE", "CENTRO DE CUSTO"}));
    const int widths[] = {35, 70, 218, 37, 96, 60, -1, 175, 175, -1};
    for (int c = 0; c < 10; ++c) {
        if (widths[c] > 0) {
            EXPECT_EQ(w->DBGrid1->columnWidth(c), widths[c]) << titles[c].toStdString();
        }
    }

    auto row = [&](int r) {
        QStringList texts;
        for (int c = 0; c < model->columnCount(); ++c)
            texts << model->index(r, c).data().toString();
        return texts;
    };
    const QString firstDay =
        format::dateToStr(QDate::currentDate().addDays(1 - QDate::currentDate().day()));
    EXPECT_EQ(row(0), (QStringList{"4", "", "Caneta Azul", "", "", firstDay, "", "", "Maria Souza",
                                   "Escritório"}));
    EXPECT_EQ(row(1).last(), "") << "no cost centre";

    window.reset();
    w = open(1);
    EXPECT_EQ(w->DBGrid1->model()->index(1, 4).data().toString(), "R$ 25,50");
    EXPECT_EQ(w->DBGrid1->model()->index(1, 1).data().toString(), "123");
    EXPECT_EQ(w->DBGrid1->model()->index(1, 7).data().toString(), "Papelaria Sul");
}

TEST_F(MovementQuery, KeysSearchAndMoveOn) {
    auto* w = open(1);
    testing_support::focus(w->CBProduto);
    testing_support::type(w->CBProduto, "caderno");
    testing_support::press(w->CBProduto, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->CBFornecedor);
    EXPECT_EQ(listed(w), QList<int>{2}) << "Enter in a list searches";

    w->CBProduto->clearEditText();
    testing_support::press(w, QKeySequence(Qt::Key_F5));
    EXPECT_EQ(listed(w), (QList<int>{2, 1}));

    testing_support::focus(w->txtDataInicial);
    testing_support::press(w->txtDataInicial, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->txtDataFinal);
    testing_support::press(w->txtDataFinal, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), w->txtDataInicial);

    w->CBProduto->setEditText("CANETA AZUL");
    testing_support::focus(w->txtDataFinal);
    testing_support::press(w->txtDataFinal, Qt::Key_Return);
    EXPECT_EQ(listed(w), QList<int>{1}) << "Enter in the end date searches";
    EXPECT_EQ(QApplication::focusWidget(), w->DBGrid1);

    QString caption;
    dialogs.onModal("FFiltroMovimentacoes",
                    [&](QDialog* filter) { caption = filter->windowTitle(); });
    testing_support::press(w, QKeySequence("Ctrl+P"));
    EXPECT_EQ(caption, "Relatório de Movimentações no Estoque");
}

TEST_F(MovementQuery, ClosingMakesTheGridRowTheCurrentMovement) {
    dm->TBMOVIMENTACAO->open();
    dm->TBMOVIMENTACAO->setFilter("TIPO = 'ENTRADA'"); // as the entry window leaves it
    dm->TBMOVIMENTACAO->setFiltered(true);

    auto* w = open(1);
    QTest::mouseDClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, rowRect(w, 1).center());
    EXPECT_FALSE(w->isVisible()) << "a double-click chooses the row";
    EXPECT_EQ(dm->TBMOVIMENTACAO->field("CODIGO").asInteger(), 1);

    window.reset();
    w = open(1);
    clickRow(w, 2);
    w->btnSair->click();
    EXPECT_EQ(dm->TBMOVIMENTACAO->field("CODIGO").asInteger(), 2);
    EXPECT_TRUE(dialogs.errors().empty());
}

TEST_F(MovementQuery, QueryCommandsOfTheMainWindow) {
    menu = std::make_unique<TFMenu>();
    dm->TBMOVIMENTACAO->open();
    dm->TBPRODUTOS->open();
    struct Case {
        void (TFMenu::*command)();
        int entradas;
        int chosen;
        int product;
    };
    // The entry window's filter left behind does not stop the exit query's choice.
    dialogs.onModal("FEntrada", [](QDialog*) {});
    menu->btnEntradasClick();
    for (const Case c : {Case{&TFMenu::ConsultadeSadas1Click, 0, 5, 2},
                         Case{&TFMenu::ConsultadeEntradas1Click, 1, 1, 1}}) {
        dialogs.onModal("FConsultaMovimentacoes", [&](QDialog* w) {
            clickRow(static_cast<TFConsultaMovimentacoes*>(w), c.chosen);
        });
        (menu.get()->*c.command)();
        EXPECT_EQ(consulta_entradas, c.entradas);
        EXPECT_EQ(dm->TBMOVIMENTACAO->field("CODIGO").asInteger(), c.chosen);
        EXPECT_EQ(dm->TBPRODUTOS->field("CODIGO").asInteger(), c.product);
        EXPECT_EQ(FConsultaMovimentacoes, nullptr);
    }
    EXPECT_EQ(dialogs.windows(),
              (QStringList{"FEntrada", "FConsultaMovimentacoes", "FConsultaMovimentacoes"}));
}

TEST_F(MovementQuery, ColourFileTakesNumbersAndNames) {
    struct Case {
        const char* line;
        std::optional<QColor> colour;
    };
    const Case cases[] = {
        {"255", QColor(255, 0, 0)},         // decimal, blue-green-red: 255 is red
        {"16711680", QColor(0, 0, 255)},    // 0xFF0000 is blue
        {"$00FF0000", QColor(0, 0, 255)},   // hexadecimal, blue-green-red
        {"$0000ff00", QColor(0, 255, 0)},   //
        {" $000000FF ", QColor(255, 0, 0)}, // blanks around are ignored
        {"#FF0000", QColor(255, 0, 0)},     // red-green-blue in this form
        {"yellow", QColor(255, 255, 0)},    //
        {"Navy", QColor(0, 0, 128)},        //
        {"0", QColor(0, 0, 0)},             //
        {"$01000000", std::nullopt},        // beyond a plain colour
        {"16777216", std::nullopt},         //
        {"-1", std::nullopt},               //
        {"$GG", std::nullopt},              //
        {"$", std::nullopt},                //
        {"azulado", std::nullopt},          //
        {"transparent", std::nullopt},      // a background cannot be see-through
        {"12 34", std::nullopt},            //
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseBackgroundColour(c.line), c.colour) << c.line;
}

TEST_F(MovementQuery, ColourFilePaintsTheWindowOrIsReported) {
    const QColor designed = open(1)->palette().color(QPalette::Window);
    const QColor designedHeader = headerColour(window.get());
    window.reset();

    writeColourFile("$000000FF\r\nsegunda linha");
    auto* w = open(1);
    EXPECT_EQ(w->palette().color(QPalette::Window), QColor(Qt::red));
    EXPECT_EQ(headerColour(w), QColor(Qt::red));
    window.reset();

    for (const QByteArray& content : {QByteArray("\n$000000FF"), QByteArray("azulado\n")}) {
        writeColourFile(content);
        dialogs.clear();
        w = open(1);
        EXPECT_EQ(w->palette().color(QPalette::Window), designed) << content.constData();
        EXPECT_EQ(headerColour(w), designedHeader);
        EXPECT_EQ(listed(w), (QList<int>{2, 1})) << "the window opens all the same";
        window.reset();
    }
    EXPECT_EQ(dialogs.messages(), QStringList{"A cor \"azulado\" do arquivo CorDeFundo.txt não é "
                                              "uma cor válida; a janela mantém suas cores."});
}

} // namespace
