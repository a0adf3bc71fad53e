#pragma once
// An edit box with an edit mask written as the designers write it ("!99/99/0000;1;_"), optional
// upper case, and the whole text selected when it takes the focus, so that typing always starts
// afresh at the first place.
#include "platform/ui/char_case.h"
#include "platform/ui/edit_mask.h"
#include <QLineEdit>

namespace ui {

class MaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskEdit(QWidget* parent = nullptr);

    void setEditMask(const QString& editMask); // "" removes the mask
    const QString& editMask() const { return editMask_; }
    void setCharCase(CharCase charCase);
    CharCase charCase() const { return charCase_; }

    // The text as the mask shows it, with blanks as spaces: an empty date mask reads
    // "  /  /    " (QLineEdit::text() would drop the blanks). Without a mask, the plain text.
    QString text() const;
    // True when nothing was typed in any of the mask's places (or the text is empty).
    bool isBlank() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString editMask_;
    QString blankText_;
    CharCase charCase_ = CharCase::Normal;
    bool selectOnRelease_ = false;
};

} // namespace ui
