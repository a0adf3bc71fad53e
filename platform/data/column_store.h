#pragma once
// Rows held column by column in typed arrays: a million movements take a few bytes per value
// instead of a QVariant each. Text lives in one UTF-16 arena per column; a changed text is
// appended and the old one left until the store is cleared; equal texts met close together are
// kept once.
#include "platform/data/field_def.h"
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace data {

using RowId = std::uint32_t;
inline constexpr RowId kNoRow = 0xFFFFFFFFu;

class ColumnStore {
public:
    void reset(const std::vector<FieldKind>& kinds);
    void clear(); // keeps the columns, drops the rows
    FieldKind kind(int column) const { return columns_[column].kind; }

    std::size_t rowCount() const { return live_.size(); } // including dead rows
    RowId appendRow();                                    // all values null
    bool alive(RowId row) const { return live_[row] != 0; }
    void setAlive(RowId row, bool alive) {
        live_[row] = alive ? 1 : 0;
        ++version_;
    }
    // Counts every change of rows or values, so that what is worked out from them (a sorted
    // order) is known to be current.
    quint64 version() const { return version_; }

    bool isNull(RowId row, int column) const;
    void setNull(RowId row, int column);
    qint32 integer(RowId row, int column) const { return columns_[column].i32[row]; }
    double real(RowId row, int column) const { return columns_[column].f64[row]; }
    QString text(RowId row, int column) const;
    QStringView textView(RowId row, int column) const;
    QDate date(RowId row, int column) const;
    QTime time(RowId row, int column) const;
    const QByteArray& blob(RowId row, int column) const { return columns_[column].blobs[row]; }

    void setInteger(RowId row, int column, qint32 v);
    void setReal(RowId row, int column, double v);
    void setText(RowId row, int column, QStringView v);
    // Appends UTF-8 text read from the database.
    void setTextUtf8(RowId row, int column, const char* bytes, int length);
    void setDate(RowId row, int column, const QDate& v);
    void setTime(RowId row, int column, const QTime& v);
    void setBlob(RowId row, int column, const QByteArray& v);

    // Values already checked against the column's kind.
    QVariant value(RowId row, int column) const;
    void setValue(RowId row, int column, const QVariant& v);

private:
    struct TextRef {
        std::uint32_t start = 0;
        std::uint16_t length = 0; // 0: nothing kept
    };
    static constexpr std::size_t kRecentTexts = 1024; // a power of two
    struct Column {
        FieldKind kind = FieldKind::Text;
        std::vector<std::uint8_t> null; // 1 = empty
        std::vector<qint32> i32;        // integer, date (julian day), time (ms)
        std::vector<double> f64;
        std::vector<char16_t> arena; // text
        std::vector<std::uint32_t> start;
        std::vector<std::uint16_t> length;
        std::vector<TextRef> recent; // by the text's hash
        std::size_t textsTried = 0, textsShared = 0;
        std::vector<QByteArray> blobs;
    };
    // Stores the text just appended at `start` as the row's, sharing an equal recent one.
    void keepText(Column& c, RowId row, std::size_t start);

    std::vector<Column> columns_;
    std::vector<std::uint8_t> live_;
    quint64 version_ = 0;
};

} // namespace data
