#pragma once
// Stores an import's plan in one transaction of the main database, all or nothing: the groups,
// subgroups and suppliers to create, the new rows (a product's stock as its initial and current
// stock, no movement), the changes, and for a stored product whose stock the sheet changes an
// adjustment movement (an entry or an exit with its note) booked by the stock rule, so that the
// stock stays its initial stock plus its entries minus its exits. Refused and unchanged rows
// store nothing.
#include "imports/import_plan.h"

namespace imports {

// The note (NOTA_COMPRA) of an adjustment movement.
QString adjustmentNote();

// Step(done, total) every so many rows; false stops it, storing nothing, and it returns false.
// Throws data::DataError when the database refuses (nothing is then stored either), and
// data::ConflictError when a product's stock changed since the plan was made.
bool storePlan(data::SqlConnection& connection, const ImportPlan& plan,
               const PlanProgress& progress = {});

} // namespace imports
