#pragma once
// What a dataset knows about one of its columns.
#include <QString>

namespace data {

enum class FieldKind { Integer, Float, Text, Date, Time, Blob };

struct FieldDef {
    QString name; // column name, as used in code: field("ESTOQUEATUAL")
    FieldKind kind = FieldKind::Text;
    int size = 0;            // text length in characters; 0 for other kinds
    bool required = false;   // post refuses an empty value
    bool key = false;        // finds the row when a change is applied
    bool currency = false;   // shown as money
    QString editMask;        // the mask as the designer wrote it, e.g. "!99/99/0000;1;_"
    QString displayLabel;    // column title; the name when empty
    QString componentName;   // e.g. TBPRODUTOSESTOQUEATUAL
    int displayWidth = 0;    // characters; 0 lets the grid choose
    double largest = 0;      // numbers: the largest magnitude accepted; 0 for no bound
    int storedDecimals = -1; // the column keeps numbers to so many decimals (NUMERIC); -1: all

    QString label() const { return displayLabel.isEmpty() ? name : displayLabel; }
};

// The value rounded half away from zero to so many decimals, as a NUMERIC column keeps it.
double roundToDecimals(double value, int decimals);

// Characters as the database counts them: one beyond the 16-bit range is one, not two.
qsizetype characterCount(const QString& text);

} // namespace data
