#pragma once
// A multi-line text box bound to one field; Enter starts a new line. Writes its text into the
// field when the user leaves it or when the record is posted.
#include "platform/ui/field_link.h"
#include <QPlainTextEdit>

namespace ui {

class DBMemo : public QPlainTextEdit, public FieldBinding {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    // Writes the text into the field now; throws data::FieldError when it does not fit.
    void updateRecord();

signals:
    void exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void refresh();
    void userEdited();

    bool loading_ = false;
    bool pending_ = false;
};

} // namespace ui
