#include "platform/report/page.h"

namespace report {

namespace {

QString mm(double value) {
    return QString::number(value, 'f', 1);
}

QString colourText(const QColor& colour) {
    return colour.alpha() == 0 ? QStringLiteral("none") : colour.name();
}

QString describeItem(const DrawnItem& item, const QColor& bandBackground) {
    switch (item.kind) {
    case ItemKind::Text: {
        QString text = mm(item.rect.left()) + QStringLiteral(":\"") + item.text + '"';
        if (item.font.bold)
            text += QStringLiteral(" bold");
        if (item.colour != QColor(Qt::black))
            text += QStringLiteral(" fg=") + colourText(item.colour);
        if (item.background != bandBackground && item.background.alpha() != 0)
            text += QStringLiteral(" bg=") + colourText(item.background);
        return text;
    }
    case ItemKind::Image:
        return QStringLiteral("image(%1,%2 %3x%4%5)")
            .arg(mm(item.rect.left()), mm(item.rect.top()), mm(item.rect.width()),
                 mm(item.rect.height()),
                 item.image.isNull() ? QStringLiteral(" empty") : QString());
    case ItemKind::Line:
        return QStringLiteral("line(%1,%2-%3,%4)")
            .arg(mm(item.rect.left()), mm(item.rect.top()), mm(item.rect.right()),
                 mm(item.rect.bottom()));
    case ItemKind::BarCode:
        return QStringLiteral("barcode(%1 \"%2\" %3,%4 %5x%6)")
            .arg(symbologyName(item.symbology), item.text, mm(item.rect.left()),
                 mm(item.rect.top()), mm(item.rect.width()), mm(item.rect.height()));
    case ItemKind::Rectangle:
        return QStringLiteral("rect(%1,%2 %3x%4)")
            .arg(mm(item.rect.left()), mm(item.rect.top()), mm(item.rect.width()),
                 mm(item.rect.height()));
    }
    return {};
}

} // namespace

QStringList describe(const Page& page) {
    QStringList lines;
    lines << QStringLiteral("page %1").arg(page.number);
    for (const DrawnBand& band : page.bands) {
        QString line = bandName(band.kind) + ' ' + mm(band.rect.top());
        if (band.background.alpha() != 0)
            line += QStringLiteral(" bg=") + colourText(band.background);
        for (const DrawnItem& item : band.items)
            line += QStringLiteral(" | ") + describeItem(item, band.background);
        lines << line;
    }
    return lines;
}

} // namespace report
