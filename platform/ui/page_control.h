#pragma once
// Tab pages whose tabs can be hidden while their pages stay in place (a hidden page can still
// be made the active one by the program).
#include <QTabWidget>

namespace ui {

class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);

    // The page keeps its objectName (TabSheet1...) as its name.
    int addPage(QWidget* page, const QString& caption);
    void setPageVisible(QWidget* page, bool visible);
    bool pageVisible(QWidget* page) const;
    void setActivePage(QWidget* page);
    QWidget* activePage() const { return currentWidget(); }
    QWidget* page(int index) const { return widget(index); }
    QWidget* page(const QString& name) const;
};

} // namespace ui
