#pragma once
// A table's rows read straight through fbclient into the dataset's store. Private to the
// dataset's files.
#include "platform/data/client_dataset.h"
#include "platform/data/column_store.h"
#include "platform/data/fb_reader.h"
#include <vector>

namespace data {

// Column by column: each source column lands in the store column it maps to.
struct ClientDataSet::TableRead {
    struct Map {
        int source;
        int column;
        FieldKind kind;
    };
    TableRead(unsigned int handle, const QString& select, FbReader::Isolation isolation)
        : reader(handle, select, isolation) {}
    // Appends rows until none is left (false) or, with a budget, until it has passed or `rows`
    // more were read (true).
    bool readInto(ColumnStore& store, int budgetMs, int rows);

    FbReader reader;
    std::vector<Map> map;
};

} // namespace data
