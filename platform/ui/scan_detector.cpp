#include "platform/ui/scan_detector.h"
#include "platform/ui/guard.h"
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace ui {

namespace {

QLineEdit* editOf(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit;
    if (auto* list = qobject_cast<QComboBox*>(control))
        return list->lineEdit();
    return nullptr;
}

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

} // namespace

ScanDetector::ScanDetector(QWidget* scope) : QObject(scope), scope_(scope) {
    // Keys go to the focused control, not to the window: only the application sees them all.
    qApp->installEventFilter(this);
}

bool ScanDetector::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    // A key travels from the focused control up to its parents; it counts once, at the control,
    // or at the window when none of its controls has the focus (a window browsing, its fields
    // disabled: the application's focus may then still be in the window underneath).
    QWidget* focused = QApplication::focusWidget();
    const bool atControl = receiver == focused;
    const bool atWindow = receiver->isWindow() && (!focused || focused->window() != receiver);
    if (!atControl && !atWindow)
        return false;
    if (receiver != scope_ && !scope_->isAncestorOf(receiver))
        return false;
    return keyPressed(receiver, static_cast<QKeyEvent*>(event));
}

bool ScanDetector::keyPressed(QWidget* receiver, const QKeyEvent* key) {
    if (isModifierKey(key->key()))
        return false; // a scanner holds Shift for capitals
    // The time is the event's own, taken when the key was struck: keys that waited while the
    // program was busy still show a person's pace. An event without one cannot be timed.
    const qint64 now = qint64(key->timestamp());
    const bool inBurst =
        !code_.isEmpty() && now > 0 && now - lastKey_ <= kLongestPauseMs && now >= lastKey_;
    const Qt::KeyboardModifiers modifiers =
        key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    const int k = key->key();
    // Scanners end a code with Enter, Tab, or a line feed, as they are set up.
    const bool ending = k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Tab ||
                        key->text() == QLatin1String("\n");
    if (ending && !modifiers) {
        if (!inBurst || code_.size() < kShortestCode) {
            forget();
            return false;
        }
        const QString code = code_.trimmed();
        if (edit_ && edit_->text() != textBefore_) {
            edit_->setText(textBefore_);
            edit_->setCursorPosition(cursorBefore_);
        }
        forget();
        if (!code.isEmpty())
            runGuarded([&] { emit scanned(code); });
        return true;
    }
    const QString text = key->text();
    if (now <= 0 || key->isAutoRepeat() || modifiers || text.size() != 1 || !text.at(0).isPrint()) {
        forget();
        return false;
    }
    if (!inBurst) {
        forget();
        edit_ = editOf(receiver);
        if (edit_) {
            textBefore_ = edit_->text();
            cursorBefore_ = edit_->cursorPosition();
        }
    }
    code_ += text;
    lastKey_ = now;
    return false;
}

void ScanDetector::forget() {
    code_.clear();
    edit_.clear();
    textBefore_.clear();
    lastKey_ = 0;
}

} // namespace ui
