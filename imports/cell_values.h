#pragma once
// What a sheet's cell becomes in a field, checked as the register windows check what is typed:
// text trimmed and upper-cased, no longer than its column counts (an emoji is one character);
// numbers as a Brazilian sheet writes them ("R$ 1.234,50", "12,5") or as numbers; dates as dates
// or typed; state codes and person types from their lists. A refusal says why, in Portuguese.
#include "imports/import_target.h"
#include "platform/spreadsheet/sheet.h"
#include <QVariant>

namespace imports {

struct CellValue {
    QVariant value;  // null for an empty cell (and a refused one)
    QString problem; // "" when the value is fine
};

CellValue convertCell(const spreadsheet::ReadCell& cell, const TargetField& field);

// The value as the preview shows it: numbers and dates the Brazilian way.
QString shownValue(const QVariant& value);

} // namespace imports
