#include "platform/ui/db_lookup_combo_box.h"
#include "platform/data/data_source.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/data_set_model.h"
#include "platform/ui/field_link.h"
#include "platform/ui/guard.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QListView>

namespace ui {

DBLookupComboBox::DBLookupComboBox(QWidget* parent)
    : QComboBox(parent), FieldBinding(this), list_(new DataSetModel(this)) {
    setModel(list_);
    // A long list (every product) must not be measured or laid out item by item.
    setSizeAdjustPolicy(AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(10);
    if (auto* listView = qobject_cast<QListView*>(view()))
        listView->setUniformItemSizes(true);
    connect(link(), &FieldLink::changed, this, &DBLookupComboBox::refresh);
    connect(list_, &QAbstractItemModel::modelReset, this, [this] {
        rowsIndexed_ = false;
        refresh();
    });
    connect(list_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                indexArrivedRows(first, last);
                refresh();
            });
    connect(this, &QComboBox::activated, this, &DBLookupComboBox::userChose);
    refresh();
}

void DBLookupComboBox::setListSource(data::DataSource* source) {
    list_->setDataSource(source);
}
data::DataSource* DBLookupComboBox::listSource() const {
    return list_->dataSource();
}
void DBLookupComboBox::setKeyField(const QString& name) {
    keyField_ = name;
    rowsIndexed_ = false;
    refresh();
}
void DBLookupComboBox::setListField(const QString& name) {
    listField_ = name;
    list_->setColumns({{name, {}, 0}});
}

data::ClientDataSet* DBLookupComboBox::listDataSet() const {
    return list_->dataSet();
}

int DBLookupComboBox::listKeyIndex() const {
    data::ClientDataSet* ds = listDataSet();
    const data::Field* key = ds ? ds->findField(keyField_) : nullptr;
    return key ? key->index() : -1;
}

void DBLookupComboBox::indexArrivedRows(int first, int last) {
    // A table read in slices adds its rows at the end: only they need indexing. Rows that land
    // among others move every row after them.
    const int keyIndex = listKeyIndex();
    if (!rowsIndexed_ || keyIndex < 0 || last != list_->rowCount() - 1) {
        rowsIndexed_ = false;
        return;
    }
    const data::ClientDataSet* ds = listDataSet();
    for (int row = first; row <= last; ++row)
        if (const QVariant value = ds->valueAt(row, keyIndex);
            !value.isNull() && !rowByKey_.contains(value.toLongLong()))
            rowByKey_.insert(value.toLongLong(), row); // the first row wins
}

int DBLookupComboBox::rowOfKey(const QVariant& key) const {
    const int keyIndex = listKeyIndex();
    if (keyIndex < 0 || key.isNull())
        return -1;
    const data::ClientDataSet* ds = listDataSet();
    bool integral = false;
    const qint64 number = key.toLongLong(&integral);
    if (ds->fields()[keyIndex]->kind() == data::FieldKind::Integer && integral) {
        if (!rowsIndexed_) {
            rowByKey_.clear();
            for (int row = list_->rowCount() - 1; row >= 0; --row) // the first row wins
                if (const QVariant value = ds->valueAt(row, keyIndex); !value.isNull())
                    rowByKey_.insert(value.toLongLong(), row);
            rowsIndexed_ = true;
        }
        return rowByKey_.value(number, -1);
    }
    // Other keys compare as text, so that a code stored as text still names the same row.
    const QString text = key.toString();
    for (int row = 0; row < list_->rowCount(); ++row)
        if (ds->valueAt(row, keyIndex).toString() == text)
            return row;
    return -1;
}

QVariant DBLookupComboBox::keyValue() const {
    const int keyIndex = listKeyIndex();
    if (currentIndex() < 0 || keyIndex < 0)
        return {};
    return listDataSet()->valueAt(currentIndex(), keyIndex);
}

void DBLookupComboBox::setKeyValue(const QVariant& key) {
    unboundKey_ = key;
    refresh();
}

void DBLookupComboBox::refresh() {
    const bool bound = dataSource() != nullptr;
    const data::Field* f = field();
    const QVariant key = bound ? (f ? f->value() : QVariant()) : unboundKey_;
    setCurrentIndex(rowOfKey(key));
}

void DBLookupComboBox::userChose(int row) {
    data::ClientDataSet* list = listDataSet();
    const int keyIndex = listKeyIndex();
    if (!list || keyIndex < 0 || row < 0) {
        refresh();
        return;
    }
    const QVariant key = list->valueAt(row, keyIndex);
    if (dataSource()) {
        if (!link()->beginEdit() || !runGuarded([&] { field()->setValue(key); })) {
            refresh();
            return;
        }
    } else {
        unboundKey_ = key;
    }
    if (runGuarded([&] { list->moveTo(row); }))
        emit chosen();
}

void DBLookupComboBox::keyPressEvent(QKeyEvent* event) {
    // Keys that pick another item need the record under edit first.
    const bool picks = FieldLink::isEditingKey(event) || event->key() == Qt::Key_Up ||
                       event->key() == Qt::Key_Down || event->key() == Qt::Key_PageUp ||
                       event->key() == Qt::Key_PageDown || event->key() == Qt::Key_Home ||
                       event->key() == Qt::Key_End;
    if (picks && dataSource() && !link()->beginEdit())
        return;
    QComboBox::keyPressEvent(event);
}

void DBLookupComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (leavesControl(event))
        emit exited();
}

} // namespace ui
