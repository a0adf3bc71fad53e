#include "platform/spreadsheet/sheet_table.h"
#include <QSet>

namespace spreadsheet {

namespace {

bool holdsAnything(const std::vector<ReadCell>& row) {
    return std::any_of(row.begin(), row.end(), [](const ReadCell& c) { return !c.empty(); });
}

int distinctTexts(const std::vector<ReadCell>& row) {
    QSet<QString> texts;
    for (const ReadCell& c : row)
        if (!c.empty())
            texts.insert(c.displayText().trimmed());
    texts.remove(QString());
    return int(texts.size());
}

} // namespace

SheetTable findTable(const Sheet& sheet) {
    SheetTable table;
    const int count = int(sheet.rows.size());
    for (int r = 0; r < count && table.firstHeaderRow < 0; ++r)
        if (distinctTexts(sheet.rows[r]) >= 2)
            table.firstHeaderRow = r;
    for (int r = 0; r < count && table.firstHeaderRow < 0; ++r)
        if (holdsAnything(sheet.rows[r]))
            table.firstHeaderRow = r; // a sheet of one column
    if (table.firstHeaderRow < 0)
        return table;
    table.lastHeaderRow = table.firstHeaderRow;
    for (const CellRange& m : sheet.merges)
        if (m.firstRow == table.firstHeaderRow)
            table.lastHeaderRow = std::max(table.lastHeaderRow, std::min(m.lastRow, count - 1));

    const int columns = sheet.columnCount();
    for (int c = 0; c < columns; ++c) {
        QStringList words;
        for (int r = table.firstHeaderRow; r <= table.lastHeaderRow; ++r) {
            const QString text = sheet.cell(r, c).displayText().simplified();
            if (!text.isEmpty() && !words.contains(text))
                words << text;
        }
        table.headers << words.join(' ');
    }
    for (int r = table.lastHeaderRow + 1; r < count; ++r)
        if (holdsAnything(sheet.rows[r]))
            table.rows.push_back(r);
    return table;
}

} // namespace spreadsheet
