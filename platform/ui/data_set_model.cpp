#include "platform/ui/data_set_model.h"
#include "platform/data/data_source.h"

namespace ui {

DataSetModel::DataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

data::ClientDataSet* DataSetModel::dataSet() const {
    return source_ ? source_->dataSet() : nullptr;
}

void DataSetModel::setDataSource(data::DataSource* source) {
    for (const auto& link : links_)
        disconnect(link);
    links_.clear();
    source_ = source;
    if (source) {
        using data::DataSource;
        links_ << connect(source, &DataSource::dataSetChanged, this, &DataSetModel::reset);
        links_ << connect(source, &DataSource::dataSetReplaced, this, &DataSetModel::reset);
        links_ << connect(source, &DataSource::stateChanged, this,
                          &DataSetModel::currentRowChanged);
        links_ << connect(source, &DataSource::recordChanged, this,
                          &DataSetModel::currentRowChanged);
        links_ << connect(source, &QObject::destroyed, this, &DataSetModel::reset);
        links_ << connect(source, &DataSource::rowsAboutToArrive, this,
                          [this](int position, int count) {
                              beginInsertRows({}, position, position + count - 1);
                          });
        links_ << connect(source, &DataSource::rowsArrived, this, [this] { endInsertRows(); });
    }
    reset();
}

void DataSetModel::setColumns(std::vector<GridColumn> columns) {
    wanted_ = std::move(columns);
    reset();
}

void DataSetModel::reset() {
    beginResetModel();
    shown_.clear();
    fieldIndexes_.clear();
    if (data::ClientDataSet* ds = dataSet()) {
        if (wanted_.empty()) {
            for (const auto& f : ds->fields())
                shown_.push_back({f->name(), {}, 0});
        } else {
            shown_ = wanted_;
        }
        for (GridColumn& column : shown_) {
            const data::Field* f = ds->findField(column.fieldName);
            fieldIndexes_.push_back(f ? f->index() : -1);
            if (f && column.title.isEmpty())
                column.title = f->def().label();
        }
    }
    endResetModel();
}

void DataSetModel::currentRowChanged() {
    const data::ClientDataSet* ds = dataSet();
    if (!ds || ds->recNo() < 0 || ds->recNo() >= rowCount() || shown_.empty())
        return;
    emit dataChanged(index(ds->recNo(), 0), index(ds->recNo(), int(shown_.size()) - 1));
}

int DataSetModel::fieldIndex(int column) const {
    return column >= 0 && column < int(fieldIndexes_.size()) ? fieldIndexes_[column] : -1;
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    const data::ClientDataSet* ds = dataSet();
    // A table still being read shows the rows read so far; the rest are inserted as they come.
    return parent.isValid() || !ds || !ds->active() ? 0 : ds->rowsRead();
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

QVariant DataSetModel::cellValue(int row, int fieldIndex) const {
    data::ClientDataSet* ds = dataSet();
    // The record under edit is not stored yet: its row shows the edited values.
    const bool edited = ds->state() == data::DataSetState::Edit && row == ds->recNo();
    return edited ? ds->field(fieldIndex).value() : ds->valueAt(row, fieldIndex);
}

QVariant DataSetModel::lookupText(const GridLookup& lookup, int row) const {
    const data::Field* source = dataSet()->findField(lookup.sourceField);
    const data::Field* result =
        lookup.dataSet ? lookup.dataSet->findField(lookup.resultField) : nullptr;
    if (!source || !result)
        return {};
    const QVariant key = cellValue(row, source->index());
    if (key.isNull())
        return {};
    return data::Field::displayText(
        result->def(), lookup.dataSet->lookup(lookup.keyField, key, lookup.resultField));
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    data::ClientDataSet* ds = dataSet();
    if (!ds || !index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const GridLookup& lookup = shown_[index.column()].lookup;
    if (!lookup.sourceField.isEmpty())
        return role == Qt::DisplayRole ? lookupText(lookup, index.row()) : QVariant();
    const int field = fieldIndex(index.column());
    if (field < 0)
        return {};
    const data::FieldDef& def = ds->field(field).def();
    if (role == Qt::TextAlignmentRole) {
        if (shown_[index.column()].alignment)
            return QVariant::fromValue(Qt::AlignVCenter | shown_[index.column()].alignment);
        const bool number =
            def.kind == data::FieldKind::Integer || def.kind == data::FieldKind::Float;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    // The edit role too: an editable combo box completes typed text from it.
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return data::Field::displayText(def, cellValue(index.row(), field));
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < int(shown_.size()))
        return shown_[section].title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace ui
