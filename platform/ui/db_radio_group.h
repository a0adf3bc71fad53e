#pragma once
// A radio group bound to a text field: the field holds the checked item's value (values default
// to the captions). Clicking an item writes its value at once.
#include "platform/ui/radio_group.h"

namespace data {
class DataSource;
class Field;
} // namespace data

namespace ui {

class FieldLink;

class DBRadioGroup : public RadioGroup {
    Q_OBJECT
public:
    explicit DBRadioGroup(QWidget* parent = nullptr);

    void setDataSource(data::DataSource* source);
    data::DataSource* dataSource() const;
    void setDataField(const QString& name);
    const QString& dataField() const;
    data::Field* field() const;
    void setAutoEdit(bool on);
    // The texts stored for the items, in item order; empty: the captions themselves.
    void setValues(const QStringList& values);
    QString value(int index) const;

private:
    void refresh();
    void userClicked(int index);

    FieldLink* link_;
    QStringList values_;
};

} // namespace ui
