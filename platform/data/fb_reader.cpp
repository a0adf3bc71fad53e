#include "platform/data/fb_reader.h"
#include "platform/data/errors.h"
#include <cmath>
#include <cstring>
#include <ibase.h>

namespace data {

namespace {

QString statusText(const ISC_STATUS* status) {
    QString text;
    char buffer[512];
    const ISC_STATUS* p = status;
    while (fb_interpret(buffer, sizeof buffer, &p)) {
        if (!text.isEmpty())
            text += '\n';
        text += QString::fromUtf8(buffer);
    }
    return text;
}

[[noreturn]] void fail(const ISC_STATUS* status, const char* context) {
    throw DatabaseError::fromFirebird(statusText(status), int(isc_sqlcode(status)),
                                      QString::fromUtf8(context));
}

int bytesPerChar(short charset) {
    switch (charset & 0xFF) {
    case 4:
        return 4; // UTF8
    case 3:
        return 3; // UNICODE_FSS
    default:
        return 1;
    }
}

// What a field of the dataset can hold without changing the value: 32-bit integers, doubles,
// variable text, dates, times and blobs, the types the program's tables use. The rest is named
// so that opening a table with such a column says which one instead of reading it wrong.
SourceColumn describe(const XSQLVAR& v) {
    SourceColumn column;
    column.name = QString::fromUtf8(v.aliasname, v.aliasname_length);
    const auto held = [&](FieldKind kind, const QString& name) {
        column.kind = kind;
        column.held = true;
        column.typeName = name;
    };
    const auto refused = [&](const QString& name) { column.typeName = name; };
    // NUMERIC/DECIMAL (an integer of so many decimals) as older programs kept prices: a number
    // of the dataset, rounded to those decimals when written.
    const bool scaled = v.sqlscale < 0;
    if (scaled && ((v.sqltype & ~1) == SQL_SHORT || (v.sqltype & ~1) == SQL_LONG ||
                   (v.sqltype & ~1) == SQL_INT64)) {
        column.decimals = -v.sqlscale;
        held(FieldKind::Float, QStringLiteral("NUMERIC com %1 casas decimais").arg(-v.sqlscale));
        return column;
    }
    switch (v.sqltype & ~1) {
    case SQL_LONG:
        held(FieldKind::Integer, QStringLiteral("INTEGER"));
        break;
    case SQL_DOUBLE:
        held(FieldKind::Float, QStringLiteral("DOUBLE PRECISION"));
        break;
    case SQL_VARYING:
        column.size = v.sqllen / bytesPerChar(v.sqlsubtype);
        held(FieldKind::Text, QStringLiteral("VARCHAR(%1)").arg(column.size));
        break;
    case SQL_TYPE_DATE:
        held(FieldKind::Date, QStringLiteral("DATE"));
        break;
    case SQL_TYPE_TIME:
        held(FieldKind::Time, QStringLiteral("TIME"));
        break;
    case SQL_BLOB:
        held(FieldKind::Blob, QStringLiteral("BLOB"));
        break;
    case SQL_SHORT: // would wrap values beyond 16 bits on writing
        refused(QStringLiteral("SMALLINT"));
        break;
    case SQL_INT64: // beyond 32 bits
        refused(QStringLiteral("BIGINT"));
        break;
    case SQL_TEXT: // padded with spaces to its length, which reading drops
        column.size = v.sqllen / bytesPerChar(v.sqlsubtype);
        held(FieldKind::Text, QStringLiteral("CHAR(%1)").arg(column.size));
        break;
    case SQL_FLOAT: // single precision: a double written to it comes back changed
        refused(QStringLiteral("FLOAT"));
        break;
    case SQL_TIMESTAMP: // date and time in one
        refused(QStringLiteral("TIMESTAMP"));
        break;
    case SQL_BOOLEAN:
        refused(QStringLiteral("BOOLEAN"));
        break;
    default:
        refused(QStringLiteral("desconhecido (%1)").arg(v.sqltype & ~1));
        break;
    }
    return column;
}

// Days between Firebird's date origin (17 Nov 1858) and the Julian day count.
constexpr qint64 kFirebirdEpochJulianDay = 2400001;

} // namespace

struct FbReader::Impl {
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    isc_stmt_handle stmt = 0;
    ISC_STATUS_ARRAY status{};
    XSQLDA* out = nullptr;
    std::vector<char> buffer;
    std::vector<short> nulls;

    ~Impl() {
        ISC_STATUS_ARRAY s;
        if (stmt)
            isc_dsql_free_statement(s, &stmt, DSQL_drop);
        if (tr)
            isc_commit_transaction(s, &tr); // read-only: nothing to keep or lose
        std::free(out);
    }
    const XSQLVAR& var(int i) const { return out->sqlvar[i]; }
};

FbReader::FbReader(unsigned int dbHandle, const QString& select, Isolation isolation)
    : d(std::make_unique<Impl>()) {
    d->db = dbHandle;
    static char committed[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed,
                               isc_tpb_rec_version, isc_tpb_nowait};
    static char snapshot[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_concurrency, isc_tpb_nowait};
    char* tpb = isolation == Isolation::Snapshot ? snapshot : committed;
    const auto tpbLength =
        short(isolation == Isolation::Snapshot ? sizeof snapshot : sizeof committed);
    if (isc_start_transaction(d->status, &d->tr, 1, &d->db, tpbLength, tpb))
        fail(d->status, "Não foi possível iniciar a leitura.");
    if (isc_dsql_allocate_statement(d->status, &d->db, &d->stmt))
        fail(d->status, "Não foi possível preparar a leitura.");

    d->out = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(1)));
    d->out->version = SQLDA_VERSION1;
    d->out->sqln = 1;
    const QByteArray sql = select.toUtf8();
    if (isc_dsql_prepare(d->status, &d->tr, &d->stmt, 0, sql.constData(), 3, d->out))
        fail(d->status, "Não foi possível ler os dados.");
    if (d->out->sqld > d->out->sqln) {
        const short n = d->out->sqld;
        std::free(d->out);
        d->out = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(n)));
        d->out->version = SQLDA_VERSION1;
        d->out->sqln = n;
        if (isc_dsql_describe(d->status, &d->stmt, 1, d->out))
            fail(d->status, "Não foi possível ler os dados.");
    }

    // One buffer for the whole row, each value aligned for its type.
    const int n = d->out->sqld;
    std::vector<std::size_t> offsets(n);
    std::size_t size = 0;
    for (int i = 0; i < n; ++i) {
        XSQLVAR& v = d->out->sqlvar[i];
        std::size_t length = v.sqllen;
        if ((v.sqltype & ~1) == SQL_VARYING)
            length += sizeof(short);
        size = (size + 7) & ~std::size_t(7);
        offsets[i] = size;
        size += length;
    }
    d->buffer.resize(size + 8);
    d->nulls.resize(n);
    for (int i = 0; i < n; ++i) {
        XSQLVAR& v = d->out->sqlvar[i];
        v.sqldata = d->buffer.data() + offsets[i];
        v.sqlind = &d->nulls[i];
        v.sqltype |= 1; // always ask for the null indicator

        columns_.push_back(describe(v));
    }

    if (isc_dsql_execute(d->status, &d->tr, &d->stmt, 3, nullptr))
        fail(d->status, "Não foi possível ler os dados.");
}

FbReader::~FbReader() = default;

bool FbReader::fetch() {
    const ISC_STATUS rc = isc_dsql_fetch(d->status, &d->stmt, 3, d->out);
    if (rc == 100)
        return false;
    if (rc)
        fail(d->status, "Não foi possível ler os dados.");
    return true;
}

bool FbReader::isNull(int column) const {
    return d->nulls[column] < 0;
}

qint32 FbReader::integer(int column) const {
    return *reinterpret_cast<const ISC_LONG*>(d->var(column).sqldata);
}

double FbReader::real(int column) const {
    const XSQLVAR& v = d->var(column);
    if (v.sqlscale >= 0)
        return *reinterpret_cast<const double*>(v.sqldata);
    qint64 units = 0;
    switch (v.sqltype & ~1) {
    case SQL_SHORT:
        units = *reinterpret_cast<const short*>(v.sqldata);
        break;
    case SQL_LONG:
        units = *reinterpret_cast<const ISC_LONG*>(v.sqldata);
        break;
    default:
        units = *reinterpret_cast<const ISC_INT64*>(v.sqldata);
        break;
    }
    // Divided, not multiplied by a fraction: 435 / 100 is the double nearest 4,35.
    return double(units) / std::pow(10.0, -v.sqlscale);
}

const char* FbReader::textData(int column, int* length) const {
    const XSQLVAR& v = d->var(column);
    if ((v.sqltype & ~1) == SQL_VARYING) {
        *length = *reinterpret_cast<const short*>(v.sqldata);
        return v.sqldata + sizeof(short);
    }
    // CHAR: its padding is not part of the value.
    int used = v.sqllen;
    while (used > 0 && v.sqldata[used - 1] == ' ')
        --used;
    *length = used;
    return v.sqldata;
}

QDate FbReader::date(int column) const {
    const ISC_DATE days = *reinterpret_cast<const ISC_DATE*>(d->var(column).sqldata);
    return QDate::fromJulianDay(days + kFirebirdEpochJulianDay);
}

QTime FbReader::time(int column) const {
    const XSQLVAR& v = d->var(column);
    const ISC_TIME t = *reinterpret_cast<const ISC_TIME*>(v.sqldata); // 1/10000 s
    return QTime::fromMSecsSinceStartOfDay(int(t / 10));
}

QByteArray FbReader::blob(int column) const {
    const XSQLVAR& v = d->var(column);
    ISC_QUAD id = *reinterpret_cast<const ISC_QUAD*>(v.sqldata);
    isc_blob_handle handle = 0;
    ISC_STATUS_ARRAY status;
    if (isc_open_blob2(status, &d->db, &d->tr, &handle, &id, 0, nullptr))
        fail(status, "Não foi possível ler uma imagem do banco de dados.");
    QByteArray bytes;
    char segment[32768];
    unsigned short got = 0;
    for (;;) {
        const ISC_STATUS rc = isc_get_segment(status, &handle, &got, sizeof segment, segment);
        if (rc == 0 || status[1] == isc_segment) {
            bytes.append(segment, got);
            continue;
        }
        if (status[1] == isc_segstr_eof)
            break;
        const QString text = statusText(status);
        isc_close_blob(status, &handle);
        throw DatabaseError::fromFirebird(
            text, 0, QStringLiteral("Não foi possível ler uma imagem do banco de dados."));
    }
    isc_close_blob(status, &handle);
    if (bytes.isNull())
        bytes = QByteArray(""); // present but empty
    return bytes;
}

} // namespace data
