#pragma once
// Event handlers never let an exception reach Qt: each one runs through runGuarded, which shows
// whatever was thrown in the application's error box and lets the command stop there.
#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace ui {

// The text the error box shows for an exception: a data error's message (its detail apart), a
// standard exception's what(), or a generic sentence for anything else.
struct ErrorText {
    QString text;
    QString detail;
};
ErrorText describeException(std::exception_ptr error);

// Shows the exception in the default error box (ui::dialogs().error), over the active window.
void showException(std::exception_ptr error) noexcept;

// Runs fn; when it throws, shows the error and returns false.
template <typename Fn> bool runGuarded(Fn&& fn) noexcept {
    try {
        std::forward<Fn>(fn)();
        return true;
    } catch (...) {
        showException(std::current_exception());
        return false;
    }
}

namespace detail {
// A handler takes either the signal's arguments or none; a member function gets its object.
template <typename Receiver, typename Slot, typename... Args>
void invokeHandler(Receiver* receiver, Slot& slot, Args&&... args) {
    if constexpr (std::is_member_function_pointer_v<Slot>) {
        if constexpr (std::is_invocable_v<Slot&, Receiver*, Args...>)
            std::invoke(slot, receiver, std::forward<Args>(args)...);
        else
            std::invoke(slot, receiver);
    } else if constexpr (std::is_invocable_v<Slot&, Args...>) {
        std::invoke(slot, std::forward<Args>(args)...);
    } else {
        std::invoke(slot);
    }
}
} // namespace detail

// QObject::connect through the guard: the handler (a lambda or a member function of receiver)
// runs inside runGuarded. The connection ends when sender or receiver is destroyed.
template <typename Sender, typename Signal, typename Receiver, typename Slot>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, Receiver* receiver,
                                       Slot slot) {
    return QObject::connect(sender, signal, receiver, [receiver, slot](auto&&... args) mutable {
        runGuarded(
            [&] { detail::invokeHandler(receiver, slot, std::forward<decltype(args)>(args)...); });
    });
}

} // namespace ui
