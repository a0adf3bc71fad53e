#include "imports/refused_rows.h"

namespace imports {

void saveRefusedRows(const QString& path, const ImportFile& file, const ImportPlan& plan) {
    std::vector<QStringList> rows;
    rows.push_back(file.table.headers + QStringList{QStringLiteral("Motivo da recusa")});
    for (const PlannedRow& row : plan.rows) {
        if (row.status != RowStatus::Refused)
            continue;
        QStringList cells;
        for (int c = 0; c < file.table.headers.size(); ++c)
            cells << file.sheet.cell(row.sheetRow, c).displayText();
        rows.push_back(cells << row.reason);
    }
    spreadsheet::writeCsv(path, rows);
}

} // namespace imports
