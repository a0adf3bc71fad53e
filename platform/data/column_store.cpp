#include "platform/data/column_store.h"

namespace data {

namespace {
constexpr qint64 kJulianOffset = 0; // dates kept as Qt's julian day number
}

void ColumnStore::reset(const std::vector<FieldKind>& kinds) {
    columns_.clear();
    columns_.resize(kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i)
        columns_[i].kind = kinds[i];
    live_.clear();
}

void ColumnStore::clear() {
    for (auto& c : columns_) {
        FieldKind kind = c.kind;
        c = Column{};
        c.kind = kind;
    }
    live_.clear();
    live_.shrink_to_fit();
}

void ColumnStore::reserve(std::size_t rows) {
    live_.reserve(rows);
    for (auto& c : columns_) {
        c.null.reserve(rows);
        switch (c.kind) {
        case FieldKind::Integer:
        case FieldKind::Date:
        case FieldKind::Time:
            c.i32.reserve(rows);
            break;
        case FieldKind::Float:
            c.f64.reserve(rows);
            break;
        case FieldKind::Text:
            c.start.reserve(rows);
            c.length.reserve(rows);
            break;
        case FieldKind::Blob:
            c.blobs.reserve(rows);
            break;
        }
    }
}

RowId ColumnStore::appendRow() {
    RowId row = RowId(live_.size());
    live_.push_back(1);
    for (auto& c : columns_) {
        c.null.push_back(1);
        switch (c.kind) {
        case FieldKind::Integer:
        case FieldKind::Date:
        case FieldKind::Time:
            c.i32.push_back(0);
            break;
        case FieldKind::Float:
            c.f64.push_back(0);
            break;
        case FieldKind::Text:
            c.start.push_back(0);
            c.length.push_back(0);
            break;
        case FieldKind::Blob:
            c.blobs.emplace_back();
            break;
        }
    }
    return row;
}

bool ColumnStore::isNull(RowId row, int column) const {
    return columns_[column].null[row] != 0;
}

void ColumnStore::setNull(RowId row, int column) {
    auto& c = columns_[column];
    c.null[row] = 1;
    if (c.kind == FieldKind::Blob)
        c.blobs[row] = QByteArray();
}

QStringView ColumnStore::textView(RowId row, int column) const {
    const auto& c = columns_[column];
    if (c.null[row])
        return {};
    return QStringView(c.arena.data() + c.start[row], c.length[row]);
}

QString ColumnStore::text(RowId row, int column) const {
    return textView(row, column).toString();
}

QDate ColumnStore::date(RowId row, int column) const {
    const auto& c = columns_[column];
    return c.null[row] ? QDate() : QDate::fromJulianDay(c.i32[row] + kJulianOffset);
}

QTime ColumnStore::time(RowId row, int column) const {
    const auto& c = columns_[column];
    return c.null[row] ? QTime() : QTime::fromMSecsSinceStartOfDay(c.i32[row]);
}

void ColumnStore::setInteger(RowId row, int column, qint32 v) {
    columns_[column].i32[row] = v;
    columns_[column].null[row] = 0;
}

void ColumnStore::setReal(RowId row, int column, double v) {
    columns_[column].f64[row] = v;
    columns_[column].null[row] = 0;
}

void ColumnStore::setText(RowId row, int column, QStringView v) {
    auto& c = columns_[column];
    // Same length fits in place (common when a code or flag is retyped); otherwise append.
    const char16_t* chars = reinterpret_cast<const char16_t*>(v.utf16());
    if (!c.null[row] && v.size() <= c.length[row]) {
        std::copy(chars, chars + v.size(), c.arena.begin() + c.start[row]);
    } else {
        c.start[row] = std::uint32_t(c.arena.size());
        c.arena.insert(c.arena.end(), chars, chars + v.size());
    }
    c.length[row] = std::uint16_t(v.size());
    c.null[row] = 0;
}

void ColumnStore::setTextUtf8(RowId row, int column, const char* bytes, int length,
                              QString& scratch) {
    auto& c = columns_[column];
    bool ascii = true;
    for (int i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
    if (!ascii) {
        scratch = QString::fromUtf8(bytes, length);
        return setText(row, column, scratch);
    }
    c.start[row] = std::uint32_t(c.arena.size());
    c.arena.insert(c.arena.end(), bytes, bytes + length);
    c.length[row] = std::uint16_t(length);
    c.null[row] = 0;
}

void ColumnStore::setDate(RowId row, int column, const QDate& v) {
    if (!v.isValid())
        return setNull(row, column);
    setInteger(row, column, qint32(v.toJulianDay() - kJulianOffset));
}

void ColumnStore::setTime(RowId row, int column, const QTime& v) {
    if (!v.isValid())
        return setNull(row, column);
    setInteger(row, column, v.msecsSinceStartOfDay());
}

void ColumnStore::setBlob(RowId row, int column, const QByteArray& v) {
    auto& c = columns_[column];
    c.blobs[row] = v;
    c.null[row] = v.isNull() ? 1 : 0;
}

QVariant ColumnStore::value(RowId row, int column) const {
    const auto& c = columns_[column];
    if (c.null[row]) {
        switch (c.kind) {
        case FieldKind::Integer:
            return QVariant(QMetaType::fromType<int>());
        case FieldKind::Float:
            return QVariant(QMetaType::fromType<double>());
        case FieldKind::Text:
            return QVariant(QMetaType::fromType<QString>());
        case FieldKind::Date:
            return QVariant(QMetaType::fromType<QDate>());
        case FieldKind::Time:
            return QVariant(QMetaType::fromType<QTime>());
        case FieldKind::Blob:
            return QVariant(QMetaType::fromType<QByteArray>());
        }
    }
    switch (c.kind) {
    case FieldKind::Integer:
        return c.i32[row];
    case FieldKind::Float:
        return c.f64[row];
    case FieldKind::Text:
        return text(row, column);
    case FieldKind::Date:
        return date(row, column);
    case FieldKind::Time:
        return time(row, column);
    case FieldKind::Blob:
        return c.blobs[row];
    }
    return {};
}

void ColumnStore::setValue(RowId row, int column, const QVariant& v) {
    if (v.isNull())
        return setNull(row, column);
    switch (columns_[column].kind) {
    case FieldKind::Integer:
        return setInteger(row, column, v.toInt());
    case FieldKind::Float:
        return setReal(row, column, v.toDouble());
    case FieldKind::Text:
        return setText(row, column, v.toString());
    case FieldKind::Date:
        return setDate(row, column, v.toDate());
    case FieldKind::Time:
        return setTime(row, column, v.toTime());
    case FieldKind::Blob:
        return setBlob(row, column, v.toByteArray());
    }
}

std::size_t ColumnStore::memoryBytes() const {
    std::size_t bytes = live_.capacity();
    for (const auto& c : columns_) {
        bytes += c.null.capacity() + c.i32.capacity() * 4 + c.f64.capacity() * 8 +
                 c.arena.capacity() * 2 + c.start.capacity() * 4 + c.length.capacity() * 2;
        for (const auto& b : c.blobs)
            bytes += sizeof(QByteArray) + std::size_t(b.size());
    }
    return bytes;
}

} // namespace data
