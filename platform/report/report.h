#pragma once
// A small banded report: an A4 page with margins, a source of rows, and title, detail, summary
// and page-footer bands holding texts, data-bound texts, images, lines, rectangles and bar codes,
// all placed
// in millimetres. Before-print callbacks (per run and per band) may change any item's caption,
// colours or visibility just before it is laid out. Bands have fixed heights, so the number of
// pages follows from the number of rows before anything is drawn.
#include "platform/report/bar_code.h"
#include <QColor>
#include <QImage>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace report {

struct Font {
    QString family = QStringLiteral("Arial");
    double points = 7;
    bool bold = false;
    bool operator==(const Font&) const = default;
};

enum class ItemKind { Text, Image, Line, Rectangle, BarCode };

// One thing a band prints. Positions are relative to the band's top left corner, in mm.
struct Item {
    ItemKind kind = ItemKind::Text;
    QString name;
    QRectF rect;                     // a width of 0 lets a text be as wide as it is
    QString caption;                 // the text (a bar code's data), unless source is set
    std::function<QString()> source; // data-bound text, asked for as the band is laid out
    Font font;
    QColor colour = Qt::black;
    QColor background = Qt::transparent;
    Qt::Alignment alignment = Qt::AlignLeft;
    QImage image;
    bool keepAspect = true;                   // an image keeps its proportions inside rect, centred
    double penWidth = 0.2;                    // lines and rectangles, in mm
    Symbology symbology = Symbology::Code128; // bar codes
    bool visible = true;

    QString text() const { return source ? source() : caption; }
    void setCaption(const QString& text) { caption = text; }
};

enum class BandKind { Title, Detail, Summary, PageFooter };
QString bandName(BandKind kind);

class Band {
public:
    explicit Band(BandKind kind) : kind_(kind) {}
    Band(const Band&) = delete;
    Band& operator=(const Band&) = delete;

    BandKind kind() const { return kind_; }
    double height = 0; // mm; a band of height 0 prints nothing
    QColor background = Qt::transparent;
    std::function<void()> beforePrint;

    // A fixed text; width 0 sizes it to its text. Height defaults to one line of the font.
    Item* addLabel(const QString& name, const QString& caption, double x, double y,
                   double width = 0, const Font& font = {});
    // A text taken from the current row whenever the band is laid out.
    Item* addField(const QString& name, std::function<QString()> source, double x, double y,
                   double width = 0, const Font& font = {});
    Item* addImage(const QString& name, const QRectF& rect);
    // A line from (x1, y1) to (x2, y2).
    Item* addLine(double x1, double y1, double x2, double y2, double penWidth = 0.2);
    Item* addRectangle(const QRectF& rect, double penWidth = 0.2);
    // A bar-code symbol of the item's text, fitted into rect (see barCodeSymbol).
    Item* addBarCode(const QString& name, const QRectF& rect);
    // A caption and, right after it, a text named name (returned) that callbacks fill in.
    Item* addCaptioned(const QString& caption, const QString& name, double x, double y,
                       double width = 0, const Font& font = {});

    Item* item(const QString& name) const; // nullptr when none has the name
    const std::vector<std::unique_ptr<Item>>& items() const { return items_; }

private:
    Item* add(std::unique_ptr<Item> item);
    BandKind kind_;
    std::vector<std::unique_ptr<Item>> items_;
};

// The rows a report walks. moveTo makes a row current for the detail band's fields and callbacks.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int rowCount() const = 0;
    virtual void moveTo(int row) = 0;
};

class Report {
public:
    Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    QString documentName = QStringLiteral("Relatório"); // print job and PDF title
    QSizeF pageSize{210, 297};                          // A4 portrait, mm
    QMarginsF margins{10, 10, 10, 10};                  // mm

    Band title{BandKind::Title};
    Band detail{BandKind::Detail};
    Band summary{BandKind::Summary};
    Band pageFooter{BandKind::PageFooter};

    // At the start of every run (preview, print, PDF), before the title band.
    std::function<void()> beforePrint;

    void setRows(RowSource* rows) { rows_ = rows; } // not owned; none prints no detail rows
    RowSource* rows() const { return rows_; }
    int rowCount() const { return rows_ ? rows_->rowCount() : 0; }

    QRectF printableRect() const; // mm, inside the margins

private:
    RowSource* rows_ = nullptr;
};

// One line height of a font, in mm: what a text item is given when no height is set.
double lineHeight(const Font& font);
// How wide a text prints in a font, in mm.
double textWidth(const QString& text, const Font& font);

} // namespace report
