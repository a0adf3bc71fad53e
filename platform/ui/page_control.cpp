#include "platform/ui/page_control.h"

namespace ui {

PageControl::PageControl(QWidget* parent) : QTabWidget(parent) {}

int PageControl::addPage(QWidget* page, const QString& caption) {
    return addTab(page, caption);
}

void PageControl::setPageVisible(QWidget* page, bool visible) {
    setTabVisible(indexOf(page), visible);
}

bool PageControl::pageVisible(QWidget* page) const {
    return isTabVisible(indexOf(page));
}

void PageControl::setActivePage(QWidget* page) {
    setCurrentWidget(page);
}

QWidget* PageControl::page(const QString& name) const {
    for (int i = 0; i < count(); ++i)
        if (widget(i)->objectName() == name)
            return widget(i);
    return nullptr;
}

} // namespace ui
