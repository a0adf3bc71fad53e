#include "platform/ui/db_memo.h"
#include "platform/data/client_dataset.h"
#include "platform/ui/field_link.h"
#include "platform/ui/text_validator.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace ui {

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent), FieldBinding(this) {
    connect(link(), &FieldLink::changed, this, &DBMemo::refresh);
    link()->setInputWriter([this] { updateRecord(); });
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::userEdited);
    refresh();
}

void DBMemo::refresh() {
    data::Field* f = field();
    setReadOnly(!link()->canModify());
    const QString shown = f ? f->editText() : QString();
    if (shown != toPlainText()) {
        QScopedValueRollback guard(loading_, true);
        setPlainText(shown);
    }
    pending_ = false;
}

void DBMemo::userEdited() {
    if (loading_)
        return;
    // No more can be typed (or pasted) than the column holds: the excess is dropped at once.
    const data::Field* f = field();
    if (f && f->kind() == data::FieldKind::Text && f->def().size > 0 &&
        data::characterCount(toPlainText()) > f->def().size) {
        QScopedValueRollback guard(loading_, true);
        setPlainText(firstCharacters(toPlainText(), f->def().size));
        moveCursor(QTextCursor::End);
    }
    if (link()->editing() || link()->beginEdit())
        pending_ = true;
    else
        refresh();
}

void DBMemo::keyPressEvent(QKeyEvent* event) {
    const bool changesText = FieldLink::isEditingKey(event) || event->key() == Qt::Key_Return ||
                             event->key() == Qt::Key_Enter;
    if (changesText && field() && !link()->beginEdit())
        return;
    QPlainTextEdit::keyPressEvent(event);
}

void DBMemo::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (link()->writeOnExit(event, [this] { updateRecord(); }))
        emit exited();
}

void DBMemo::updateRecord() {
    data::Field* f = field();
    if (!pending_ || !f || !link()->editing())
        return;
    f->setAsString(toPlainText());
    pending_ = false;
}

} // namespace ui
