// The grid over a dataset: a sound model, columns as asked, and the selected row and the
// dataset's current record kept the same whichever side moves.
#include "platform/ui/db_grid.h"
#include "widget_fixture.h"
#include <QAbstractItemModelTester>
#include <QHeaderView>

namespace {

class DBGridTest : public fixture::UiTest {
protected:
    void SetUp() override {
        makeProducts(50);
        grid = add(new ui::DBGrid, "DBGrid1");
        grid->setDataSource(&source);
    }
    int selectedRow() const {
        const auto rows = grid->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows[0].row() : -1;
    }
    ui::DBGrid* grid = nullptr;
};

TEST_F(DBGridTest, ModelIsSoundThroughFilteringEditingAndClosing) {
    QAbstractItemModelTester tester(grid->dataSetModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    products.setFilter("CODIGO <= 10");
    products.setFiltered(true);
    products.edit();
    products.field("DESCRICAO").setAsString("NOVO");
    products.post();
    products.insert();
    products.field("CODIGO").setValue(99);
    products.post();
    products.close();
    EXPECT_EQ(grid->model()->rowCount(), 0);
}

TEST_F(DBGridTest, ColumnsTitlesAndDisplayTexts) {
    auto* model = grid->model();
    EXPECT_EQ(model->columnCount(), 5); // every field by default
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Descrição");

    grid->setColumns({{"PRECO", "Preço", 120}, {"CODIGO", {}, 0}});
    ASSERT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Preço");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "CODIGO");
    EXPECT_EQ(grid->columnWidth(0), 120);
    EXPECT_EQ(model->data(model->index(2, 0)).toString(), "R$ 4,50");
    EXPECT_EQ(model->data(model->index(2, 1)).toString(), "3");

    products.edit(); // the record under edit shows its edited value before it is posted
    products.field("PRECO").setValue(7.0);
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), "R$ 7,00");
}

TEST_F(DBGridTest, SelectedRowAndCurrentRecordFollowEachOther) {
    EXPECT_EQ(selectedRow(), 0);

    products.moveTo(30); // the dataset moves: the grid selects its row
    EXPECT_EQ(selectedRow(), 30);

    // The user clicks a row: the dataset moves to it.
    const QModelIndex row7 = grid->model()->index(7, 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(row7).center());
    EXPECT_EQ(products.recNo(), 7);
    EXPECT_EQ(products.field("CODIGO").asInteger(), 8);

    testing_support::focus(grid);
    testing_support::press(grid, Qt::Key_Down);
    EXPECT_EQ(products.recNo(), 8);

    // Filtering keeps the current record where it stays visible.
    products.setFilter("CODIGO >= 5 AND CODIGO <= 12");
    products.setFiltered(true);
    EXPECT_EQ(selectedRow(), products.recNo());
    EXPECT_EQ(products.field("CODIGO").asInteger(), 9);
}

TEST_F(DBGridTest, DoubleClickAndEnterAreSignalled) {
    int doubleClicks = 0, enters = 0;
    QObject context;
    QObject::connect(grid, &ui::DBGrid::gridDoubleClicked, &context, [&] { ++doubleClicks; });
    QObject::connect(grid, &ui::DBGrid::enterPressed, &context, [&] { ++enters; });
    const QPoint row3 = grid->visualRect(grid->model()->index(3, 0)).center();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row3);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(products.recNo(), 3); // the record double-clicked is the current one
    testing_support::press(grid, Qt::Key_Return);
    EXPECT_EQ(enters, 1);
}

} // namespace
