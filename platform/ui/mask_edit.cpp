#include "platform/ui/mask_edit.h"
#include "platform/ui/text_validator.h"
#include <QFocusEvent>
#include <QMouseEvent>

namespace ui {

MaskEdit::MaskEdit(QWidget* parent) : QLineEdit(parent) {}

void MaskEdit::setEditMask(const QString& editMask) {
    editMask_ = editMask;
    const InputMask converted = convertEditMask(editMask);
    blankText_ = converted.blankText;
    setInputMask(converted.qtMask);
}

void MaskEdit::setCharCase(CharCase charCase) {
    charCase_ = charCase;
    textValidator(this)->setCharCase(charCase);
}

QString MaskEdit::text() const {
    if (inputMask().isEmpty() || echoMode() != Normal)
        return QLineEdit::text();
    // The display shows every place, typed or blank; blanks read as spaces.
    const QChar blank = inputMask().back();
    QString shown = displayText();
    shown.replace(blank, QLatin1Char(' '));
    return shown;
}

bool MaskEdit::isBlank() const {
    return inputMask().isEmpty() ? QLineEdit::text().isEmpty() : text() == blankText_;
}

void MaskEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (event->reason() == Qt::MouseFocusReason)
        selectOnRelease_ = true; // the click would place the cursor after this
    else if (event->reason() != Qt::PopupFocusReason)
        selectAll();
}

void MaskEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (selectOnRelease_ && !hasSelectedText())
        selectAll();
    selectOnRelease_ = false;
}

} // namespace ui
