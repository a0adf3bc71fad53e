#pragma once
// A combo box bound to one text field, offering a fixed list of values; a value typed by hand
// is taken as well. Choosing from the list writes the field at once; typed text is written when
// the user leaves the box or the record is posted.
#include "platform/ui/char_case.h"
#include "platform/ui/field_link.h"
#include <QComboBox>

namespace ui {

class DBComboBox : public QComboBox, public FieldBinding {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    void setCharCase(CharCase charCase);

    // Writes the typed text into the field now; throws data::FieldError when it does not fit.
    void updateRecord();

signals:
    void chosen(); // the user chose an item from the list and it was written
    void exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void refresh();
    void userEdited();
    void userChose(int index);

    bool pending_ = false;
};

} // namespace ui
