#include "platform/report/report.h"
#include "platform/report/page_painter.h"
#include <QFontMetricsF>
#include <QImage>

namespace report {

QString bandName(BandKind kind) {
    switch (kind) {
    case BandKind::Title:
        return QStringLiteral("title");
    case BandKind::Detail:
        return QStringLiteral("detail");
    case BandKind::Summary:
        return QStringLiteral("summary");
    case BandKind::PageFooter:
        return QStringLiteral("footer");
    }
    return {};
}

double lineHeight(const Font& font) {
    // A point is 25.4 / 72 mm; a line takes a little more than the font's size.
    return font.points * 25.4 / 72.0 * 1.25;
}

double textWidth(const QString& text, const Font& font) {
    // Measured at a printer's resolution, so hinting hardly rounds the widths.
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(11811); // 300 dpi
        image.setDotsPerMeterY(11811);
        return image;
    }();
    QFont qfont(resolvedFamily(font.family));
    qfont.setPointSizeF(font.points);
    qfont.setBold(font.bold);
    return QFontMetricsF(qfont, &device).horizontalAdvance(text) * 25.4 / 300.0;
}

Item* Band::addCaptioned(const QString& caption, const QString& name, double x, double y,
                         double width, const Font& font) {
    addLabel({}, caption, x, y, 0, font);
    return addLabel(name, {}, x + textWidth(caption, font), y, width, font);
}

Item* Band::add(std::unique_ptr<Item> item) {
    items_.push_back(std::move(item));
    return items_.back().get();
}

Item* Band::addLabel(const QString& name, const QString& caption, double x, double y, double width,
                     const Font& font) {
    auto item = std::make_unique<Item>();
    item->name = name;
    item->caption = caption;
    item->font = font;
    item->rect = QRectF(x, y, width, lineHeight(font));
    return add(std::move(item));
}

Item* Band::addField(const QString& name, std::function<QString()> source, double x, double y,
                     double width, const Font& font) {
    Item* item = addLabel(name, {}, x, y, width, font);
    item->source = std::move(source);
    return item;
}

Item* Band::addImage(const QString& name, const QRectF& rect) {
    auto item = std::make_unique<Item>();
    item->kind = ItemKind::Image;
    item->name = name;
    item->rect = rect;
    return add(std::move(item));
}

Item* Band::addLine(double x1, double y1, double x2, double y2, double penWidth) {
    auto item = std::make_unique<Item>();
    item->kind = ItemKind::Line;
    item->rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
    item->penWidth = penWidth;
    return add(std::move(item));
}

Item* Band::addRectangle(const QRectF& rect, double penWidth) {
    auto item = std::make_unique<Item>();
    item->kind = ItemKind::Rectangle;
    item->rect = rect;
    item->penWidth = penWidth;
    return add(std::move(item));
}

Item* Band::addBarCode(const QString& name, const QRectF& rect) {
    auto item = std::make_unique<Item>();
    item->kind = ItemKind::BarCode;
    item->name = name;
    item->rect = rect;
    return add(std::move(item));
}

Item* Band::item(const QString& name) const {
    for (const auto& item : items_)
        if (item->name == name)
            return item.get();
    return nullptr;
}

Report::Report() = default;

QRectF Report::printableRect() const {
    return QRectF(
        QPointF(margins.left(), margins.top()),
        QPointF(pageSize.width() - margins.right(), pageSize.height() - margins.bottom()));
}

} // namespace report
