#pragma once
// Reads the first sheet of an .xlsx workbook, as any program saves one: through libzip for the
// package and Qt's XML stream reader for its parts. Texts come from the shared strings table or
// the cell itself (rich text runs joined), numbers whose format shows a date or a time are dates,
// a formula gives the value the file holds for it, and merged ranges are filled (see Sheet).
#include "platform/spreadsheet/sheet.h"

namespace spreadsheet {

// Throws FileError when the file is no workbook (not a zip, no sheet, broken XML) or cannot be
// read, ReadCancelled when progress says stop (progress counts the sheet's bytes).
Sheet readXlsx(const QString& path, const ReadProgress& progress = {});

} // namespace spreadsheet
