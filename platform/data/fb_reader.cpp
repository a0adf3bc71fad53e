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

FbReader::FbReader(unsigned int dbHandle, const QString& select) : d(std::make_unique<Impl>()) {
    d->db = dbHandle;
    static char tpb[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed,
                         isc_tpb_rec_version, isc_tpb_nowait};
    if (isc_start_transaction(d->status, &d->tr, 1, &d->db, short(sizeof tpb), tpb))
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

        SourceColumn column{QString::fromUtf8(v.aliasname, v.aliasname_length), FieldKind::Text, 0};
        switch (v.sqltype & ~1) {
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64:
            column.kind = v.sqlscale == 0 ? FieldKind::Integer : FieldKind::Float;
            break;
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            column.kind = FieldKind::Float;
            break;
        case SQL_TEXT:
        case SQL_VARYING:
            column.kind = FieldKind::Text;
            column.size = v.sqllen / bytesPerChar(v.sqlsubtype);
            break;
        case SQL_TYPE_DATE:
        case SQL_TIMESTAMP:
            column.kind = FieldKind::Date;
            break;
        case SQL_TYPE_TIME:
            column.kind = FieldKind::Time;
            break;
        case SQL_BLOB:
            column.kind = FieldKind::Blob;
            break;
        case SQL_BOOLEAN:
            column.kind = FieldKind::Integer;
            break;
        default:
            column.kind = FieldKind::Text;
            break;
        }
        columns_.push_back(column);
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

qint64 FbReader::integer(int column) const {
    const XSQLVAR& v = d->var(column);
    switch (v.sqltype & ~1) {
    case SQL_SHORT:
        return *reinterpret_cast<const short*>(v.sqldata);
    case SQL_LONG:
        return *reinterpret_cast<const ISC_LONG*>(v.sqldata);
    case SQL_INT64:
        return *reinterpret_cast<const ISC_INT64*>(v.sqldata);
    case SQL_BOOLEAN:
        return *reinterpret_cast<const unsigned char*>(v.sqldata);
    default:
        return qint64(real(column));
    }
}

double FbReader::real(int column) const {
    const XSQLVAR& v = d->var(column);
    switch (v.sqltype & ~1) {
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return *reinterpret_cast<const double*>(v.sqldata);
    case SQL_FLOAT:
        return *reinterpret_cast<const float*>(v.sqldata);
    // Scaled integers (NUMERIC/DECIMAL) are the only ones that need the power of ten.
    case SQL_SHORT:
        return *reinterpret_cast<const short*>(v.sqldata) * std::pow(10.0, v.sqlscale);
    case SQL_LONG:
        return *reinterpret_cast<const ISC_LONG*>(v.sqldata) * std::pow(10.0, v.sqlscale);
    case SQL_INT64:
        return double(*reinterpret_cast<const ISC_INT64*>(v.sqldata)) * std::pow(10.0, v.sqlscale);
    default:
        return 0;
    }
}

const char* FbReader::textData(int column, int* length) const {
    const XSQLVAR& v = d->var(column);
    if ((v.sqltype & ~1) == SQL_VARYING) {
        *length = *reinterpret_cast<const short*>(v.sqldata);
        return v.sqldata + sizeof(short);
    }
    *length = v.sqllen;
    return v.sqldata;
}

QDate FbReader::date(int column) const {
    const XSQLVAR& v = d->var(column);
    const ISC_DATE days = (v.sqltype & ~1) == SQL_TIMESTAMP
                              ? reinterpret_cast<const ISC_TIMESTAMP*>(v.sqldata)->timestamp_date
                              : *reinterpret_cast<const ISC_DATE*>(v.sqldata);
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
