#include "platform/ui/db_radio_group.h"
#include "platform/data/client_dataset.h"
#include "platform/ui/field_link.h"
#include "platform/ui/guard.h"
#include <QButtonGroup>
#include <QRadioButton>

namespace ui {

DBRadioGroup::DBRadioGroup(QWidget* parent) : RadioGroup(parent), FieldBinding(this) {
    connect(link(), &FieldLink::changed, this, &DBRadioGroup::refresh);
    auto* group = findChild<QButtonGroup*>();
    connect(group, &QButtonGroup::idClicked, this, &DBRadioGroup::userClicked);
    refresh();
}

void DBRadioGroup::setValues(const QStringList& values) {
    values_ = values;
    refresh();
}

QString DBRadioGroup::value(int index) const {
    return values_.isEmpty() ? items().value(index) : values_.value(index);
}

void DBRadioGroup::refresh() {
    const data::Field* f = field();
    const QString stored = f ? f->asString() : QString();
    int index = 0;
    while (f && index < items().size() && value(index) != stored)
        ++index;
    setItemIndex(f && index < items().size() ? index : -1);
}

void DBRadioGroup::userClicked(int index) {
    if (!link()->beginEdit() || !runGuarded([&] { field()->setAsString(value(index)); }))
        refresh(); // the field cannot take it: show its value again
}

} // namespace ui
