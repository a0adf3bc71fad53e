#include "bench/raw_fetch.h"
#include <cstdlib>
#include <memory>
#include <vector>

namespace bench {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// Output buffers for every column of a described statement.
struct Row {
    std::unique_ptr<XSQLDA, FreeDeleter> sqlda;
    std::vector<std::vector<char>> data;
    std::vector<ISC_SHORT> nulls;

    explicit Row(int columns)
        : sqlda(static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(columns)))),
          data(std::size_t(columns)), nulls(std::size_t(columns)) {
        sqlda->version = SQLDA_VERSION1;
        sqlda->sqln = short(columns);
    }

    void bind() {
        for (int i = 0; i < sqlda->sqld; ++i) {
            XSQLVAR& var = sqlda->sqlvar[i];
            const int type = var.sqltype & ~1;
            data[i].resize(std::size_t(var.sqllen) + (type == SQL_VARYING ? 2 : 0));
            var.sqldata = data[i].data();
            var.sqlind = &nulls[i];
            var.sqltype = short(type | 1);
        }
    }
};

double blobLength(Attachment& attachment, Transaction& transaction, ISC_QUAD id) {
    ISC_STATUS_ARRAY status;
    isc_blob_handle blob = 0;
    isc_open_blob2(status, attachment.handle(), transaction.handle(), &blob, &id, 0, nullptr);
    checkStatus(status, "open blob");
    double length = 0;
    char segment[8192];
    unsigned short got = 0;
    for (;;) {
        const ISC_STATUS rc = isc_get_segment(status, &blob, &got, sizeof segment, segment);
        if (rc != 0 && rc != isc_segment)
            break;
        length += got;
    }
    isc_close_blob(status, &blob);
    return length;
}

} // namespace

FetchTotals rawFetch(Attachment& attachment, const std::string& sql) {
    Transaction transaction(attachment, Transaction::ReadOnly);
    ISC_STATUS_ARRAY status;
    isc_stmt_handle statement = 0;
    isc_dsql_allocate_statement(status, attachment.handle(), &statement);
    checkStatus(status, "allocate statement");

    Row row(1);
    isc_dsql_prepare(status, transaction.handle(), &statement, 0, sql.c_str(), SQL_DIALECT_V6,
                     row.sqlda.get());
    checkStatus(status, "prepare " + sql);
    if (row.sqlda->sqld > row.sqlda->sqln) {
        row = Row(row.sqlda->sqld);
        isc_dsql_describe(status, &statement, SQL_DIALECT_V6, row.sqlda.get());
        checkStatus(status, "describe");
    }
    row.bind();
    isc_dsql_execute(status, transaction.handle(), &statement, SQL_DIALECT_V6, nullptr);
    checkStatus(status, "execute " + sql);

    FetchTotals totals;
    const int columns = row.sqlda->sqld;
    ISC_STATUS rc;
    while ((rc = isc_dsql_fetch(status, &statement, SQL_DIALECT_V6, row.sqlda.get())) == 0) {
        ++totals.rows;
        for (int i = 0; i < columns; ++i) {
            if (row.nulls[i] < 0)
                continue;
            ++totals.values;
            const XSQLVAR& var = row.sqlda->sqlvar[i];
            const char* p = var.sqldata;
            switch (var.sqltype & ~1) {
            case SQL_VARYING: {
                const auto length = *reinterpret_cast<const unsigned short*>(p);
                totals.checksum += length + (length > 0 ? p[2] : 0);
                break;
            }
            case SQL_TEXT:
                totals.checksum += p[0];
                break;
            case SQL_SHORT:
                totals.checksum += *reinterpret_cast<const ISC_SHORT*>(p);
                break;
            case SQL_LONG:
                totals.checksum += *reinterpret_cast<const ISC_LONG*>(p);
                break;
            case SQL_INT64:
                totals.checksum += double(*reinterpret_cast<const ISC_INT64*>(p));
                break;
            case SQL_DOUBLE:
                totals.checksum += *reinterpret_cast<const double*>(p);
                break;
            case SQL_TYPE_DATE:
                totals.checksum += *reinterpret_cast<const ISC_DATE*>(p);
                break;
            case SQL_TYPE_TIME:
                totals.checksum += *reinterpret_cast<const ISC_TIME*>(p);
                break;
            case SQL_BLOB:
                totals.checksum +=
                    blobLength(attachment, transaction, *reinterpret_cast<const ISC_QUAD*>(p));
                break;
            default:
                totals.checksum += var.sqllen;
                break;
            }
        }
    }
    if (rc != 100)
        checkStatus(status, "fetch " + sql);
    isc_dsql_free_statement(status, &statement, DSQL_drop);
    transaction.commit();
    return totals;
}

} // namespace bench
