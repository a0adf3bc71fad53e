// The charts window: the stock pie per product, group and subgroup with its shares and titles,
// the movement area's query, points and title, bad dates, the keys, saving and printing.
#include "app/main_window.h"
#include "charts/chart_file.h"
#include "charts/charts_window.h"
#include "charts/movement_area.h"
#include "charts/stock_pie.h"
#include "platform/data/client_dataset.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "platform/ui/mask_edit.h"
#include "platform/ui/page_control.h"
#include "platform/ui/radio_group.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QRadioButton>
#include <QScatterSeries>
#include <QTemporaryDir>

using testing_support::DataModuleTest;

namespace {

struct Point {
    QDate date;
    double quantity;
    bool operator==(const Point&) const = default;
};
void PrintTo(const Point& p, std::ostream* os) {
    *os << p.date.toString(Qt::ISODate).toStdString() << "=" << p.quantity;
}

class Charts : public DataModuleTest {
protected:
    // Group 2 ("Bebidas") holds products of stock 5, 15 and 30 in two subgroups; group 1 one
    // product with stock and two with none or less than none. Entries of product 1 twice on one
    // day, of product 2 once, and one entry before the preset period; one exit.
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        exec("insert into TGRUPO (CODIGO, DESCRICAO) values (1, 'PAPELARIA')");
        exec("insert into TGRUPO (CODIGO, DESCRICAO) values (2, 'BEBIDAS')");
        exec("insert into TSUBGRUPO (CODIGO, DESCRICAO, GRUPO) values (1, 'REFRIGERANTES', 2)");
        exec("insert into TSUBGRUPO (CODIGO, DESCRICAO, GRUPO) values (2, 'SUCOS', 2)");
        exec("insert into TSUBGRUPO (CODIGO, DESCRICAO, GRUPO) values (3, 'CADERNOS', 1)");
        const QString product = "insert into TPRODUTO (CODIGO, DESCRICAO, ESTOQUEATUAL, GRUPO, "
                                "SUBGRUPO) values ";
        exec(product + "(1, 'GUARANÁ', 5, 2, 1)");
        exec(product + "(2, 'COLA', 15, 2, 1)");
        exec(product + "(3, 'SUCO DE UVA', 30, 2, 2)");
        exec(product + "(4, 'CADERNO', 10, 1, 3)");
        exec(product + "(5, 'LÁPIS', 0, 1, 3)");
        exec(product + "(6, 'BORRACHA', -3, 1, 3)");
        const QString movement = "insert into TMOVIMENTACAO (CODIGO, TIPO, PRODUTO, QUANTIDADE, "
                                 "PRECO_TOTAL, DATA) values ";
        exec(movement + "(1, 'ENTRADA', 1, 4, 10, '2024-03-01')");
        exec(movement + "(2, 'ENTRADA', 2, 2, 10, '2024-01-15')");
        exec(movement + "(3, 'ENTRADA', 1, 6, 10, '2024-03-01')");
        exec(movement + "(4, 'ENTRADA', 2, 9, 10, '1999-05-05')");
        exec(movement + "(5, 'SAIDA', 1, 1, 10, '2024-02-10')");
    }
    void TearDown() override {
        window.reset();
        DataModuleTest::TearDown();
    }

    TFGraficos* open() {
        window = std::make_unique<TFGraficos>();
        testing_support::activate(window.get());
        return window.get();
    }
    // As a person picking the item from the list.
    static void choose(ui::DBLookupComboBox* list, const QString& text) {
        const int row = list->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        list->setCurrentIndex(row);
        emit list->activated(row);
    }
    static std::vector<std::pair<QString, double>> slices(TFGraficos* w) {
        std::vector<std::pair<QString, double>> shown;
        for (QPieSlice* s : w->Series1->slices())
            shown.emplace_back(s->label(), std::round(s->percentage() * 10000) / 100);
        return shown;
    }
    static std::vector<Point> points(TFGraficos* w) {
        std::vector<Point> shown;
        for (const QPointF& p : w->PieSeries1->upperSeries()->points())
            shown.push_back({QDateTime::fromMSecsSinceEpoch(qint64(p.x())).date(), p.y()});
        return shown;
    }

    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<TFGraficos> window;
};

TEST_F(Charts, PieOfGroupSubgroupAndAllWithTheirTitles) {
    auto* w = open();
    using Shown = std::vector<std::pair<QString, double>>;
    // Only stock above zero gets a slice: shares are of 60 in all.
    EXPECT_EQ(w->pieChart()->title(), "Produtos no Estoque");
    EXPECT_EQ(slices(w), (Shown{{"GUARANÁ 8,33 %", 8.33},
                                {"COLA 25 %", 25},
                                {"SUCO DE UVA 50 %", 50},
                                {"CADERNO 16,67 %", 16.67}}));
    EXPECT_EQ(w->PieSeries1->upperSeries()->count(), 0) << "the area waits for its first refresh";

    choose(w->DBLookupComboBox1, "BEBIDAS");
    EXPECT_EQ(w->pieChart()->title(), "Produtos do Grupo: BEBIDAS");
    EXPECT_EQ(slices(w),
              (Shown{{"GUARANÁ 10 %", 10}, {"COLA 30 %", 30}, {"SUCO DE UVA 60 %", 60}}));

    choose(w->DBLookupComboBox2, "SUCOS");
    EXPECT_EQ(w->pieChart()->title(), "Produtos do Grupo: BEBIDAS e do Subgrupo: SUCOS");
    EXPECT_EQ(slices(w), (Shown{{"SUCO DE UVA 100 %", 100}}));

    // A subgroup of another group charts that group, and the group list says so.
    choose(w->DBLookupComboBox2, "CADERNOS");
    EXPECT_EQ(w->pieChart()->title(), "Produtos do Grupo: PAPELARIA e do Subgrupo: CADERNOS");
    EXPECT_EQ(w->DBLookupComboBox1->currentText(), "PAPELARIA");
    EXPECT_EQ(slices(w), (Shown{{"CADERNO 100 %", 100}}));

    w->btnSelecionarTodos1->click();
    EXPECT_EQ(w->pieChart()->title(), "Produtos do Estoque");
    EXPECT_EQ(slices(w).size(), 4u);
    EXPECT_EQ(w->QProdutos->sql(), (QStringList{"select TPRODUTO.DESCRICAO ",
                                                "  , TPRODUTO.ESTOQUEATUAL ", "from TPRODUTO "}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_TRUE(dialogs.errors().empty());
}

TEST_F(Charts, LeavingTheGroupListNarrowsTheSubgroupsUntilTheWindowCloses) {
    auto* w = open();
    EXPECT_EQ(w->DBLookupComboBox2->count(), 3);
    testing_support::focus(w->DBLookupComboBox1);
    choose(w->DBLookupComboBox1, "BEBIDAS");
    testing_support::focus(w->btnSelecionarTodos1);
    EXPECT_EQ(dm->TBSUBGRUPO->filter(), "GRUPO='2'");
    EXPECT_EQ(w->DBLookupComboBox2->count(), 2);
    w->btnSair1->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(dm->TBSUBGRUPO->filtered());
    EXPECT_EQ(dm->TBSUBGRUPO->recordCount(), 3);
}

TEST_F(Charts, AreaPointsAndTitlePerChoice) {
    struct Case {
        int tipo;
        QString product;
        QString start;
        QString title;
        std::vector<Point> points;
        int marked = 0; // points of a single date, an area of no width, are marked one by one
    };
    const QDate mar1(2024, 3, 1), jan15(2024, 1, 15), feb10(2024, 2, 10), old(1999, 5, 5);
    const QString period = ". No período de 01/01/2000 à 31/12/2050";
    const Case cases[] = {
        {0, {}, "01/01/2000", "Entradas do Produto: " + period, {{jan15, 2}, {mar1, 4}, {mar1, 6}}},
        {1, {}, "01/01/2000", "Saídas do Produto: " + period, {{feb10, 1}}, 1},
        // Two entries on one day are two points at that date.
        {0,
         "GUARANÁ",
         "01/01/2000",
         "Entradas do Produto: GUARANÁ" + period,
         {{mar1, 4}, {mar1, 6}},
         2},
        // With a date cleared every date counts, still drawn oldest first.
        {0,
         {},
         "",
         "Entradas do Produto: . No período de   /  /     à 31/12/2050",
         {{old, 9}, {jan15, 2}, {mar1, 4}, {mar1, 6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        auto* w = open();
        w->RGTipo->setItemIndex(c.tipo);
        if (!c.product.isEmpty())
            choose(w->DBLookupComboBox5, c.product);
        w->txtDataInicial->setText(c.start);
        w->btnBuscar2->click();
        EXPECT_EQ(w->areaChart()->title(), c.title);
        EXPECT_EQ(points(w), c.points);
        auto* marks = w->areaChart()->findChild<QScatterSeries*>(QStringLiteral("marcas"));
        EXPECT_EQ(marks ? marks->count() : 0, c.marked);
        EXPECT_EQ(w->QMovimentacoes->sql().contains(" order by TMOVIMENTACAO.DATA  "),
                  !c.start.isEmpty());
    }
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

// Many products of long names: the pie has no more slices than its legend shows, the legend names
// each whole, and the largest slices carry a mark, shortened to the room it has.
TEST_F(Charts, ALongListFitsTheLegendAndTheLargestSlicesAreMarked) {
    exec("execute block as declare i integer = 10; begin while (i < 54) do begin insert into "
         "TPRODUTO (CODIGO, DESCRICAO, ESTOQUEATUAL) values (:i, 'PRODUTO DE NOME BEM COMPRIDO "
         "NUMERO ' || :i, 10 + mod(:i * 37, 200)); i = i + 1; end end");
    auto* w = open();
    EXPECT_EQ(w->windowTitle(), "Gráficos do Estoque");
    w->resize(800, 600);
    QCoreApplication::processEvents();
    const QList<QPieSlice*> shown = w->Series1->slices();
    const std::size_t capacity = legendCapacity(w->pieChart());
    ASSERT_LT(capacity, 48u) << "the test needs more products than the legend holds";
    EXPECT_EQ(std::size_t(shown.size()), capacity);
    EXPECT_TRUE(shown.back()->label().startsWith("Outros ("));
    double sum = 0;
    for (QPieSlice* slice : shown)
        sum += slice->percentage();
    EXPECT_NEAR(sum, 1, 1e-9);
    for (QLegendMarker* marker : w->pieChart()->legend()->markers(w->Series1))
        EXPECT_FALSE(marker->label().contains(QChar(0x2026))) << marker->label().toStdString();
    QList<QPieSlice*> largest = shown;
    std::stable_sort(largest.begin(), largest.end(),
                     [](QPieSlice* a, QPieSlice* b) { return a->value() > b->value(); });
    EXPECT_TRUE(largest[0]->isLabelVisible()) << largest[0]->label().toStdString();
    EXPECT_TRUE(largest[0]->label().endsWith(" %"));
}

TEST_F(Charts, TheTypeGroupAndTheProductListRefreshAtOnce) {
    auto* w = open();
    QTest::mouseClick(w->RGTipo->button(1), Qt::LeftButton);
    EXPECT_TRUE(w->areaChart()->title().startsWith("Saídas do Produto: "));
    EXPECT_EQ(w->PieSeries1->upperSeries()->count(), 1);
    choose(w->DBLookupComboBox5, "COLA");
    EXPECT_TRUE(w->areaChart()->title().startsWith("Saídas do Produto: COLA."));
    EXPECT_EQ(w->PieSeries1->upperSeries()->count(), 0);
}

TEST_F(Charts, AnInvalidDateLeavesTheChartEmptyAndUntitled) {
    auto* w = open();
    w->btnBuscar2->click();
    ASSERT_EQ(w->PieSeries1->upperSeries()->count(), 3);
    for (auto [edit, message] : {std::pair{w->txtDataInicial, "Data inicial inválida!"},
                                 std::pair{w->txtDataFinal, "Data final inválida!"}}) {
        const QString good = edit->text();
        edit->setText("31/02/2024");
        dialogs.clear();
        w->btnBuscar2->click();
        EXPECT_EQ(dialogs.messages(), QStringList{QString::fromUtf8(message)});
        EXPECT_EQ(w->areaChart()->title(), "");
        EXPECT_EQ(w->PieSeries1->upperSeries()->count(), 0);
        EXPECT_FALSE(w->TBMovimentacoes->active());
        EXPECT_EQ(QApplication::focusWidget(), edit);
        edit->setText(good);
    }
    EXPECT_TRUE(dialogs.errors().empty());
}

TEST_F(Charts, KeysMoveAndEnterInTheEndDateRefreshes) {
    auto* w = open();
    w->PageControl1->setCurrentWidget(w->TabSheet2);
    using testing_support::press;
    testing_support::focus(w->DBLookupComboBox5);
    press(w->DBLookupComboBox5, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), w->txtDataInicial);
    EXPECT_EQ(w->DBLookupComboBox5->currentIndex(), -1) << "Down moves on, it picks nothing";
    press(w->txtDataInicial, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->txtDataFinal);
    press(w->txtDataFinal, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->txtDataFinal);
    EXPECT_EQ(w->PieSeries1->upperSeries()->count(), 3);
    press(w->txtDataFinal, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), w->txtDataInicial);
    press(w->txtDataInicial, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), w->DBLookupComboBox5);
}

TEST_F(Charts, SavesAWhiteBitmapUnderTheChosenName) {
    QTemporaryDir dir;
    auto* w = open();
    w->btnBuscar2->click();
    struct Case {
        QPushButton* button;
        QString chosen;
        QString written;
    };
    const Case cases[] = {
        {w->btnSalvar1, dir.filePath("estoque"), dir.filePath("estoque.bmp")},
        {w->btnSalvar2, dir.filePath("movimentos.bmp"), dir.filePath("movimentos.bmp")},
        {w->btnSalvar2, dir.filePath("MOV.BMP"), dir.filePath("MOV.BMP")},
    };
    for (const Case& c : cases) {
        dialogs.chooseFile(c.chosen);
        c.button->click();
        QImageReader reader(c.written);
        EXPECT_EQ(reader.format(), "bmp") << c.written.toStdString();
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << c.written.toStdString();
        EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);

    dialogs.chooseFile(""); // cancelled
    w->btnSalvar1->click();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);

    const QString nowhere = dir.filePath("nao-existe/grafico");
    dialogs.chooseFile(nowhere);
    w->btnSalvar1->click();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].contains(nowhere + ".bmp"));
    EXPECT_TRUE(dialogs.errors().empty());
}

TEST_F(Charts, PrintsThroughAPreviewAndTheMenuOpensTheWindow) {
    auto* w = open();
    bool previewed = false;
    dialogs.onModal("PrintPreview", [&](QDialog*) { previewed = true; });
    w->btnImprimir1->click();
    EXPECT_TRUE(previewed);
    EXPECT_TRUE(w->isVisible());
    window.reset();

    TFMenu menu;
    bool opened = false;
    dialogs.onModal("FGraficos", [&](QDialog* shown) {
        opened = FGraficos == shown;
        EXPECT_EQ(static_cast<TFGraficos*>(shown)->pieChart()->title(), "Produtos no Estoque");
    });
    menu.GrficosdeMovimentaeseEstoque1Click();
    EXPECT_TRUE(opened);
    EXPECT_EQ(FGraficos, nullptr);
}

TEST(StockSlices, ThinSlicesFoldIntoOneTrueOutrosOnlyWhenMany) {
    data::ClientDataSet products;
    data::FieldDef description, stock;
    description.name = "DESCRICAO";
    description.size = 50;
    stock.name = "ESTOQUEATUAL";
    stock.kind = data::FieldKind::Float;
    products.addField(description);
    products.addField(stock);
    products.createDataSet();
    const auto add = [&](const QString& name, double stock) {
        products.insert();
        products.field("DESCRICAO").setValue(name);
        products.field("ESTOQUEATUAL").setValue(stock);
        products.post();
    };
    add("GRANDE", 970);
    for (int i = 0; i < kMaxThinSlices; ++i)
        add(QString("P%1").arg(i), 1);
    // As many thin slices as may be drawn: each keeps its own.
    EXPECT_EQ(stockSlices(products, "DESCRICAO", "ESTOQUEATUAL").size(), 11u);
    for (int i = kMaxThinSlices; i < 30; ++i)
        add(QString("P%1").arg(i), 1);
    // Now too many: the largest products keep theirs, the rest are one slice of their true sum.
    const std::vector<PieSlice> folded = stockSlices(products, "DESCRICAO", "ESTOQUEATUAL");
    ASSERT_EQ(folded.size(), std::size_t(kKeptLargest) + 1);
    EXPECT_EQ(folded[0].label, "GRANDE");
    EXPECT_DOUBLE_EQ(folded[0].percent, 97);
    EXPECT_EQ(folded[1].label, "P0");
    EXPECT_EQ(sliceText(folded.back()), "Outros (21 produtos) 2,1 %");
    double sum = 0;
    for (const PieSlice& slice : folded)
        sum += slice.percent;
    EXPECT_NEAR(sum, 100, 1e-9);
}

TEST(MovementPoints, ManyMovementsDrawOnePointPerDateAtItsHighest) {
    const QDate d1(2024, 1, 1), d2(2024, 1, 2);
    using P = MovementPoint;
    const std::vector<P> drawn =
        drawnPoints({{d1, 4}, {d1, 6}, {d2, 5}, {d2, 9}, {d2, 1}, {d2, 7}, {d2, 3}, {d2, 8}});
    std::vector<std::pair<QDate, double>> seen;
    for (const P& p : drawn)
        seen.emplace_back(p.date, p.quantity);
    EXPECT_EQ(seen, (std::vector<std::pair<QDate, double>>{{d1, 6}, {d2, 9}}));
}

TEST(StockSlices, NoMoreSlicesThanTheLegendNames) {
    std::vector<PieSlice> products;
    for (int i = 1; i <= 30; ++i)
        products.push_back({QString("P%1").arg(i), double(i), 0, 1});
    struct Case {
        std::size_t most, slices;
        QString last;
    };
    for (const Case& c : {Case{40, 30, "P30 6,45 %"}, Case{30, 30, "P30 6,45 %"},
                          Case{10, 10, "Outros (21 produtos) 49,68 %"},
                          Case{2, 2, "Outros (29 produtos) 93,55 %"}}) {
        const std::vector<PieSlice> slices = pieSlices(products, c.most);
        ASSERT_EQ(slices.size(), c.slices) << c.most;
        EXPECT_EQ(sliceText(slices.back()), c.last) << c.most;
        if (c.slices < products.size()) { // the largest keep theirs, in their order
            EXPECT_EQ(slices.front().label, QString("P%1").arg(32 - c.slices)) << c.most;
        }
    }
}

TEST(MovementAxis, DateLabelsNeitherRepeatNorRunTogether) {
    const QDate day(2024, 3, 1);
    struct Case {
        int days;
        double width;
        int ticks;
    };
    for (const Case& c : {Case{1, 800, 2}, Case{4, 800, 5}, Case{1000, 800, 11}, Case{1000, 200, 3},
                          Case{1000, 10, 2}})
        EXPECT_EQ(dateTickCount(day, day.addDays(c.days), c.width, 57), c.ticks)
            << c.days << " days over " << c.width;
}

TEST(BitmapFileName, AddsTheExtensionOnlyWhenMissing) {
    for (auto [chosen, written] : {std::pair{"a", "a.bmp"},
                                   {"a.bmp", "a.bmp"},
                                   {"a.BMP", "a.BMP"},
                                   {"a.bmp.txt", "a.bmp.txt.bmp"},
                                   {"/tmp/x.png", "/tmp/x.png.bmp"}})
        EXPECT_EQ(bitmapFileName(chosen), written);
}

} // namespace
