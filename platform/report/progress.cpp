#include "platform/report/progress.h"
#include <QCoreApplication>
#include <QLocale>
#include <QProgressDialog>
#include <QWidget>

namespace report {

namespace {
constexpr qint64 kShowAfterMs = 400;
constexpr qint64 kUpdateEveryMs = 100;
} // namespace

Progress::Progress(QWidget* parent, const QString& label, int maximum)
    : parent_(parent), label_(label), maximum_(maximum) {
    started_.start();
}

Progress::~Progress() {
    delete dialog_;
}

bool Progress::step(int done) {
    if (cancelled_)
        return false;
    const qint64 now = started_.elapsed();
    if (now < kShowAfterMs || now - lastUpdate_ < kUpdateEveryMs)
        return true;
    lastUpdate_ = now;
    if (!dialog_) {
        dialog_ = new QProgressDialog(parent_);
        dialog_->setObjectName(QStringLiteral("ReportProgress"));
        dialog_->setWindowTitle(QCoreApplication::applicationName());
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setCancelButtonText(QStringLiteral("Cancelar"));
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setRange(0, maximum_);
        dialog_->setMinimumWidth(360);
        // Placed before it shows, so it appears once, centred over its window (without a
        // window manager it would first appear at the screen's corner).
        dialog_->adjustSize();
        if (parent_)
            dialog_->move(parent_->window()->frameGeometry().center() - dialog_->rect().center());
        dialog_->show();
    }
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    dialog_->setLabelText(
        maximum_ > 0 ? label_ : QStringLiteral("%1 (%2)").arg(label_, brazil.toString(done)));
    if (maximum_ > 0)
        dialog_->setValue(std::min(done, maximum_));
    QCoreApplication::processEvents();
    if (dialog_->wasCanceled())
        cancelled_ = true;
    return !cancelled_;
}

} // namespace report
