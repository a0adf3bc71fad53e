#include "platform/ui/behaviours.h"
#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QStackedWidget>
#include <memory>
#include <optional>

namespace ui {

bool leavesControl(const QFocusEvent* event) {
    return event->reason() != Qt::ActiveWindowFocusReason &&
           event->reason() != Qt::PopupFocusReason;
}

// ---------------------------------------------------------------- key movement

namespace {

void moveFocus(QWidget* control, bool forward) {
    // The window moves its focus as for Tab, from the focused control, so that the tab order
    // and the skipping of hidden and disabled controls are Qt's own.
    QKeyEvent tab(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                  forward ? Qt::NoModifier : Qt::ShiftModifier);
    QCoreApplication::sendEvent(control->window(), &tab);
}

class KeyMovement : public QObject {
public:
    KeyMovement(QWidget* control, MoveKeys keys) : QObject(control), keys_(keys) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (modifiers != Qt::NoModifier)
            return false;
        std::optional<bool> forward;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (keys_ & MoveKey::EnterNext)
                forward = true;
            break;
        case Qt::Key_Down:
            if (keys_ & MoveKey::DownNext)
                forward = true;
            break;
        case Qt::Key_Up:
            if (keys_ & MoveKey::UpPrevious)
                forward = false;
            break;
        case Qt::Key_Backspace:
            if (keys_ & MoveKey::BackspacePrevious)
                forward = false;
            break;
        default:
            break;
        }
        if (!forward)
            return false;
        moveFocus(static_cast<QWidget*>(watched), *forward);
        return true;
    }

private:
    MoveKeys keys_;
};

class KeyClick : public QObject {
public:
    KeyClick(QWidget* control, std::initializer_list<int> keys, QAbstractButton* button)
        : QObject(control), keys_(keys), button_(button) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !button_)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier ||
            !keys_.contains(key->key()))
            return false;
        button_->click();
        return true;
    }

private:
    QList<int> keys_;
    QPointer<QAbstractButton> button_;
};

// ---------------------------------------------------------------- focus colours

void paint(QWidget* control, const QColor& colour) {
    // Only the enabled looks: a disabled control keeps the program's one disabled colour.
    QPalette palette = control->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, colour);
        if (qobject_cast<QComboBox*>(control))
            palette.setColor(group, QPalette::Button, colour); // a closed list: button colour
    }
    control->setPalette(palette);
}

class FocusColours : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* control = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::FocusIn)
            paint(control, QApplication::palette().color(QPalette::ToolTipBase));
        else if (event->type() == QEvent::FocusOut &&
                 leavesControl(static_cast<QFocusEvent*>(event)))
            paint(control, Qt::white);
        return false;
    }
};

// ---------------------------------------------------------------- hidden shortcuts

// Hidden by the window, as opposed to sitting on a tab page that is not the current one.
bool hiddenByWindow(const QWidget* button) {
    for (const QWidget* w = button; w && !w->isWindow(); w = w->parentWidget()) {
        if (w->isHidden() && !qobject_cast<const QStackedWidget*>(w->parentWidget()))
            return true;
    }
    return false;
}

class HiddenShortcut : public QAction {
public:
    HiddenShortcut(QWidget* window, QAbstractButton* button) : QAction(window), button_(button) {
        connect(this, &QAction::triggered, this, [this] {
            if (ready())
                button_->click();
        });
    }
    bool ready() const { return button_ && button_->isEnabled() && !hiddenByWindow(button_); }

private:
    QPointer<QAbstractButton> button_;
};

// Focused controls claim some keys before shortcuts see them (an edit box takes Shift+Del as
// "cut"). While a window's hidden shortcut is ready for a key, the control's claim is refused.
class ShortcutPrecedence : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
            return false;
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (QAction* action : static_cast<QWidget*>(watched)->window()->actions()) {
            auto* shortcut = dynamic_cast<HiddenShortcut*>(action);
            if (shortcut && shortcut->isEnabled() && shortcut->shortcut() == pressed &&
                shortcut->ready()) {
                event->ignore();
                return true;
            }
        }
        return false;
    }
};

void ensureShortcutPrecedence() {
    static ShortcutPrecedence* filter = nullptr;
    if (!filter && qApp) {
        filter = new ShortcutPrecedence(qApp);
        qApp->installEventFilter(filter);
    }
}

} // namespace

void attachKeyMovement(QWidget* control, MoveKeys keys) {
    control->installEventFilter(new KeyMovement(control, keys));
}

void attachKeyClick(QWidget* control, std::initializer_list<int> keys, QAbstractButton* button) {
    control->installEventFilter(new KeyClick(control, keys, button));
}

void attachFocusColours(QWidget* control) {
    paint(control, control->hasFocus() ? QApplication::palette().color(QPalette::ToolTipBase)
                                       : QColor(Qt::white));
    control->installEventFilter(new FocusColours(control));
}

void setHandCursor(QWidget* control) {
    control->setCursor(Qt::PointingHandCursor);
}

QAction* addShortcut(QWidget* window, const QKeySequence& key, QAbstractButton* button,
                     const QString& name) {
    ensureShortcutPrecedence();
    auto* action = new HiddenShortcut(window, button);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

void keepEditText(QComboBox* list) {
    QAbstractItemModel* rows = list->model();
    auto kept = std::make_shared<std::optional<QString>>();
    // The combo box answers each change first (it was connected when the model was set), so the
    // text is taken before and put back after it.
    const auto keep = [list, kept] {
        if (!*kept)
            *kept = list->currentText();
    };
    const auto putBack = [list, kept] {
        if (!*kept)
            return;
        const QString text = **kept;
        kept->reset();
        if (list->currentText() == text)
            return;
        list->setCurrentIndex(-1);
        list->setEditText(text);
    };
    QObject::connect(rows, &QAbstractItemModel::modelAboutToBeReset, list, keep);
    QObject::connect(rows, &QAbstractItemModel::modelReset, list, putBack);
    QObject::connect(rows, &QAbstractItemModel::rowsAboutToBeInserted, list, keep);
    QObject::connect(rows, &QAbstractItemModel::rowsInserted, list, putBack);
    QObject::connect(rows, &QAbstractItemModel::rowsAboutToBeRemoved, list, keep);
    QObject::connect(rows, &QAbstractItemModel::rowsRemoved, list, putBack);
}

} // namespace ui
