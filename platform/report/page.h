#pragma once
// What one page of a report draws, in absolute millimetres on the sheet: the bands laid out with
// their texts already taken from the rows and their colours as the callbacks left them. Painters
// draw pages; tests compare their text form with a reference file.
#include "platform/report/report.h"
#include <QStringList>
#include <vector>

namespace report {

struct DrawnItem {
    ItemKind kind = ItemKind::Text;
    QString name;
    QRectF rect; // absolute, mm
    QString text;
    Font font;
    QColor colour;
    QColor background;
    Qt::Alignment alignment;
    QImage image;
    bool keepAspect = true;
    double penWidth = 0;
    Symbology symbology = Symbology::Code128;
};

struct DrawnBand {
    BandKind kind;
    QRectF rect; // absolute, mm
    QColor background;
    std::vector<DrawnItem> items;
};

struct Page {
    int number = 0; // from 1
    std::vector<DrawnBand> bands;
};

// One line per band: its kind, top, background when not plain, then each item's text (and any
// colour that is not black on nothing). Lines and rectangles show as their geometry, bar codes as
// their symbology, data and box.
QStringList describe(const Page& page);

} // namespace report
