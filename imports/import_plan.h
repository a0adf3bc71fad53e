#pragma once
// What importing a sheet would do, row by row, before anything is stored: each row is new,
// changes a stored row, leaves one as it is, or is refused with its reasons. A row finds its
// stored row by the first chosen key that it fills and that finds one (code, then bar code or
// CNPJ or CPF, then the exact description or name); an empty cell leaves the stored value as
// it is. Products name their group, subgroup and supplier by description; the missing ones are
// listed to be created. A changed stock of a stored product is booked as an adjustment movement.
#include "imports/import_target.h"
#include "imports/references.h"
#include "platform/spreadsheet/sheet.h"
#include "platform/spreadsheet/sheet_table.h"
#include <QVariant>
#include <functional>
#include <vector>

namespace data {
class SqlConnection;
}

namespace imports {

enum class RowStatus { New, Changed, Unchanged, Refused };

struct PlanField {
    int field = 0;  // index in the target's fields
    int column = 0; // the sheet's column
};

struct PlannedRow {
    int sheetRow = 0; // the sheet's row, from 0
    RowStatus status = RowStatus::New;
    int code = 0;                      // the stored row's, or the one the new row will get
    std::vector<QVariant> values;      // per plan field: as it will be stored (null: nothing)
    std::vector<Reference> references; // per plan field, for the Reference ones
    // Per plan field that has one: why its cell is refused, or what the stored row held.
    std::vector<std::pair<int, QString>> problems;
    std::vector<std::pair<int, QVariant>> before;
    QString reason; // why the row is refused, in full

    QString problem(int planField) const;
    const QVariant* valueBefore(int planField) const; // nullptr: not changed
};

struct PlanOptions {
    Register what = Register::Products;
    QStringList mapping;    // per sheet column, the field's column ("" for none)
    QStringList keyColumns; // the keys the user lets find stored rows
};

struct ImportPlan {
    Target target;
    std::vector<PlanField> fields; // the mapped ones, in the target's order
    std::vector<PlannedRow> rows;
    std::vector<NewReference> toCreate; // groups, subgroups, suppliers
    QStringList toCreateText;           // as the preview lists them
    int counts[4] = {0, 0, 0, 0};       // per RowStatus

    int count(RowStatus status) const { return counts[int(status)]; }
    int planFieldOf(const QString& column) const; // -1 when the column is not mapped
};

// Step(done, total) every so many rows; false stops it, and planImport throws
// spreadsheet::ReadCancelled.
using PlanProgress = std::function<bool(int done, int total)>;

ImportPlan planImport(const spreadsheet::Sheet& sheet, const spreadsheet::SheetTable& table,
                      const PlanOptions& options, data::SqlConnection& connection,
                      const PlanProgress& progress = {});

// "Novo", "Alterado", "Sem alteração", "Recusado".
QString statusText(RowStatus status);

} // namespace imports
