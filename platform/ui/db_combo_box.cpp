#include "platform/ui/db_combo_box.h"
#include "platform/data/client_dataset.h"
#include "platform/ui/field_link.h"
#include "platform/ui/guard.h"
#include "platform/ui/text_validator.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace ui {

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent), FieldBinding(this) {
    setEditable(true);
    setInsertPolicy(NoInsert);
    setCompleter(nullptr); // completing would write another value than the one typed
    connect(link(), &FieldLink::changed, this, &DBComboBox::refresh);
    link()->setInputWriter([this] { updateRecord(); });
    connect(lineEdit(), &QLineEdit::textEdited, this, &DBComboBox::userEdited);
    connect(this, &QComboBox::activated, this, &DBComboBox::userChose);
    refresh();
}

void DBComboBox::setItems(const QStringList& items) {
    clear();
    addItems(items);
    refresh();
}

void DBComboBox::setCharCase(CharCase charCase) {
    textValidator(lineEdit())->setCharCase(charCase);
}

void DBComboBox::refresh() {
    data::Field* f = field();
    lineEdit()->setReadOnly(!link()->canModify());
    // No more can be typed than the column holds.
    const bool limited = f && f->kind() == data::FieldKind::Text && f->def().size > 0;
    textValidator(lineEdit())->setCharacterLimit(limited ? f->def().size : 0);
    const QString shown = f ? f->editText() : QString();
    setCurrentIndex(findText(shown, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    setEditText(shown);
    pending_ = false;
}

void DBComboBox::userEdited() {
    if (link()->editing() || link()->beginEdit())
        pending_ = true;
    else
        refresh();
}

void DBComboBox::userChose(int) {
    const QString chosenText = currentText();
    if (!link()->beginEdit()) {
        refresh();
        return;
    }
    if (runGuarded([&] { field()->setAsString(chosenText); }))
        emit chosen();
    else
        refresh();
}

void DBComboBox::keyPressEvent(QKeyEvent* event) {
    if (FieldLink::isEditingKey(event) && field() && !link()->beginEdit())
        return;
    QComboBox::keyPressEvent(event);
}

void DBComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (link()->writeOnExit(event, [this] { updateRecord(); }))
        emit exited();
}

void DBComboBox::updateRecord() {
    data::Field* f = field();
    if (!pending_ || !f || !link()->editing())
        return;
    f->setAsString(currentText());
    pending_ = false;
}

} // namespace ui
