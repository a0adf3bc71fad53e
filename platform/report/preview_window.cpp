#include "platform/report/preview_window.h"
#include "platform/report/output.h"
#include "platform/report/page_painter.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace report {

namespace {
constexpr std::size_t kKeptPages = 32;
constexpr double kZoomStep = 1.25;
constexpr int kPageGap = 16; // pixels around the page
} // namespace

// The sheet of the current page, painted straight from its laid-out record.
class PageView : public QWidget {
public:
    explicit PageView(PreviewWindow* window) : QWidget(window), window_(window) {
        setObjectName(QStringLiteral("PageView"));
    }
    double pixelsPerMm = 1;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.fillRect(rect(), Qt::white);
        if (window_->pageCount() == 0)
            return;
        ui::runGuarded([&] {
            PagePainter(painter, pixelsPerMm).paint(window_->page(window_->currentPage()));
        });
    }

private:
    PreviewWindow* window_;
};

PreviewWindow::PreviewWindow(Report& report, QWidget* parent)
    : QDialog(parent), report_(report), run_(report) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(report.documentName);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setWindowState(Qt::WindowMaximized);

    auto button = [this](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus); // the keys belong to the pages
        return b;
    };
    btnImprimir =
        button("btnImprimir", QStringLiteral("Imprimir"), QStringLiteral("Imprimir (Ctrl + P)"));
    btnSalvarPdf = button("btnSalvarPdf", QStringLiteral("Salvar PDF"),
                          QStringLiteral("Salvar o relatório em um arquivo PDF (Ctrl + S)"));
    first_ = button("btnPrimeira", QStringLiteral("|<"), QStringLiteral("Primeira página (Home)"));
    prior_ =
        button("btnAnterior", QStringLiteral("<"), QStringLiteral("Página anterior (Page Up)"));
    next_ = button("btnProxima", QStringLiteral(">"), QStringLiteral("Próxima página (Page Down)"));
    last_ = button("btnUltima", QStringLiteral(">|"), QStringLiteral("Última página (End)"));
    auto* zoomOut = button("btnReduzir", QStringLiteral("-"), QStringLiteral("Reduzir (Ctrl + -)"));
    auto* zoomFit = button("btnLargura", QStringLiteral("Largura da página"),
                           QStringLiteral("A página na largura da janela"));
    auto* zoomIn = button("btnAmpliar", QStringLiteral("+"), QStringLiteral("Ampliar (Ctrl + +)"));
    btnFechar = button("btnFechar", QStringLiteral("Fechar"),
                       QStringLiteral("Fechar a visualização (Esc)"));
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("lblPagina"));
    pageLabel_->setMinimumWidth(140);
    pageLabel_->setAlignment(Qt::AlignCenter);

    auto* bar = new QHBoxLayout;
    bar->addWidget(btnImprimir);
    bar->addWidget(btnSalvarPdf);
    bar->addSpacing(24);
    bar->addWidget(first_);
    bar->addWidget(prior_);
    bar->addWidget(pageLabel_);
    bar->addWidget(next_);
    bar->addWidget(last_);
    bar->addSpacing(24);
    bar->addWidget(zoomOut);
    bar->addWidget(zoomFit);
    bar->addWidget(zoomIn);
    bar->addStretch();
    bar->addWidget(btnFechar);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("PageArea"));
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setVerticalScrollBarPolicy(
        Qt::ScrollBarAlwaysOn); // its width never toggles the page's
    view_ = new PageView(this);
    scroll_->setWidget(view_);
    scroll_->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);

    ui::connectGuarded(btnImprimir, &QPushButton::clicked, this,
                       [this] { printWithDialog(report_, this); });
    ui::connectGuarded(btnSalvarPdf, &QPushButton::clicked, this,
                       [this] { savePdfAs(report_, this); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::close);
    connect(first_, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(prior_, &QPushButton::clicked, this, [this] { showPage(current_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { showPage(current_ + 1); });
    connect(last_, &QPushButton::clicked, this, [this] { showPage(pageCount() - 1); });
    connect(zoomIn, &QPushButton::clicked, this, [this] { setZoom(zoom_ * kZoomStep); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { setZoom(zoom_ / kZoomStep); });
    connect(zoomFit, &QPushButton::clicked, this, [this] { setZoom(1.0); });
    setFocusPolicy(Qt::StrongFocus);
    resize(1000, 750); // until the window manager maximises it
    updateView();
}

PreviewWindow::~PreviewWindow() = default;

const Page& PreviewWindow::page(int index) {
    recent_.remove(index);
    recent_.push_front(index);
    auto found = cache_.find(index);
    if (found != cache_.end())
        return found->second;
    while (cache_.size() >= kKeptPages) {
        cache_.erase(recent_.back());
        recent_.pop_back();
    }
    return cache_.emplace(index, run_.page(index)).first->second;
}

void PreviewWindow::showPage(int index) {
    index = std::clamp(index, 0, std::max(pageCount() - 1, 0));
    if (index != current_) {
        current_ = index;
        scroll_->verticalScrollBar()->setValue(0);
    }
    updateView();
}

void PreviewWindow::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, 0.2, 5.0);
    updateView();
}

void PreviewWindow::updateView() {
    const int available = std::max(scroll_->viewport()->width() - 2 * kPageGap, 100);
    view_->pixelsPerMm = available * zoom_ / report_.pageSize.width();
    view_->setFixedSize(int(report_.pageSize.width() * view_->pixelsPerMm),
                        int(report_.pageSize.height() * view_->pixelsPerMm));
    pageLabel_->setText(QStringLiteral("Página %1 de %2").arg(current_ + 1).arg(pageCount()));
    first_->setEnabled(current_ > 0);
    prior_->setEnabled(current_ > 0);
    next_->setEnabled(current_ + 1 < pageCount());
    last_->setEnabled(current_ + 1 < pageCount());
    view_->update();
}

void PreviewWindow::scrollOrTurn(int direction) {
    QScrollBar* bar = scroll_->verticalScrollBar();
    const int before = bar->value();
    bar->setValue(before + direction * bar->singleStep() * 3);
    if (bar->value() != before)
        return;
    if (direction > 0 && current_ + 1 < pageCount()) {
        showPage(current_ + 1);
    } else if (direction < 0 && current_ > 0) {
        showPage(current_ - 1);
        bar->setValue(bar->maximum());
    }
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageDown:
    case Qt::Key_Right:
        showPage(current_ + 1);
        return;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
        showPage(current_ - 1);
        return;
    case Qt::Key_Down:
        scrollOrTurn(1);
        return;
    case Qt::Key_Up:
        scrollOrTurn(-1);
        return;
    case Qt::Key_Home:
        showPage(0);
        return;
    case Qt::Key_End:
        showPage(pageCount() - 1);
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        setZoom(zoom_ * kZoomStep);
        return;
    case Qt::Key_Minus:
        setZoom(zoom_ / kZoomStep);
        return;
    case Qt::Key_P:
        if (ctrl) {
            btnImprimir->click();
            return;
        }
        break;
    case Qt::Key_S:
        if (ctrl) {
            btnSalvarPdf->click();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    updateView();
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    // The viewport's width decides the page's; keep them in step as the window settles.
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize)
        updateView();
    return QDialog::eventFilter(watched, event);
}

void preview(Report& report, QWidget* parent) {
    PreviewWindow window(report, parent);
    ui::dialogs().showModal(&window);
}

} // namespace report
