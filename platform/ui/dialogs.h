#pragma once
// Every message box, question, error box, file dialog and modal show of a window goes through
// this one service, so that tests can answer them (ScriptedDialogs) instead of a person.
#include <QString>

class QDialog;
class QWidget;

namespace ui {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A plain message, captioned with the application's title.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // A Yes/No question with the question icon; true only when the answer is Yes.
    virtual bool question(QWidget* parent, const QString& caption, const QString& text) = 0;
    // The default error box: what went wrong, and optionally the technical detail.
    virtual void error(QWidget* parent, const QString& text, const QString& detail = {}) = 0;
    // A file chosen by the user, or "" when the dialog was cancelled. filter uses Qt's syntax
    // ("Bitmaps (*.bmp)"); fileName is the suggested name or starting folder.
    virtual QString openFile(QWidget* parent, const QString& caption, const QString& filter = {},
                             const QString& fileName = {}) = 0;
    virtual QString saveFile(QWidget* parent, const QString& caption, const QString& filter = {},
                             const QString& fileName = {}) = 0;
    virtual QString choosePicture(QWidget* parent, const QString& filter) = 0;
    // Shows the window modally and returns its result once it is closed.
    virtual int showModal(QDialog* window) = 0;
};

// The service in use: the real dialogs unless another was installed.
Dialogs& dialogs();
// Installs a service (not owned); nullptr puts the real dialogs back.
void setDialogs(Dialogs* service);

} // namespace ui
