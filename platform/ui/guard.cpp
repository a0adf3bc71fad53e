#include "platform/ui/guard.h"
#include "platform/data/errors.h"
#include "platform/ui/dialogs.h"
#include <QApplication>
#include <QDebug>

namespace ui {

ErrorText describeException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const data::DataError& e) {
        return {e.message(), e.detail()};
    } catch (const std::exception& e) {
        return {QString::fromUtf8(e.what()), {}};
    } catch (...) {
        return {QStringLiteral("Ocorreu um erro inesperado."), {}};
    }
}

void showException(std::exception_ptr error) noexcept {
    const ErrorText shown = describeException(error);
    try {
        dialogs().error(QApplication::activeWindow(), shown.text, shown.detail);
    } catch (...) {
        // The error box itself failed (a test script refusing it, say): never throw from here.
        qCritical().noquote() << "Erro:" << shown.text << shown.detail;
    }
}

} // namespace ui
