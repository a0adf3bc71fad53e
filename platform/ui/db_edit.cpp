#include "platform/ui/db_edit.h"
#include "platform/data/client_dataset.h"
#include "platform/format/format.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/field_link.h"
#include "platform/ui/text_validator.h"
#include <QFocusEvent>
#include <QKeyEvent>

namespace ui {

DBEdit::DBEdit(QWidget* parent) : MaskEdit(parent), FieldBinding(this) {
    connect(link(), &FieldLink::changed, this, &DBEdit::refresh);
    link()->setInputWriter([this] { updateRecord(); });
    connect(this, &QLineEdit::textEdited, this, &DBEdit::userEdited);
    refresh();
}

void DBEdit::refresh() {
    data::Field* f = field();
    const QString mask = f ? f->def().editMask : QString();
    if (mask != editMask())
        setEditMask(mask);
    const bool limited = f && f->kind() == data::FieldKind::Text && f->def().size > 0;
    // No more can be typed than the column holds (a mask sets its own length).
    textValidator(this)->setCharacterLimit(limited && mask.isEmpty() ? f->def().size : 0);
    setReadOnly(!link()->canModify());

    const QString shown = !f ? QString() : link()->editing() ? f->editText() : f->displayText();
    const bool same = shown == text() || (shown.isEmpty() && isBlank());
    if (!same) {
        const bool wholeSelected =
            hasFocus() && selectionStart() == 0 && selectionLength() == displayText().size();
        setText(shown);
        if (wholeSelected)
            selectAll();
    }
    // A long text is read from its beginning, not where typing left it.
    if (!hasFocus() && cursorPosition() != 0)
        setCursorPosition(0);
    pending_ = false;
}

void DBEdit::userEdited() {
    if (link()->editing() || link()->beginEdit())
        pending_ = true;
    else
        refresh(); // the field cannot take it: show its value again
}

void DBEdit::keyPressEvent(QKeyEvent* event) {
    // The keypad's decimal key writes the decimal comma in a number, as a Brazilian keypad does,
    // whatever the keyboard layout sends.
    if (event->key() == Qt::Key_Period && (event->modifiers() & Qt::KeypadModifier) && field() &&
        field()->kind() == data::FieldKind::Float) {
        const QString comma = format::settings().decimalSeparator;
        QKeyEvent decimal(event->type(), Qt::Key_Comma, event->modifiers(), comma);
        keyPressEvent(&decimal);
        event->setAccepted(decimal.isAccepted());
        return;
    }
    if (FieldLink::isEditingKey(event) && field() && !link()->editing()) {
        if (!link()->beginEdit())
            return;
        refresh(); // the edit text replaces the display text before the key applies
    }
    MaskEdit::keyPressEvent(event);
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    MaskEdit::focusOutEvent(event);
    if (link()->writeOnExit(event, [this] { updateRecord(); }))
        emit exited();
}

void DBEdit::updateRecord() {
    data::Field* f = field();
    if (!pending_ || !f || !link()->editing())
        return;
    if (!editMask().isEmpty() && isBlank())
        f->clear();
    else
        f->setAsString(text());
    pending_ = false;
    tellRounding(*f);
}

void DBEdit::tellRounding(const data::Field& f) {
    // A column of so many decimals (an older database's NUMERIC) keeps the value rounded: the
    // user hears of it when it changes what was typed.
    if (f.kind() != data::FieldKind::Float || f.def().storedDecimals < 0 || f.isNull())
        return;
    const std::optional<double> typed = format::parseFloat(text());
    if (!typed || *typed == f.asFloat())
        return;
    dialogs().message(window(), QStringLiteral("O valor %1 do campo %2 foi arredondado para %3: o "
                                               "banco de dados guarda %4 casas decimais nele.")
                                    .arg(text(), f.def().label(), format::floatToStr(f.asFloat()))
                                    .arg(f.def().storedDecimals));
}

} // namespace ui
