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
    const char* columns;
    bool descending = false;
};

// Every index db/main.sql makes besides the primary keys.
const std::vector<DatabaseIndex>& databaseIndexes();

// Creates the indexes the database lacks, in a transaction of their own; returns their names.
// An index that cannot be made now (another station holds the table) is left for the next
// opening: it only makes searches faster.
QStringList addMissingIndexes(data::SqlConnection& connection);
