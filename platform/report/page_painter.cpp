#include "platform/report/page_painter.h"
#include "platform/report/bar_code.h"
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

namespace report {

namespace {
constexpr double kSmallestShrink = 0.75;
}

QString resolvedFamily(const QString& family) {
    static const bool hasArial = QFontDatabase::hasFamily(QStringLiteral("Arial"));
    if (family.compare(QStringLiteral("Arial"), Qt::CaseInsensitive) == 0 && !hasArial)
        return QStringLiteral("Liberation Sans");
    return family;
}

PagePainter::PagePainter(QPainter& painter, double pixelsPerMm)
    : painter_(painter), scale_(pixelsPerMm) {
    // Fonts are sized against the device's own resolution; at another zoom they scale with it.
    const double deviceDpi = painter.device()->logicalDpiY();
    fontScale_ = pixelsPerMm * 25.4 / deviceDpi;
}

QRectF PagePainter::toDevice(const QRectF& mm) const {
    return QRectF(mm.left() * scale_, mm.top() * scale_, mm.width() * scale_, mm.height() * scale_);
}

void PagePainter::applyFont(const Font& font) {
    if (hasFont_ && font == currentFont_)
        return;
    auto known = std::find_if(fonts_.begin(), fonts_.end(),
                              [&](const DeviceFont& f) { return f.font == font; });
    if (known == fonts_.end()) {
        QFont qfont(resolvedFamily(font.family));
        qfont.setPointSizeF(font.points * fontScale_);
        qfont.setBold(font.bold);
        painter_.setFont(qfont);
        fonts_.push_back({font, painter_.font(),
                          std::make_shared<QFontMetricsF>(painter_.font(), painter_.device())});
        known = fonts_.end() - 1;
    } else {
        painter_.setFont(known->qfont);
    }
    metrics_ = known->metrics;
    currentFont_ = font;
    hasFont_ = true;
}

void PagePainter::paint(const Page& page) {
    for (const DrawnBand& band : page.bands) {
        if (band.background.alpha() != 0)
            painter_.fillRect(toDevice(band.rect), band.background);
        for (const DrawnItem& item : band.items) {
            switch (item.kind) {
            case ItemKind::Text:
                paintText(item, band.background);
                break;
            case ItemKind::Image:
                paintImage(item);
                break;
            case ItemKind::BarCode:
                paintBarCode(item);
                break;
            case ItemKind::Line:
                painter_.setPen(QPen(Qt::black, std::max(item.penWidth * scale_, 1.0)));
                hasInk_ = false;
                painter_.drawLine(toDevice(item.rect).topLeft(), toDevice(item.rect).bottomRight());
                break;
            case ItemKind::Rectangle:
                painter_.setPen(QPen(Qt::black, std::max(item.penWidth * scale_, 1.0)));
                hasInk_ = false;
                painter_.setBrush(item.background.alpha() ? QBrush(item.background) : QBrush());
                painter_.drawRect(toDevice(item.rect));
                break;
            }
        }
    }
}

void PagePainter::paintText(const DrawnItem& item, const QColor& bandBackground) {
    applyFont(item.font);
    const QRectF box = toDevice(item.rect);
    const QFontMetricsF& metrics = *metrics_;
    QString text = item.text;
    const bool ownBackground = item.background.alpha() != 0 && item.background != bandBackground;
    // Measuring is most of a text's cost: a left-aligned text that cannot overflow its box, on
    // the band's own colour, is drawn without it.
    const bool fits = box.width() > 0 && text.size() * metrics.maxWidth() <= box.width();
    if (fits && !ownBackground && !(item.alignment & (Qt::AlignRight | Qt::AlignHCenter))) {
        if (text.isEmpty())
            return;
        setInk(item.colour);
        painter_.drawText(QPointF(box.left(), baselineIn(box)), text);
        return;
    }
    double width = metrics.horizontalAdvance(text);
    // A text a little too wide for its fixed width is set a little smaller; one far too wide is
    // cut, with the cut marked. Without a fixed width the text takes its room.
    bool shrunk = false;
    if (box.width() > 0 && width > box.width()) {
        const double factor = box.width() / width;
        if (factor >= kSmallestShrink) {
            QFont smaller = painter_.font();
            smaller.setPointSizeF(smaller.pointSizeF() * factor * 0.98);
            painter_.setFont(smaller);
            width = QFontMetricsF(smaller, painter_.device()).horizontalAdvance(text);
            shrunk = true;
        } else {
            text = metrics.elidedText(text, Qt::ElideRight, box.width());
            width = metrics.horizontalAdvance(text);
        }
    }
    const double boxWidth = box.width() > 0 ? box.width() : width;
    // The band has painted its own colour already; an item of that colour adds nothing.
    if (ownBackground)
        painter_.fillRect(QRectF(box.left(), box.top(), boxWidth, box.height()), item.background);
    if (text.isEmpty())
        return;
    double x = box.left();
    if (item.alignment & Qt::AlignRight)
        x = box.left() + boxWidth - width;
    else if (item.alignment & Qt::AlignHCenter)
        x = box.left() + (boxWidth - width) / 2;
    setInk(item.colour);
    painter_.drawText(QPointF(x, baselineIn(box)), text);
    if (shrunk)
        hasFont_ = false; // the next text sets its own font again
}

void PagePainter::setInk(const QColor& colour) {
    if (hasInk_ && colour == ink_)
        return;
    painter_.setPen(colour);
    ink_ = colour;
    hasInk_ = true;
}

double PagePainter::baselineIn(const QRectF& box) const {
    return box.top() + (box.height() - metrics_->height()) / 2 + metrics_->ascent();
}

void PagePainter::paintImage(const DrawnItem& item) {
    if (item.image.isNull())
        return;
    QRectF box = toDevice(item.rect);
    if (item.keepAspect) {
        QSizeF size = item.image.size();
        size.scale(box.size(), Qt::KeepAspectRatio);
        box = QRectF(box.left() + (box.width() - size.width()) / 2,
                     box.top() + (box.height() - size.height()) / 2, size.width(), size.height());
    }
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    painter_.drawImage(box, item.image);
}

} // namespace report

namespace report {

void PagePainter::paintBarCode(const DrawnItem& item) {
    const auto symbol = barCodeSymbol(item.symbology, item.text, item.rect.size());
    if (!symbol) {
        // Data no symbol can hold still shows, as text, so the label is not blank.
        DrawnItem text = item;
        text.kind = ItemKind::Text;
        text.alignment = Qt::AlignHCenter;
        paintText(text, Qt::transparent);
        return;
    }
    for (const QRectF& bar : symbol->bars)
        painter_.fillRect(toDevice(bar.translated(item.rect.topLeft())), item.colour);
    Font digits;
    for (const BarCodeSymbol::Text& t : symbol->texts) {
        // libzint gives the digits' font size in its units; a point is 25.4 / 72 mm.
        digits.points = t.height * 72.0 / 25.4;
        applyFont(digits);
        setInk(item.colour);
        const QPointF at = toDevice(QRectF(t.baseline + item.rect.topLeft(), QSizeF())).topLeft();
        const double width = metrics_->horizontalAdvance(t.text);
        double x = at.x();
        if (t.alignment & Qt::AlignHCenter)
            x -= width / 2;
        else if (t.alignment & Qt::AlignRight)
            x -= width;
        painter_.drawText(QPointF(x, at.y()), t.text);
    }
}

} // namespace report
