#pragma once
// A read-only table model over a dataset's visible rows, one column per chosen field. Rows are
// read from the dataset when the view asks for them (only what is on screen), so a dataset of a
// million rows costs nothing to show. The record under edit shows its edited values.
#include "platform/data/client_dataset.h"
#include <QAbstractTableModel>
#include <QPointer>
#include <vector>

namespace data {
class DataSource;
} // namespace data

namespace ui {

// A column whose value lives in another dataset: resultField of the row of dataSet whose
// keyField equals this row's sourceField (a name shown for a stored code). Read when the row is
// painted, so the other dataset may be refreshed at any time.
struct GridLookup {
    QPointer<data::ClientDataSet> dataSet;
    QString keyField;
    QString resultField;
    QString sourceField;
};

struct GridColumn {
    QString fieldName; // a lookup column's own name, which no field of the dataset carries
    QString title;     // "" takes the field's display label
    int width = 0;     // pixels; 0 takes the field's display width, or the view's default
    GridLookup lookup = {};
    Qt::Alignment alignment = {}; // none: numbers to the right, the rest to the left
};

class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSetModel(QObject* parent = nullptr);

    void setDataSource(data::DataSource* source);
    data::DataSource* dataSource() const { return source_; }
    data::ClientDataSet* dataSet() const;
    // No columns: every field of the dataset, in order.
    void setColumns(std::vector<GridColumn> columns);
    // The columns shown, with titles and field indexes resolved.
    const std::vector<GridColumn>& columns() const { return shown_; }
    int fieldIndex(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void reset();
    void currentRowChanged();
    QVariant cellValue(int row, int fieldIndex) const;
    QVariant lookupText(const GridLookup& lookup, int row) const;

    QPointer<data::DataSource> source_;
    std::vector<GridColumn> wanted_;
    std::vector<GridColumn> shown_;
    std::vector<int> fieldIndexes_;
    QList<QMetaObject::Connection> links_;
};

} // namespace ui
