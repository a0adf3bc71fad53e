#pragma once
// A combo box bound to one text field, offering a fixed list of values; a value typed by hand
// is taken as well. Choosing from the list writes the field at once; typed text is written when
// the user leaves the box or the record is posted.
#include "platform/ui/char_case.h"
#include <QComboBox>

namespace data {
class DataSource;
class Field;
} // namespace data

namespace ui {

class FieldLink;

class DBComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget* parent = nullptr);

    void setDataSource(data::DataSource* source);
    data::DataSource* dataSource() const;
    void setDataField(const QString& name);
    const QString& dataField() const;
    data::Field* field() const;
    void setItems(const QStringList& items);
    void setCharCase(CharCase charCase);
    void setAutoEdit(bool on);

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

    FieldLink* link_;
    bool pending_ = false;
};

} // namespace ui
