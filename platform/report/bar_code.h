#pragma once
// Bar-code symbols as vector shapes: the bars as rectangles and the human-readable digits as
// texts, laid out in millimetres to fit a box, so that a PDF or a printer gets sharp edges at
// any resolution. The symbols themselves are libzint's.
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>
#include <vector>

namespace report {

enum class Symbology { Ean13, Code128 };
QString symbologyName(Symbology symbology); // "EAN13", "CODE128"

struct BarCodeSymbol {
    struct Text {
        QPointF baseline;        // where the text's anchor sits on its baseline
        double height;           // the font's size, mm
        Qt::Alignment alignment; // the anchor: left, centre or right end of the text
        QString text;
    };
    std::vector<QRectF> bars; // mm, from the box's top left
    std::vector<Text> texts;
};

// The symbol of `data` fitted into a box of `box` mm: as wide as the box allows (quiet zones
// included, bars at most 0.5 mm a module), centred across it, the bars as tall as the box leaves
// above the digits. Null when the symbology cannot hold the data (a wrong EAN-13 check digit, a
// character Code 128 lacks) or the box is too small. Symbols are kept once made: labels repeat.
std::shared_ptr<const BarCodeSymbol> barCodeSymbol(Symbology symbology, const QString& data,
                                                   const QSizeF& box);

} // namespace report
