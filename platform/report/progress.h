#pragma once
// Feedback for long work on the user-interface thread: a window-modal progress window that
// appears only once the work has taken longer than a moment, keeps the window painted and lets
// the user cancel.
#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

namespace report {

class Progress {
public:
    // maximum 0: the amount of work is not known (rows being read); the label then counts.
    Progress(QWidget* parent, const QString& label, int maximum = 0);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Reports how far the work is; false once the user has asked to cancel.
    bool step(int done);
    bool cancelled() const { return cancelled_; }

private:
    QWidget* parent_;
    QString label_;
    int maximum_;
    QElapsedTimer started_;
    qint64 lastUpdate_ = 0;
    QPointer<QProgressDialog> dialog_;
    bool cancelled_ = false;
};

} // namespace report
