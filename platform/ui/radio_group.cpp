#include "platform/ui/radio_group.h"
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace ui {

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this)) {
    new QGridLayout(this);
    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            emit changed();
    });
}

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : RadioGroup(parent) {
    setTitle(caption);
    columns_ = std::max(columns, 1);
    setItems(items);
}

void RadioGroup::setItems(const QStringList& items) {
    for (QAbstractButton* b : group_->buttons())
        delete b;
    items_ = items;
    for (int i = 0; i < items.size(); ++i) {
        group_->addButton(new QRadioButton(items[i], this), i);
    }
    layOut();
}

void RadioGroup::setColumns(int columns) {
    columns_ = std::max(columns, 1);
    layOut();
}

// Items fill the first column from top to bottom, then the next.
void RadioGroup::layOut() {
    auto* grid = static_cast<QGridLayout*>(layout());
    const int count = int(items_.size());
    const int rows = std::max(1, (count + columns_ - 1) / columns_);
    for (int i = 0; i < count; ++i)
        grid->addWidget(group_->button(i), i % rows, i / rows);
}

void RadioGroup::setItemIndex(int index) {
    if (index == itemIndex())
        return;
    if (QAbstractButton* b = group_->button(index)) {
        b->setChecked(true);
        return;
    }
    group_->setExclusive(false);
    for (QAbstractButton* b : group_->buttons())
        b->setChecked(false);
    group_->setExclusive(true);
    emit changed();
}

int RadioGroup::itemIndex() const {
    return group_->checkedId();
}

QRadioButton* RadioGroup::button(int index) const {
    return qobject_cast<QRadioButton*>(group_->button(index));
}

} // namespace ui
