#pragma once
// Input helpers for the tests of windows (header only: it needs Qt Test, which only the test
// programs link). They act as a person would: on shown, active windows, through key events.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <stdexcept>

namespace testing_support {

// The named child control; throws when there is none, so the test stops with its name.
template <typename T = QWidget> T* find(const QObject* parent, const QString& name) {
    T* found = parent->findChild<T*>(name);
    if (!found)
        throw std::runtime_error("no control named " + name.toStdString() + " (" +
                                 T::staticMetaObject.className() + ") in " +
                                 parent->objectName().toStdString());
    return found;
}

// Shows the window and makes it the active one, as focus and window shortcuts need.
inline void activate(QWidget* window) {
    window->show();
    window->activateWindow();
    QCoreApplication::processEvents();
}

// Gives the control the keyboard focus, as tabbing into it would; a control that has it
// already is left and entered again.
inline void focus(QWidget* control) {
    if (QApplication::activeWindow() != control->window())
        activate(control->window());
    if (control->hasFocus())
        control->clearFocus();
    control->setFocus(Qt::TabFocusReason);
}

// Types the text into the control one character at a time. Unlike QTest::keyClicks this takes
// any character (accented letters too): each one is a key event carrying its text.
// A character beyond the 16-bit range (an emoji) is one event, as a keyboard sends it.
inline void type(QWidget* control, const QString& text) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString one = text.mid(i, units);
        const auto key = units == 1 ? Qt::Key(one.at(0).toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, control, key, one, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, control, key, one, Qt::NoModifier);
        i += units;
    }
}

// Types the text into the focused control as a keyboard does, each key stamped with the moment it
// was struck (ms), `pauseMs` apart, then the `end` key `endPauseMs` later (pauseMs when negative;
// Qt::Key_unknown: none).
// A scanner keeps a few ms between keys, a person over a hundred: the stamps are the only clock
// that tells them apart, so no test waits. Returns the moment after the last key.
inline quint64 typeAtPace(QWidget* control, const QString& text, quint64 start, int pauseMs,
                          Qt::Key end = Qt::Key_Return, int endPauseMs = -1) {
    quint64 now = start;
    auto strike = [&](Qt::Key key, const QString& one) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::NoModifier, one);
            event.setTimestamp(now);
            QCoreApplication::sendEvent(control, &event);
        }
    };
    for (const QChar c : text) {
        strike(Qt::Key(c.toUpper().unicode()), QString(c));
        now += quint64(pauseMs);
    }
    now = now - quint64(pauseMs) + quint64(endPauseMs < 0 ? pauseMs : endPauseMs);
    if (end == Qt::Key_unknown)
        return now;
    strike(end, end == Qt::Key_Tab      ? QStringLiteral("\t")
                : end == Qt::Key_Return ? QStringLiteral("\r")
                                        : QStringLiteral("\n"));
    return now + quint64(pauseMs);
}

// Replaces what the edit holds by the text, as a person selecting it all and typing over does.
inline void retype(QLineEdit* edit, const QString& text) {
    focus(edit);
    edit->selectAll();
    edit->del();
    type(edit, text);
}

// Presses a key (or a key with modifiers) in the control; window shortcuts take it first,
// as they do for a person.
inline void press(QWidget* control, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(control, key, modifiers);
}

// Presses a shortcut in the window's focused control (or the window itself).
inline void press(QWidget* window, const QKeySequence& shortcut) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keySequence(target, shortcut);
}

} // namespace testing_support
