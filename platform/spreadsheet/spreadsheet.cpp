#include "platform/spreadsheet/spreadsheet.h"
#include "platform/spreadsheet/xlsx_application.h"

namespace spreadsheet {

namespace {
Factory& installed() {
    static Factory factory;
    return factory;
}
} // namespace

std::unique_ptr<Application> createApplication() {
    if (const Factory& factory = installed())
        return factory();
    return std::make_unique<XlsxApplication>();
}

void setFactory(Factory factory) {
    installed() = std::move(factory);
}

} // namespace spreadsheet
