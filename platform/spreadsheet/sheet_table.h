#pragma once
// The table a sheet holds, found as a person reading it would: the header is the first row
// naming at least two different things (a title above it, merged across, names one), together
// with the rows its merged cells reach down to; each column is named by its header texts, top to
// bottom ("Preço" over "Venda" is "Preço Venda"). The data are the rows below that hold anything.
#include "platform/spreadsheet/sheet.h"
#include <QStringList>

namespace spreadsheet {

struct SheetTable {
    QStringList headers;   // one per column; "" for a column the header leaves unnamed
    std::vector<int> rows; // the sheet's rows of data, in order
    int firstHeaderRow = -1;
    int lastHeaderRow = -1;
};

// A sheet holding nothing gives no headers and no rows.
SheetTable findTable(const Sheet& sheet);

} // namespace spreadsheet
