#pragma once
// A read-only table model over a dataset's visible rows, one column per chosen field. Rows are
// read from the dataset when the view asks for them (only what is on screen), so a dataset of a
// million rows costs nothing to show. The record under edit shows its edited values.
#include <QAbstractTableModel>
#include <QPointer>
#include <vector>

namespace data {
class ClientDataSet;
class DataSource;
struct FieldDef;
} // namespace data

namespace ui {

struct GridColumn {
    QString fieldName;
    QString title; // "" takes the field's display label
    int width = 0; // pixels; 0 takes the field's display width, or the view's default
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

    QPointer<data::DataSource> source_;
    std::vector<GridColumn> wanted_;
    std::vector<GridColumn> shown_;
    std::vector<int> fieldIndexes_;
    QList<QMetaObject::Connection> links_;
};

} // namespace ui
