#pragma once
// The base of the program's windows, all of which are shown modally. Show and close handlers
// run guarded; Escape does not close the window by itself (windows bind it to their own
// command, which may be disabled).
#include <QDialog>

namespace ui {

class Form : public QDialog {
    Q_OBJECT
public:
    Form(QWidget* parent, const QString& name);

protected:
    // Run each time the window is shown, and when it is closed (by close(), a command or the
    // close box). An exception in FormClose keeps the window open.
    virtual void FormShow() {}
    virtual void FormClose() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ui
