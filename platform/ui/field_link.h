#pragma once
// What every data-aware control shares: the data source and field it is bound to, a refresh
// whenever the source's dataset opens, moves, changes state or changes this field, the flush of
// pending input when the dataset asks for it (before post), and the start of editing when the
// user changes the control while the dataset is browsing (autoEdit).
#include "platform/data/data_source.h"
#include <QObject>
#include <QPointer>
#include <functional>

class QFocusEvent;
class QKeyEvent;
class QWidget;

namespace ui {

class FieldLink : public QObject {
    Q_OBJECT
public:
    explicit FieldLink(QWidget* control);
    ~FieldLink() override;

    void setDataSource(data::DataSource* source);
    data::DataSource* dataSource() const { return source_; }
    void setFieldName(const QString& name);
    const QString& fieldName() const { return fieldName_; }
    void setAutoEdit(bool on);
    bool autoEdit() const { return autoEdit_; }

    data::ClientDataSet* dataSet() const;
    // The bound field, or nullptr when unbound, closed or unknown.
    data::Field* field() const;
    bool editing() const; // the dataset is in Edit or Insert state
    // Whether the user's input can reach the field: editing, or autoEdit can start it.
    bool canModify() const;
    // Before (or right after) the user changes the control: puts the dataset into Edit state when
    // needed. The control is not refreshed meanwhile, so what the user typed stays. Shows the
    // error and returns false when editing cannot start.
    bool beginEdit();
    // On leaving the control, writes its pending input. When the user left it (Tab, Enter, a
    // click) and the input does not fit, shows the error, keeps the focus in the control and
    // returns false. When the program moved the focus (a command such as "Cancelar" moving it to
    // a focus sink), a failed write is not an error yet: the input stays pending and post()
    // reports it if the record is still to be stored.
    bool writeOnExit(const QFocusEvent* event, const std::function<void()>& write);

    // How the control writes its pending input into the field; it throws data::FieldError when
    // the input does not fit. The data source calls it directly before every post.
    void setInputWriter(std::function<void()> write);
    void writePendingInput() const;

    // Keys that change an edit box's text (as opposed to moving in it).
    static bool isEditingKey(const QKeyEvent* event);

signals:
    void changed(); // show the field's value again

private:
    void relink();
    void notify();

    QWidget* control_;
    QPointer<data::DataSource> source_;
    QString fieldName_;
    bool autoEdit_ = true;
    bool starting_ = false;
    std::function<void()> writer_;
    QList<QMetaObject::Connection> links_;
};

// The binding every data-aware control offers, through its FieldLink.
class FieldBinding {
public:
    void setDataSource(data::DataSource* source) { link_->setDataSource(source); }
    data::DataSource* dataSource() const { return link_->dataSource(); }
    void setDataField(const QString& name) { link_->setFieldName(name); }
    const QString& dataField() const { return link_->fieldName(); }
    data::Field* field() const { return link_->field(); }
    // A change by the user while the dataset is browsing puts it into Edit state (default on).
    void setAutoEdit(bool on) { link_->setAutoEdit(on); }
    bool autoEdit() const { return link_->autoEdit(); }

protected:
    explicit FieldBinding(QWidget* control) : link_(new FieldLink(control)) {}
    FieldLink* link() const { return link_; }

private:
    FieldLink* link_;
};

// Writes what the user typed in the window's data-aware controls into their fields now, as
// post() does first (for a command that reads the fields before posting). Every control writes;
// then the first data::FieldError, if any, is thrown.
void writePendingInput(QWidget* window);

} // namespace ui
