#pragma once
// "Gerar em Excel": copies a built report's rows into a new workbook of the spreadsheet program,
// one cell at a time: the rows from row 2 in the dataset's order, every field in its order, then
// the header row of the fields' labels, and the columns fitted to their content.
#include <QString>

class QWidget;
namespace data {
class ClientDataSet;
}

// Returns false when the user cancelled while the rows were copied (nothing is then written).
bool exportToSpreadsheet(QWidget* parent, data::ClientDataSet& rows, const QString& caption);
