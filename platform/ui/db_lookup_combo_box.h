#pragma once
// A list of another dataset's rows (listField shown) from which the user picks one; its
// keyField value is stored into the bound field. The list follows its dataset (filters,
// refreshes, new rows) and choosing an item also positions the list's dataset on that row.
// Unbound (no data source), it only positions the list's dataset and keeps the chosen key.
#include "platform/ui/field_link.h"
#include <QComboBox>
#include <QHash>
#include <QVariant>

namespace ui {

class DataSetModel;
class DBLookupComboBox : public QComboBox, public FieldBinding {
    Q_OBJECT
public:
    explicit DBLookupComboBox(QWidget* parent = nullptr);

    void setListSource(data::DataSource* source);
    data::DataSource* listSource() const;
    void setKeyField(const QString& name);
    const QString& keyField() const { return keyField_; }
    void setListField(const QString& name);
    const QString& listField() const { return listField_; }

    // The key of the item shown (null when none); setting it shows that item without writing.
    QVariant keyValue() const;
    void setKeyValue(const QVariant& key);

signals:
    void chosen(); // the user chose an item: the field and the list's dataset are updated
    void exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    data::ClientDataSet* listDataSet() const;
    int listKeyIndex() const;
    int rowOfKey(const QVariant& key) const;
    void indexArrivedRows(int first, int last);
    void refresh();
    void userChose(int row);

    DataSetModel* list_;
    // Row of each integer key, built when first needed after the list changed: the list may hold
    // every product, and the bound record may move often.
    mutable QHash<qint64, int> rowByKey_;
    mutable bool rowsIndexed_ = false;
    QString keyField_;
    QString listField_;
    QVariant unboundKey_;
};

} // namespace ui
