// A large table read a slice at a time while the event loop turns: what is shown before the end
// is never taken for the whole, rows stored meanwhile come once and in their place, and the
// cache ends as a whole read would leave it.
#include "platform/data/data_source.h"
#include "platform/data/text_order.h"
#include "platform/ui/data_set_model.h"
#include "platform/ui/db_lookup_combo_box.h"
#include "tests/support/program_folder.h"
#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <algorithm>
#include <functional>

using namespace data;
using testing_support::DataModuleTest;

namespace {

constexpr int kRows = 2000; // codes 1..2000; the odd ones entries, the even ones exits
constexpr int kSlice = 100;

class DataSetSlices : public DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        exec(QStringLiteral(
                 "execute block as declare i integer = 1; begin while (i <= %1) do "
                 "begin insert into TMOVIMENTACAO (CODIGO, PRODUTO, QUANTIDADE, TIPO) "
                 "values (:i, mod(:i, 7), 1, trim(iif(mod(:i, 2) = 1, 'ENTRADA', 'SAIDA'))); "
                 "i = i + 1; end end")
                 .arg(kRows));
        movements = dm->TBMOVIMENTACAO;
        movements->close();
        movements->setReadInSlices(true, kSlice);
    }
    // Codes of the visible rows, in view order, without reading more.
    std::vector<int> shownCodes() const {
        std::vector<int> codes;
        const int code = movements->field(QStringLiteral("CODIGO")).index();
        for (int i = 0; i < movements->rowsRead(); ++i)
            codes.push_back(movements->valueAt(i, code).toInt());
        return codes;
    }
    static std::vector<int> codesUpTo(int last, int step = 1, int from = 1) {
        std::vector<int> codes;
        for (int c = from; c <= last; c += step)
            codes.push_back(c);
        return codes;
    }
    void turnEventLoopUntilWhole() {
        for (int i = 0; i < 10 * kRows / kSlice && !movements->wholeRead(); ++i)
            QCoreApplication::processEvents();
        ASSERT_TRUE(movements->wholeRead());
    }
    int currentCode() { return movements->field(QStringLiteral("CODIGO")).asInteger(); }

    ClientDataSet* movements = nullptr;
};

TEST_F(DataSetSlices, OpeningShowsTheFirstRowsAndTheEventLoopReadsTheRest) {
    movements->open();
    EXPECT_FALSE(movements->wholeRead());
    EXPECT_EQ(movements->rowsRead(), kSlice);
    EXPECT_EQ(currentCode(), 1);
    QCoreApplication::processEvents();
    EXPECT_GT(movements->rowsRead(), kSlice);
    turnEventLoopUntilWhole();
    EXPECT_EQ(shownCodes(), codesUpTo(kRows));
}

// Each answer about the whole table is the whole table's, asked on a freshly opened dataset.
TEST_F(DataSetSlices, AnswersAboutEveryRowReadTheRestFirst) {
    struct Case {
        const char* what;
        std::function<void()> ask;
        std::function<void()> check;
    };
    bool found = true;
    const Case cases[] = {
        {"count", [] {}, [&] { EXPECT_EQ(movements->recordCount(), kRows); }},
        {"last", [&] { movements->last(); }, [&] { EXPECT_EQ(currentCode(), kRows); }},
        {"locate beyond the rows read",
         [&] { found = movements->locate(QStringLiteral("CODIGO"), kRows - 1); },
         [&] {
             EXPECT_TRUE(found);
             EXPECT_EQ(currentCode(), kRows - 1);
         }},
        {"locate of no row",
         [&] { found = movements->locate(QStringLiteral("CODIGO"), kRows + 1); },
         [&] {
             EXPECT_FALSE(found);
             EXPECT_TRUE(movements->wholeRead());
         }},
        {"lookup beyond the rows read",
         [&] {
             found = movements->lookup(QStringLiteral("CODIGO"), kRows,
                                       QStringLiteral("PRODUTO")) == kRows % 7;
         },
         [&] { EXPECT_TRUE(found); }},
        {"move to a far position", [&] { movements->moveTo(kRows - 1); },
         [&] { EXPECT_EQ(currentCode(), kRows); }},
        {"an index",
         [&] {
             movements->addIndex(QStringLiteral("PorCodigoDesc"), QStringLiteral("CODIGO"),
                                 Descending);
             movements->setIndexName(QStringLiteral("PorCodigoDesc"));
             movements->first();
         },
         [&] { EXPECT_EQ(currentCode(), kRows); }},
        {"every row walked",
         [&] {
             int rows = 0;
             movements->forEachRow([&](const ColumnStore&, RowId) { ++rows; });
             found = rows == kRows;
         },
         [&] { EXPECT_TRUE(found); }},
        {"the connection closing", [&] { dm->SQLConnection1->close(); },
         [&] {
             EXPECT_TRUE(movements->wholeRead());
             EXPECT_EQ(movements->rowsRead(), kRows);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        movements->close();
        movements->setIndexName({});
        if (!dm->SQLConnection1->connected())
            dm->SQLConnection1->open();
        movements->open();
        ASSERT_FALSE(movements->wholeRead());
        c.ask();
        c.check();
        EXPECT_EQ(movements->recordCount(), kRows);
    }
}

TEST_F(DataSetSlices, NextReadsOnThroughAFilterToTheLastRowThatPasses) {
    // Only the last row of the table passes: the first rows read show nothing.
    movements->setFilter(QStringLiteral("CODIGO > %1").arg(kRows - 1));
    movements->setFiltered(true);
    movements->open(); // reads on until it has a row to show
    EXPECT_EQ(currentCode(), kRows);
    EXPECT_FALSE(movements->isEmpty());
    movements->next();
    EXPECT_TRUE(movements->eof());
    EXPECT_EQ(movements->recordCount(), 1);

    // A filter nothing passes is empty only once every row was read.
    movements->close();
    movements->setFilter(QStringLiteral("CODIGO > %1").arg(kRows));
    movements->open();
    EXPECT_TRUE(movements->isEmpty());
    EXPECT_TRUE(movements->wholeRead());
}

// A movement stored while the rest is read: after every row read (it is the newest), once (the
// reading's snapshot does not see it), and the window's row stays current as rows come.
TEST_F(DataSetSlices, ARowStoredWhileReadingComesOnceAfterEveryRowRead) {
    movements->setFilter(QStringLiteral("TIPO = 'ENTRADA'"));
    movements->setFiltered(true);
    movements->open();
    movements->insert();
    movements->field(QStringLiteral("CODIGO")).setValue(kRows + 1);
    movements->field(QStringLiteral("TIPO")).setValue(QStringLiteral("ENTRADA"));
    movements->post();
    movements->applyUpdates(0);
    ASSERT_TRUE(movements->locate(QStringLiteral("CODIGO"), kRows + 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(currentCode(), kRows + 1);
    turnEventLoopUntilWhole();
    EXPECT_EQ(currentCode(), kRows + 1);
    std::vector<int> expected = codesUpTo(kRows, 2);
    expected.push_back(kRows + 1);
    EXPECT_EQ(shownCodes(), expected);

    // Read again from scratch, the same rows in the same order.
    movements->close();
    movements->open();
    movements->readAll();
    EXPECT_EQ(shownCodes(), expected);
}

// Following another window's row: positioned when the row comes, unless the user moved first.
TEST_F(DataSetSlices, ALocateWhenReadWaitsForItsRowOrGivesWayToAMove) {
    movements->open();
    movements->locateWhenRead(QStringLiteral("CODIGO"), kSlice + 1);
    EXPECT_EQ(currentCode(), 1); // not read yet: nothing moved, nothing read for it
    EXPECT_EQ(movements->rowsRead(), kSlice);
    turnEventLoopUntilWhole();
    EXPECT_EQ(currentCode(), kSlice + 1);

    movements->close();
    movements->open();
    movements->locateWhenRead(QStringLiteral("CODIGO"), kRows);
    movements->next(); // the user's own move wins
    turnEventLoopUntilWhole();
    EXPECT_EQ(currentCode(), 2);

    movements->locateWhenRead(QStringLiteral("CODIGO"), 7); // read: at once
    EXPECT_EQ(currentCode(), 7);
}

// A grid over a table being read is told of every slice as rows inserted, as Qt's models must.
TEST_F(DataSetSlices, AGridModelGrowsWithEverySlice) {
    DataSource source(movements);
    ui::DataSetModel model;
    model.setDataSource(&source);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    movements->open();
    EXPECT_EQ(model.rowCount(), kSlice);
    int inserted = 0;
    QObject::connect(
        &model, &QAbstractItemModel::rowsInserted,
        [&](const QModelIndex&, int first, int last) { inserted += last - first + 1; });
    turnEventLoopUntilWhole();
    EXPECT_EQ(model.rowCount(), kRows);
    EXPECT_EQ(kSlice + inserted, kRows);
}

// Products sorted by description come from the database's own index in nearly that order: the
// first rows of the order show at once, and a row the database orders otherwise (a letter its
// index does not fold) still lands in its place while a grid and the cursor follow.
class ProductsInDescriptionOrder : public DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        // 300 plain ones, out of order by code, and a few the folding has to place.
        exec(QStringLiteral("execute block as declare i integer = 1; begin while (i <= 300) do "
                            "begin insert into TPRODUTO (CODIGO, DESCRICAO) values (:i, 'ITEM ' "
                            "|| lpad(mod(:i * 37, 300), 3, '0')); i = i + 1; end end"));
        const QStringList special = {QStringLiteral("ÁGUA MINERAL"), QStringLiteral("agua de coco"),
                                     QStringLiteral("PÃO"),          QStringLiteral("PAO DOCE"),
                                     QStringLiteral("ĀBACO"),        QStringLiteral("ÇAPATO"),
                                     QStringLiteral("item 150 b")};
        for (int i = 0; i < special.size(); ++i)
            exec(QStringLiteral("insert into TPRODUTO (CODIGO, DESCRICAO) values (%1, '%2')")
                     .arg(1000 + i)
                     .arg(special[i]));
        // After "ĀBACO" in the index, and last in the program's order too: its slice is not
        // the last one.
        exec(QStringLiteral("execute block as declare i integer = 1; begin while (i <= 60) do "
                            "begin insert into TPRODUTO (CODIGO, DESCRICAO) values (2000 + :i, "
                            "'ŽZZ ' || lpad(:i, 2, '0')); i = i + 1; end end"));
        products = dm->TBPRODUTOS;
        products->close();
        products->setReadInSlices(true, kSlice / 2);
        expected = descriptions();
        std::sort(expected.begin(), expected.end(),
                  [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
    }
    QStringList descriptions() {
        return scalar(QStringLiteral("select list(DESCRICAO, '|') from TPRODUTO"))
            .toString()
            .split('|');
    }
    QStringList shown() const {
        QStringList texts;
        const int column = products->field(QStringLiteral("DESCRICAO")).index();
        for (int i = 0; i < products->rowsRead(); ++i)
            texts << products->valueAt(i, column).toString();
        return texts;
    }
    void orderByDescription() { dm->OrdenarDataSet(products, QStringLiteral("DESCRICAO")); }
    void turnEventLoopUntilWhole(const std::function<void()>& afterEachSlice = {}) {
        for (int i = 0; i < 100 && !products->wholeRead(); ++i) {
            QCoreApplication::processEvents();
            if (afterEachSlice)
                afterEachSlice();
        }
        ASSERT_TRUE(products->wholeRead());
    }
    QString current() { return products->field(QStringLiteral("DESCRICAO")).asString(); }
    // "ĀBACO" sorts first here, but the database's index leaves its letter unfolded: it comes last.
    QStringList firstSliceShown() const {
        QStringList early = expected;
        early.removeOne(QStringLiteral("ĀBACO"));
        return early.mid(0, kSlice / 2);
    }

    ClientDataSet* products = nullptr;
    QStringList expected;
};

TEST_F(ProductsInDescriptionOrder, TheFirstRowsOfTheOrderShowAtOnceAndLateOnesLandInPlace) {
    DataSource source(products);
    ui::DataSetModel model;
    model.setDataSource(&source);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    orderByDescription();
    products->open();
    ASSERT_FALSE(products->wholeRead());
    EXPECT_EQ(shown(), firstSliceShown());
    products->moveTo(10);
    const QString chosen = current();
    turnEventLoopUntilWhole();
    EXPECT_EQ(shown(), expected);
    EXPECT_EQ(model.rowCount(), expected.size());
    EXPECT_EQ(current(), chosen) << "the cursor stays on its row as rows land before it";
}

TEST_F(ProductsInDescriptionOrder, ChosenWhileReadInTheTablesOrderItIsReadAgainAndTheRowFollowed) {
    products->open();
    products->locate(QStringLiteral("CODIGO"), 20);
    const QString chosen = current();
    ASSERT_FALSE(products->wholeRead());
    orderByDescription();
    EXPECT_FALSE(products->wholeRead()) << "read again in the index's order, not whole";
    EXPECT_EQ(shown(), firstSliceShown());
    orderByDescription(); // the same order again goes on reading
    EXPECT_FALSE(products->wholeRead());
    turnEventLoopUntilWhole(); // the chosen row is chosen again when it comes
    EXPECT_EQ(shown(), expected);
    EXPECT_EQ(current(), chosen);

    // A search over part of the order could stop at a row that a row still to come precedes.
    exec(QStringLiteral("update TPRODUTO set REFERENCIA = 'X' where DESCRICAO in ('ĀBACO', "
                        "'ITEM 000')"));
    products->close();
    products->open();
    ASSERT_TRUE(products->locate(QStringLiteral("REFERENCIA"), QStringLiteral("X")));
    EXPECT_EQ(current(), QStringLiteral("ĀBACO"));
}

// A lookup list over the products names its key's row as rows arrive: at the end, as read in the
// table's order, or among the others, as a late row of an index's order does.
TEST_F(ProductsInDescriptionOrder, ALookupListFindsItsKeysRowWhereverRowsArrive) {
    ui::DBLookupComboBox lookup;
    lookup.setListSource(dm->DSPRODUTOS);
    lookup.setKeyField(QStringLiteral("CODIGO"));
    lookup.setListField(QStringLiteral("DESCRICAO"));
    for (const bool sorted : {false, true}) {
        SCOPED_TRACE(sorted ? "in description order" : "in the table's order");
        products->close();
        products->setIndexName({});
        if (sorted)
            orderByDescription();
        products->open();
        const int early = products->field(QStringLiteral("CODIGO")).asInteger();
        lookup.setKeyValue(early);
        ASSERT_EQ(lookup.currentIndex(), 0);
        turnEventLoopUntilWhole([&] { ASSERT_EQ(lookup.keyValue().toInt(), early); });
        lookup.setKeyValue(250); // read in a later slice
        EXPECT_EQ(lookup.keyValue().toInt(), 250);
        EXPECT_EQ(lookup.currentText(),
                  products->lookup(QStringLiteral("CODIGO"), 250, QStringLiteral("DESCRICAO")));
    }
}

} // namespace
