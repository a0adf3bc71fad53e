#pragma once
// A radio group bound to a text field: the field holds the checked item's value (values default
// to the captions). Clicking an item writes its value at once.
#include "platform/ui/field_link.h"
#include "platform/ui/radio_group.h"

namespace ui {

class DBRadioGroup : public RadioGroup, public FieldBinding {
    Q_OBJECT
public:
    explicit DBRadioGroup(QWidget* parent = nullptr);

    // The texts stored for the items, in item order; empty: the captions themselves.
    void setValues(const QStringList& values);
    QString value(int index) const;

private:
    void refresh();
    void userClicked(int index);

    QStringList values_;
};

} // namespace ui
