#pragma once
// The refused rows of an import as a CSV of their own, to be fixed and read again: the sheet's
// headers and, per refused row, its cells as the sheet shows them and the reason in a last
// column (which no field takes when the file is read).
#include "imports/import_file.h"
#include "imports/import_plan.h"

namespace imports {

// Throws spreadsheet::FileError when the file cannot be written.
void saveRefusedRows(const QString& path, const ImportFile& file, const ImportPlan& plan);

} // namespace imports
