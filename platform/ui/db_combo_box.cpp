#include "platform/ui/db_combo_box.h"
#include "platform/data/client_dataset.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/field_link.h"
#include "platform/ui/guard.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace ui {

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent), link_(new FieldLink(this)) {
    setEditable(true);
    setInsertPolicy(NoInsert);
    setCompleter(nullptr); // completing would write another value than the one typed
    connect(link_, &FieldLink::changed, this, &DBComboBox::refresh);
    connect(link_, &FieldLink::updateRecord, this, &DBComboBox::updateRecord);
    connect(lineEdit(), &QLineEdit::textEdited, this, &DBComboBox::userEdited);
    connect(this, &QComboBox::activated, this, &DBComboBox::userChose);
    refresh();
}

void DBComboBox::setDataSource(data::DataSource* source) {
    link_->setDataSource(source);
}
data::DataSource* DBComboBox::dataSource() const {
    return link_->dataSource();
}
void DBComboBox::setDataField(const QString& name) {
    link_->setFieldName(name);
}
const QString& DBComboBox::dataField() const {
    return link_->fieldName();
}
data::Field* DBComboBox::field() const {
    return link_->field();
}
void DBComboBox::setAutoEdit(bool on) {
    link_->setAutoEdit(on);
    refresh();
}

void DBComboBox::setItems(const QStringList& items) {
    clear();
    addItems(items);
    refresh();
}

void DBComboBox::setCharCase(CharCase charCase) {
    setValidator(charCase == CharCase::Upper ? new UpperCaseValidator(this) : nullptr);
}

void DBComboBox::refresh() {
    data::Field* f = field();
    lineEdit()->setReadOnly(!link_->canModify());
    const QString shown = f ? f->editText() : QString();
    setCurrentIndex(findText(shown, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    setEditText(shown);
    pending_ = false;
}

void DBComboBox::userEdited() {
    if (link_->editing() || link_->beginEdit())
        pending_ = true;
    else
        refresh();
}

void DBComboBox::userChose(int) {
    const QString chosenText = currentText();
    if (!link_->beginEdit()) {
        refresh();
        return;
    }
    if (runGuarded([&] { field()->setAsString(chosenText); }))
        emit chosen();
    else
        refresh();
}

void DBComboBox::keyPressEvent(QKeyEvent* event) {
    if (FieldLink::isEditingKey(event) && field() && !link_->beginEdit())
        return;
    QComboBox::keyPressEvent(event);
}

void DBComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (leavesControl(event) && link_->writeOnExit([this] { updateRecord(); }))
        emit exited();
}

void DBComboBox::updateRecord() {
    data::Field* f = field();
    if (!pending_ || !f || !link_->editing())
        return;
    f->setAsString(currentText());
    pending_ = false;
}

} // namespace ui
