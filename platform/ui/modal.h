#pragma once
// The one way a window opens another: a new instance owned by the caller, shown modally
// through the dialogs service, and dropped when it closes. The window's global reference is
// set while it is open and cleared with it, even when a preset or the window throws.
#include "platform/ui/dialogs.h"
#include <QScopeGuard>
#include <memory>

class QWidget;

namespace ui {

template <typename Window, typename Presets>
int openModal(QWidget* owner, Window*& global, Presets presets) {
    auto window = std::make_unique<Window>(owner);
    global = window.get();
    const auto forget = qScopeGuard([&global] { global = nullptr; });
    presets(window.get());
    return dialogs().showModal(window.get());
}

template <typename Window> int openModal(QWidget* owner, Window*& global) {
    return openModal(owner, global, [](Window*) {});
}

// For a window without a global reference of its own.
template <typename Window, typename Presets> int openModal(QWidget* owner, Presets presets) {
    Window* window = nullptr;
    return openModal(owner, window, presets);
}

} // namespace ui
