#pragma once
// The file the user chose, read by its name's ending: a workbook (.xlsx) or a text table (.csv,
// .txt) in the separator and encoding found in it or chosen by the user; then the table in it.
#include "platform/spreadsheet/csv_file.h"
#include "platform/spreadsheet/sheet_table.h"
#include <optional>

namespace imports {

struct ImportFile {
    QString path;
    bool text = false;             // a CSV or TXT file
    spreadsheet::CsvFormat format; // a text file's, as found or chosen
    spreadsheet::Sheet sheet;
    spreadsheet::SheetTable table;
};

// Throws spreadsheet::FileError (an old .xls, another kind of file, a file that cannot be read)
// and spreadsheet::ReadCancelled.
ImportFile readImportFile(const QString& path,
                          std::optional<spreadsheet::CsvFormat> format = std::nullopt,
                          const spreadsheet::ReadProgress& progress = {});

} // namespace imports
