#pragma once
// The mappings the user made, remembered for the next sheet with the same headers (compared as
// header names are: accents, case and spacing aside), per register. They live in the settings
// database, where the program keeps its settings, in a table made the first time it is needed:
// a transaction stores each whole, and a backup of the program folder keeps them.
#include "imports/import_target.h"
#include <QStringList>
#include <optional>

namespace data {
class SqlConnection;
}

namespace imports {

class MappingMemory {
public:
    explicit MappingMemory(data::SqlConnection& settings) : settings_(settings) {}

    // The columns' fields as last chosen for these headers; nullopt when never.
    std::optional<QStringList> recall(Register what, const QStringList& headers);
    void remember(Register what, const QStringList& headers, const QStringList& mapping);

private:
    void makeTable();
    data::SqlConnection& settings_;
    bool ready_ = false;
};

} // namespace imports
