#pragma once
// A multi-line text box bound to one field; Enter starts a new line. Writes its text into the
// field when the user leaves it or when the record is posted.
#include <QPlainTextEdit>

namespace data {
class DataSource;
class Field;
} // namespace data

namespace ui {

class FieldLink;

class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setDataSource(data::DataSource* source);
    data::DataSource* dataSource() const;
    void setDataField(const QString& name);
    const QString& dataField() const;
    data::Field* field() const;
    void setAutoEdit(bool on);

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

    FieldLink* link_;
    bool loading_ = false;
    bool pending_ = false;
};

} // namespace ui
