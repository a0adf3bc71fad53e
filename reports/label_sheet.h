#pragma once
// A4 sheets of self-adhesive labels: how many labels across and down, their size, and the
// margins and gaps that place them, which the user adjusts to the sheets and printer at hand.
// The adjusted margins and gaps of each layout, and the layout last used, are kept in the
// settings database.
#include <QSizeF>
#include <QString>
#include <vector>

namespace data {
class SqlConnection;
}

struct LabelSheet {
    QString model;   // the key it is remembered by, "3X10"
    QString caption; // as the window lists it
    int columns = 1;
    int rows = 1;
    QSizeF label;      // mm
    double top = 0;    // margin above the first row, mm
    double left = 0;   // margin left of the first column, mm
    double across = 0; // gap between two labels of a row, mm
    double down = 0;   // gap between two rows, mm

    static constexpr QSizeF kPage{210, 297}; // A4

    int perSheet() const { return columns * rows; }
    // Whether every label lies on the page with these margins and gaps.
    bool fits() const;
};

// The layouts offered, with their usual margins and gaps.
const std::vector<LabelSheet>& labelSheets();

struct RememberedSheets {
    std::vector<LabelSheet> sheets; // labelSheets() with the margins and gaps the user left
    int inUse = 0;                  // the layout used last
};
// What the settings database holds; the usual values where it holds nothing (or cannot be read).
RememberedSheets rememberedSheets(data::SqlConnection& settings);
// Keeps the sheet's margins and gaps, and marks it as the layout in use.
void rememberSheet(data::SqlConnection& settings, const LabelSheet& sheet);
