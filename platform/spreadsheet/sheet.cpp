#include "platform/spreadsheet/sheet.h"
#include "platform/format/format.h"
#include <algorithm>
#include <cmath>

namespace spreadsheet {

QString ReadCell::displayText() const {
    switch (kind) {
    case Kind::Empty:
        return {};
    case Kind::Number:
        // A long code stored as a number shows every digit, as the sheet's "0" format does.
        if (std::floor(number) == number && std::fabs(number) < 1e15)
            return QString::number(qint64(number));
        return format::floatToStr(number);
    case Kind::Date: {
        const QDate date = dateOfSerial(number);
        return date.isValid() ? format::dateToStr(date) : format::floatToStr(number);
    }
    case Kind::Boolean:
        return number != 0 ? QStringLiteral("VERDADEIRO") : QStringLiteral("FALSO");
    case Kind::Text:
    case Kind::Error:
    case Kind::Formula:
        break;
    }
    return text;
}

const ReadCell& Sheet::cell(int row, int column) const {
    static const ReadCell empty;
    if (row < 0 || row >= int(rows.size()) || column < 0 || column >= int(rows[row].size()))
        return empty;
    return rows[row][column];
}

int Sheet::columnCount() const {
    std::size_t widest = 0;
    for (const auto& row : rows)
        widest = std::max(widest, row.size());
    return int(widest);
}

QDate dateOfSerial(double serial) {
    // Day 60 is the 29 February 1900 that never was: the days before it count one day later.
    if (!(serial >= 1 && serial < 2958466))
        return {};
    const qint64 day = qint64(std::floor(serial));
    if (day == 60)
        return {};
    return (day < 60 ? QDate(1899, 12, 31) : QDate(1899, 12, 30)).addDays(day);
}

void fillMerges(Sheet& sheet) {
    const int usedRows = int(sheet.rows.size());
    const int usedColumns = sheet.columnCount();
    for (const CellRange& range : sheet.merges) {
        const ReadCell value = sheet.cell(range.firstRow, range.firstColumn);
        if (value.empty())
            continue;
        const int lastRow = std::min(range.lastRow, usedRows - 1);
        const int lastColumn = std::min(range.lastColumn, usedColumns - 1);
        for (int r = range.firstRow; r <= lastRow; ++r) {
            auto& row = sheet.rows[r];
            if (int(row.size()) <= lastColumn)
                row.resize(std::size_t(lastColumn) + 1);
            for (int c = range.firstColumn; c <= lastColumn; ++c)
                row[c] = value;
        }
    }
}

} // namespace spreadsheet
