#pragma once
// Tables of the settings database that came after its first version. A settings database made
// before them gets them when the program opens it, as the main database gets its indexes.
#include <QStringList>

namespace data {
class SqlConnection;
}

// Creates the tables db/config.sql makes that the database lacks, each in a transaction of its
// own; returns their names. One that cannot be made now is left for the next opening.
QStringList addMissingSettingsTables(data::SqlConnection& connection);
