#pragma once
// Draws laid-out pages on any paint device: a PDF, a printer, the preview's widget.
#include "platform/report/page.h"
#include <QFont>
#include <QFontMetricsF>
#include <memory>
#include <vector>

class QPainter;

namespace report {

class PagePainter {
public:
    // pixelsPerMm: the device's resolution at the wanted zoom; the fonts follow it.
    PagePainter(QPainter& painter, double pixelsPerMm);
    void paint(const Page& page);

private:
    QRectF toDevice(const QRectF& mm) const;
    void paintText(const DrawnItem& item, const QColor& bandBackground);
    void paintImage(const DrawnItem& item);
    void paintBarCode(const DrawnItem& item);
    void applyFont(const Font& font);
    void setInk(const QColor& colour);          // the text colour, set only when it changes
    double baselineIn(const QRectF& box) const; // of the current font, centred in the box

    QPainter& painter_;
    // Each font the page uses, made once with its metrics on this device: labels switch
    // between their texts' font and their symbols' digits at every label.
    struct DeviceFont {
        Font font;
        QFont qfont;
        std::shared_ptr<QFontMetricsF> metrics;
    };
    std::vector<DeviceFont> fonts_;
    std::shared_ptr<QFontMetricsF> metrics_; // of the current font on this device
    double scale_;
    double fontScale_;
    Font currentFont_;
    bool hasFont_ = false;
    QColor ink_;
    bool hasInk_ = false;
};

// The face a report font asks for: Arial, or the face with its metrics where Arial is missing,
// so that texts keep their widths instead of falling back to whatever the system has.
QString resolvedFamily(const QString& family);

} // namespace report
