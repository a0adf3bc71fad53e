#pragma once
// The floor every open is compared with: a query's rows fetched straight through fbclient, each
// value touched and dropped.
#include "bench/firebird_api.h"
#include <string>

namespace bench {

struct FetchTotals {
    long rows = 0;
    long values = 0;     // non-null values seen
    double checksum = 0; // keeps the compiler from dropping the reads
};

// Prepares, executes and fetches every row of `sql` in a read-only read-committed transaction.
FetchTotals rawFetch(Attachment& attachment, const std::string& sql);

} // namespace bench
