#pragma once
// A read-only grid over a dataset's visible rows that selects whole rows. The selected row and
// the dataset's current record stay the same both ways: clicking a row moves the dataset, and
// moving the dataset selects its row.
#include "platform/ui/data_set_model.h"
#include <QTableView>

namespace ui {

class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);

    void setDataSource(data::DataSource* source);
    data::DataSource* dataSource() const;
    // No columns: every field, titled by its display label.
    void setColumns(std::vector<GridColumn> columns);
    DataSetModel* dataSetModel() const { return model_; }

signals:
    void gridDoubleClicked();
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void showCurrentRecord();
    void rowChosen(const QModelIndex& current);
    void applyWidths();

    DataSetModel* model_;
    bool following_ = false;
};

} // namespace ui
