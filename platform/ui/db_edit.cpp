#include "platform/ui/db_edit.h"
#include "platform/data/client_dataset.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/field_link.h"
#include <QFocusEvent>
#include <QKeyEvent>

namespace ui {

DBEdit::DBEdit(QWidget* parent) : MaskEdit(parent), link_(new FieldLink(this)) {
    connect(link_, &FieldLink::changed, this, &DBEdit::refresh);
    connect(link_, &FieldLink::updateRecord, this, &DBEdit::updateRecord);
    connect(this, &QLineEdit::textEdited, this, &DBEdit::userEdited);
    refresh();
}

void DBEdit::setDataSource(data::DataSource* source) {
    link_->setDataSource(source);
}
data::DataSource* DBEdit::dataSource() const {
    return link_->dataSource();
}
void DBEdit::setDataField(const QString& name) {
    link_->setFieldName(name);
}
const QString& DBEdit::dataField() const {
    return link_->fieldName();
}
data::Field* DBEdit::field() const {
    return link_->field();
}
void DBEdit::setAutoEdit(bool on) {
    link_->setAutoEdit(on);
    refresh();
}
bool DBEdit::autoEdit() const {
    return link_->autoEdit();
}

void DBEdit::refresh() {
    data::Field* f = field();
    const QString mask = f ? f->def().editMask : QString();
    if (mask != editMask())
        setEditMask(mask);
    const bool limited = f && f->kind() == data::FieldKind::Text && f->def().size > 0;
    const int length = limited ? f->def().size : 32767;
    if (mask.isEmpty() && maxLength() != length)
        setMaxLength(length); // resets the text and selection, even when unchanged
    setReadOnly(!link_->canModify());

    const QString shown = !f ? QString() : link_->editing() ? f->editText() : f->displayText();
    const bool same = shown == text() || (shown.isEmpty() && isBlank());
    if (!same) {
        const bool wholeSelected =
            hasFocus() && selectionStart() == 0 && selectionLength() == displayText().size();
        setText(shown);
        if (wholeSelected)
            selectAll();
    }
    pending_ = false;
}

void DBEdit::userEdited() {
    if (link_->editing() || link_->beginEdit())
        pending_ = true;
    else
        refresh(); // the field cannot take it: show its value again
}

void DBEdit::keyPressEvent(QKeyEvent* event) {
    if (FieldLink::isEditingKey(event) && field() && !link_->editing()) {
        if (!link_->beginEdit())
            return;
        refresh(); // the edit text replaces the display text before the key applies
    }
    MaskEdit::keyPressEvent(event);
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    MaskEdit::focusOutEvent(event);
    if (leavesControl(event) && link_->writeOnExit([this] { updateRecord(); }))
        emit exited();
}

void DBEdit::updateRecord() {
    data::Field* f = field();
    if (!pending_ || !f || !link_->editing())
        return;
    if (!editMask().isEmpty() && isBlank())
        f->clear();
    else
        f->setAsString(text());
    pending_ = false;
}

} // namespace ui
