#include "platform/data/column_store.h"

namespace data {

void ColumnStore::reset(const std::vector<FieldKind>& kinds) {
    ++version_;
    columns_.clear();
    columns_.resize(kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i)
        columns_[i].kind = kinds[i];
    live_.clear();
}

void ColumnStore::clear() {
    ++version_;
    for (auto& c : columns_) {
        FieldKind kind = c.kind;
        c = Column{};
        c.kind = kind;
    }
    live_.clear();
    live_.shrink_to_fit();
}

RowId ColumnStore::appendRow() {
    ++version_;
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
    ++version_;
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
    return c.null[row] ? QDate() : QDate::fromJulianDay(c.i32[row]);
}

QTime ColumnStore::time(RowId row, int column) const {
    const auto& c = columns_[column];
    return c.null[row] ? QTime() : QTime::fromMSecsSinceStartOfDay(c.i32[row]);
}

void ColumnStore::setInteger(RowId row, int column, qint32 v) {
    ++version_;
    columns_[column].i32[row] = v;
    columns_[column].null[row] = 0;
}

void ColumnStore::setReal(RowId row, int column, double v) {
    ++version_;
    columns_[column].f64[row] = v;
    columns_[column].null[row] = 0;
}

void ColumnStore::setText(RowId row, int column, QStringView v) {
    ++version_;
    auto& c = columns_[column];
    // Always appended, never written over: a stored text may be shared by other rows.
    const char16_t* chars = reinterpret_cast<const char16_t*>(v.utf16());
    const std::size_t start = c.arena.size();
    c.arena.insert(c.arena.end(), chars, chars + v.size());
    keepText(c, row, start);
}

void ColumnStore::keepText(Column& c, RowId row, std::size_t start) {
    const auto length = std::uint16_t(c.arena.size() - start);
    c.start[row] = std::uint32_t(start);
    c.length[row] = length;
    c.null[row] = 0;
    // Texts repeat down a column (a movement's kind, a supplier's name on every entry): one
    // equal to a text met recently is kept once, shared by the rows that hold it. A column
    // whose texts seldom repeat (descriptions, codes) soon stops paying for the search.
    if (length == 0 || (c.textsTried >= kRecentTexts * 4 && c.textsShared * 8 < c.textsTried))
        return;
    ++c.textsTried;
    const QStringView text(c.arena.data() + start, length);
    if (c.recent.empty())
        c.recent.resize(kRecentTexts);
    TextRef& seen = c.recent[qHash(text) & (kRecentTexts - 1)];
    if (seen.length == length &&
        std::equal(c.arena.begin() + seen.start, c.arena.begin() + seen.start + length,
                   c.arena.begin() + start)) {
        ++c.textsShared;
        c.arena.resize(start);
        c.start[row] = seen.start;
        return;
    }
    seen = {std::uint32_t(start), length};
}

void ColumnStore::setTextUtf8(RowId row, int column, const char* bytes, int length) {
    ++version_;
    // Decoded straight into the arena: no QString per value while a table is read.
    auto& c = columns_[column];
    const std::size_t start = c.arena.size();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    const auto* end = p + length;
    while (p < end) {
        char32_t cp = *p;
        int extra = 0;
        if (cp < 0x80) {
            c.arena.push_back(char16_t(cp));
            ++p;
            continue;
        }
        if ((cp & 0xE0) == 0xC0) {
            cp &= 0x1F;
            extra = 1;
        } else if ((cp & 0xF0) == 0xE0) {
            cp &= 0x0F;
            extra = 2;
        } else if ((cp & 0xF8) == 0xF0) {
            cp &= 0x07;
            extra = 3;
        } else {
            c.arena.push_back(u'\uFFFD');
            ++p;
            continue;
        }
        if (end - p <= extra) {
            c.arena.push_back(u'\uFFFD');
            break;
        }
        bool valid = true;
        for (int i = 1; i <= extra; ++i) {
            valid = valid && (p[i] & 0xC0) == 0x80;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        p += extra + 1;
        if (!valid) {
            c.arena.push_back(u'\uFFFD');
        } else if (cp >= 0x10000) {
            cp -= 0x10000;
            c.arena.push_back(char16_t(0xD800 + (cp >> 10)));
            c.arena.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            c.arena.push_back(char16_t(cp));
        }
    }
    keepText(c, row, start);
}

void ColumnStore::setDate(RowId row, int column, const QDate& v) {
    ++version_;
    if (!v.isValid())
        return setNull(row, column);
    setInteger(row, column, qint32(v.toJulianDay()));
}

void ColumnStore::setTime(RowId row, int column, const QTime& v) {
    ++version_;
    if (!v.isValid())
        return setNull(row, column);
    setInteger(row, column, v.msecsSinceStartOfDay());
}

void ColumnStore::setBlob(RowId row, int column, const QByteArray& v) {
    ++version_;
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

} // namespace data
