#include "platform/ui/form.h"
#include "platform/ui/guard.h"
#include <QCloseEvent>
#include <QKeyEvent>

namespace ui {

Form::Form(QWidget* parent, const QString& name) : QDialog(parent) {
    setObjectName(name);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void Form::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

void Form::closeEvent(QCloseEvent* event) {
    if (!runGuarded([this] { FormClose(); })) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Form::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        return;
    QDialog::keyPressEvent(event);
}

} // namespace ui
