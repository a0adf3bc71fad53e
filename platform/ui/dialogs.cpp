#include "platform/ui/dialogs.h"
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace ui {

namespace {

QString applicationTitle() {
    return QGuiApplication::applicationDisplayName();
}

class QtDialogs final : public Dialogs {
public:
    void message(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
        box.exec();
    }

    bool question(QWidget* parent, const QString& caption, const QString& text) override {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                        parent);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }

    void error(QWidget* parent, const QString& text, const QString& detail) override {
        QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, parent);
        box.setInformativeText(detail);
        box.exec();
    }

    QString openFile(QWidget* parent, const QString& caption, const QString& filter,
                     const QString& fileName) override {
        return QFileDialog::getOpenFileName(parent, caption, fileName, filter);
    }

    QString saveFile(QWidget* parent, const QString& caption, const QString& filter,
                     const QString& fileName) override {
        return QFileDialog::getSaveFileName(parent, caption, fileName, filter);
    }

    QString choosePicture(QWidget* parent, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, {}, {}, filter);
    }

    int showModal(QDialog* window) override { return window->exec(); }
};

QtDialogs realDialogs;
Dialogs* current = &realDialogs;

} // namespace

Dialogs& dialogs() {
    return *current;
}

void setDialogs(Dialogs* service) {
    current = service ? service : &realDialogs;
}

} // namespace ui
