#pragma once
// The on-screen preview: opens maximised with the page as wide as the window, lays out only the
// pages the user reaches (the first at once), and moves with Page Up/Down, the arrow keys, Home
// and End. Zoom with the buttons or Ctrl and +/-. Prints through the system's dialog, saves a PDF.
#include "platform/report/run.h"
#include <QDialog>
#include <list>
#include <map>

class QLabel;
class QPushButton;
class QScrollArea;

namespace report {

class PageView;

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    PreviewWindow(Report& report, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    int pageCount() const { return run_.pageCount(); }
    int currentPage() const { return current_; } // from 0
    void showPage(int index);                    // clamps
    double zoom() const { return zoom_; }        // 1 = the page as wide as the window
    void setZoom(double zoom);
    const Page& page(int index); // laid out on first use and kept while recently used

    QPushButton* btnImprimir;
    QPushButton* btnSalvarPdf;
    QPushButton* btnFechar;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateView();
    // Scrolls within a tall page first; at its end the key moves to the next page.
    void scrollOrTurn(int direction);

    Report& report_;
    Run run_;
    int current_ = 0;
    double zoom_ = 1.0;
    std::map<int, Page> cache_;
    std::list<int> recent_; // most recently used first
    QScrollArea* scroll_;
    PageView* view_;
    QLabel* pageLabel_;
    QPushButton* first_;
    QPushButton* prior_;
    QPushButton* next_;
    QPushButton* last_;
};

// Shows the report's preview modally (through the dialogs service) until the user closes it.
void preview(Report& report, QWidget* parent);

} // namespace report
