#pragma once
// The indexes the program's searches need. A database made by an older program lacks some; they
// are added when it is opened, so a shop's existing file gets them without touching its data.
#include <QStringList>
#include <vector>

namespace data {
class SqlConnection;
}

struct DatabaseIndex {
    const char* name;
    const char* table;
    const char* columns; // "CODIGO", "TIPO, DATA"; nullptr for an index over an expression
    bool descending = false;
    QString expression = {};
};

// The index on TPRODUTO that sends the products in nearly the order the program sorts their
// descriptions in, and the ORDER BY that it serves.
extern const char* const kProductDescriptionOrderIndex;
QString productDescriptionOrder();

bool hasIndex(data::SqlConnection& connection, const char* name);

// Every index db/main.sql makes besides the primary keys.
const std::vector<DatabaseIndex>& databaseIndexes();

// Creates the indexes the database lacks, in a transaction of their own; returns their names.
// An index that cannot be made now (another station holds the table) is left for the next
// opening: it only makes searches faster.
QStringList addMissingIndexes(data::SqlConnection& connection);
