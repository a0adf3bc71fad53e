#include "platform/ui/field_link.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/guard.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QWidget>

namespace ui {

FieldLink::FieldLink(QWidget* control) : QObject(control), control_(control) {}

FieldLink::~FieldLink() {
    if (source_)
        source_->removeInputWriter(this);
}

void FieldLink::setDataSource(data::DataSource* source) {
    if (source_ && source_ != source)
        source_->removeInputWriter(this);
    source_ = source;
    relink();
}

void FieldLink::setFieldName(const QString& name) {
    fieldName_ = name;
    notify();
}

void FieldLink::setAutoEdit(bool on) {
    autoEdit_ = on;
    notify();
}

void FieldLink::relink() {
    for (const auto& link : links_)
        disconnect(link);
    links_.clear();
    if (source_) {
        source_->addInputWriter(this, [this] { writePendingInput(); });
        using data::DataSource;
        for (auto signal : {&DataSource::dataSetChanged, &DataSource::scrolled,
                            &DataSource::stateChanged, &DataSource::dataSetReplaced})
            links_ << connect(source_, signal, this, &FieldLink::notify);
        links_ << connect(source_, &DataSource::recordChanged, this, [this](data::Field* f) {
            if (!f || f->name().compare(fieldName_, Qt::CaseInsensitive) == 0)
                notify();
        });
        links_ << connect(source_, &QObject::destroyed, this, &FieldLink::notify);
    }
    notify();
}

void FieldLink::notify() {
    if (!starting_)
        emit changed();
}

data::ClientDataSet* FieldLink::dataSet() const {
    return source_ ? source_->dataSet() : nullptr;
}

data::Field* FieldLink::field() const {
    data::ClientDataSet* ds = dataSet();
    return ds && ds->active() && !fieldName_.isEmpty() ? ds->findField(fieldName_) : nullptr;
}

bool FieldLink::editing() const {
    data::ClientDataSet* ds = dataSet();
    return ds &&
           (ds->state() == data::DataSetState::Edit || ds->state() == data::DataSetState::Insert);
}

bool FieldLink::canModify() const {
    if (!field())
        return false;
    return editing() || (autoEdit_ && !dataSet()->isEmpty());
}

bool FieldLink::beginEdit() {
    if (editing())
        return true;
    if (!canModify())
        return false;
    QScopedValueRollback guard(starting_, true);
    return runGuarded([this] { dataSet()->edit(); }) && editing();
}

bool FieldLink::writeOnExit(const QFocusEvent* event, const std::function<void()>& write) {
    if (!leavesControl(event))
        return false;
    try {
        write();
        return true;
    } catch (...) {
        if (event->reason() == Qt::OtherFocusReason)
            return false; // moved by the program: the input stays pending
        control_->setFocus();
        showException(std::current_exception());
        return false;
    }
}

void FieldLink::setInputWriter(std::function<void()> write) {
    writer_ = std::move(write);
}

void FieldLink::writePendingInput() const {
    if (writer_)
        writer_();
}

bool FieldLink::isEditingKey(const QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo) ||
        event->matches(QKeySequence::DeleteEndOfWord) ||
        event->matches(QKeySequence::DeleteStartOfWord))
        return true;
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    return !event->text().isEmpty() && event->text()[0].isPrint() &&
           !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

void writePendingInput(QWidget* window) {
    std::vector<std::function<void()>> steps;
    for (FieldLink* link : window->findChildren<FieldLink*>())
        steps.push_back([link] { link->writePendingInput(); });
    data::runAll(steps);
}

} // namespace ui
