#pragma once
// Text columns the program holds wider than an older program made them. They are widened when a
// database is opened, as the indexes are added: a change of the tables' description only, no
// stored row is rewritten.
#include <QStringList>
#include <vector>

namespace data {
class SqlConnection;
}

struct ColumnWidth {
    const char* table;
    const char* column;
    int characters;
};

// Every column db/main.sql makes wider than the first databases had it.
const std::vector<ColumnWidth>& widenedColumns();

// Widens the columns still narrower than the program holds them, each in a transaction of its
// own, keeping their type (CHAR or VARCHAR) and character set; returns "TABLE.COLUMN" of each.
// A column that cannot be changed now (another station holds the table, a user without the
// right) stays as it is: a longer text is then refused when saved, never cut.
QStringList widenColumns(data::SqlConnection& connection);
