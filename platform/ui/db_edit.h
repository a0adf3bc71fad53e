#pragma once
// An edit box bound to one field: shows the field's display text while browsing and its edit
// text while the record is under edit, takes its length and edit mask from the field, and writes
// what was typed into the field when the user leaves it or when the record is posted.
#include "platform/ui/field_link.h"
#include "platform/ui/mask_edit.h"

namespace ui {

class DBEdit : public MaskEdit, public FieldBinding {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    // Writes the typed text into the field now (an empty mask writes an empty value). Throws
    // data::FieldError when the text does not fit the field; the record is then unchanged.
    void updateRecord();
    bool hasPendingText() const { return pending_; }

signals:
    void exited(); // the user left the control and its text was written

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void refresh();
    void userEdited();
    void tellRounding(const data::Field& f);

    bool pending_ = false;
};

} // namespace ui
