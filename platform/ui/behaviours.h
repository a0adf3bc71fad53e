#pragma once
// Small behaviours the windows attach to their controls one by one.
#include <QFlags>
#include <QKeySequence>
#include <QString>
#include <initializer_list>

class QAbstractButton;
class QAction;
class QComboBox;
class QFocusEvent;
class QWidget;

namespace ui {

// Keys that move the focus to the next or previous control in tab order.
enum class MoveKey {
    EnterNext = 1,
    DownNext = 2,
    UpPrevious = 4,
    BackspacePrevious = 8,
};
Q_DECLARE_FLAGS(MoveKeys, MoveKey)
Q_DECLARE_OPERATORS_FOR_FLAGS(MoveKeys)

// Edit boxes: Enter or Down to the next control, Up to the previous one.
inline constexpr MoveKeys kEditMoveKeys =
    MoveKeys(MoveKey::EnterNext) | MoveKey::DownNext | MoveKey::UpPrevious;
// Lists keep Up and Down for themselves: only Enter moves on.
inline constexpr MoveKeys kListMoveKeys = MoveKeys(MoveKey::EnterNext);

void attachKeyMovement(QWidget* control, MoveKeys keys = kEditMoveKeys);

// Any of these unmodified keys in the control clicks the button instead (Enter in the last box
// confirms, Esc cancels).
void attachKeyClick(QWidget* control, std::initializer_list<int> keys, QAbstractButton* button);

// The control takes the palette's tooltip background while it has the focus, white otherwise.
void attachFocusColours(QWidget* control);

void setHandCursor(QWidget* control);

// An editable list whose rows are read again (its dataset refreshed by another window) keeps the
// text the user left in it, instead of showing the first row, which nobody chose.
void keepEditText(QComboBox* list);

// A hidden menu item of the window: the key clicks the button, but only while the button is
// enabled and not hidden (a button on a tab page that is not showing still counts). The key
// takes precedence over the focused control's own use of it (Shift+Del in an edit box).
QAction* addShortcut(QWidget* window, const QKeySequence& key, QAbstractButton* button,
                     const QString& name = {});

// Whether a focus-out means the user left the control, not that a popup or another window
// took the focus for a moment.
bool leavesControl(const QFocusEvent* event);

} // namespace ui
