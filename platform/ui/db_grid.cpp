#include "platform/ui/db_grid.h"
#include "platform/data/data_source.h"
#include "platform/ui/guard.h"
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace ui {

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), model_(new DataSetModel(this)) {
    setModel(model_);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    // Fixed row heights: the view never measures rows it does not show.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        showCurrentRecord();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &DBGrid::rowChosen);
}

void DBGrid::setDataSource(data::DataSource* source) {
    if (auto* old = model_->dataSource())
        disconnect(old, nullptr, this, nullptr);
    model_->setDataSource(source);
    if (source)
        connect(source, &data::DataSource::scrolled, this, &DBGrid::showCurrentRecord);
    showCurrentRecord();
}

data::DataSource* DBGrid::dataSource() const {
    return model_->dataSource();
}

void DBGrid::setColumns(std::vector<GridColumn> columns) {
    model_->setColumns(std::move(columns));
}

void DBGrid::applyWidths() {
    const auto& columns = model_->columns();
    data::ClientDataSet* ds = model_->dataSet();
    for (int c = 0; c < int(columns.size()); ++c) {
        int width = columns[c].width;
        const int field = model_->fieldIndex(c);
        if (width <= 0 && ds && field >= 0 && ds->field(field).def().displayWidth > 0)
            width = ds->field(field).def().displayWidth * fontMetrics().averageCharWidth() + 8;
        if (width > 0)
            setColumnWidth(c, width);
    }
}

void DBGrid::showCurrentRecord() {
    data::ClientDataSet* ds = model_->dataSet();
    const int row = ds ? ds->recNo() : -1;
    QScopedValueRollback guard(following_, true);
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clearSelection();
        return;
    }
    const int column = std::max(currentIndex().column(), 0);
    const QModelIndex target = model_->index(row, column);
    if (target != currentIndex())
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
    scrollTo(target);
}

void DBGrid::rowChosen(const QModelIndex& current) {
    data::ClientDataSet* ds = model_->dataSet();
    if (following_ || !ds || !current.isValid() || current.row() == ds->recNo())
        return;
    // Moving posts a record under edit; when that fails the selection goes back.
    if (!runGuarded([&] { ds->moveTo(current.row()); }))
        showCurrentRecord();
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // Anywhere in the grid, its empty space too: an empty list must not leave the user stuck.
    QTableView::mouseDoubleClickEvent(event);
    emit gridDoubleClicked();
}

} // namespace ui
