#pragma once
// A value a search looks for (locate, lookup, the row a read follows), converted once for every
// row it is compared with. Private to the dataset's files.
#include "platform/data/client_dataset.h"
#include "platform/data/column_store.h"
#include <QVariant>

namespace data {

class Wanted {
public:
    explicit Wanted(const QVariant& value)
        : value_(value), text_(value.toString()), null_(value.isNull()) {
        integer_ = value.toLongLong(&integral_);
        real_ = integral_ ? double(integer_) : value.toDouble(&numeric_);
        numeric_ = numeric_ || integral_;
        emptyText_ = value.typeId() == QMetaType::QString && text_.isEmpty();
    }

    bool matches(const ColumnStore& store, RowId row, int column, LocateOptions options) const {
        const FieldKind kind = store.kind(column);
        if (null_ || (emptyText_ && kind != FieldKind::Text))
            return store.isNull(row, column);
        if (store.isNull(row, column))
            return kind == FieldKind::Text && text_.isEmpty();
        switch (kind) {
        case FieldKind::Text: {
            const QStringView have = store.textView(row, column);
            const Qt::CaseSensitivity cs =
                (options & CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
            if (options & PartialKey)
                return have.startsWith(text_, cs);
            return have.compare(text_, cs) == 0;
        }
        case FieldKind::Integer:
            return integral_ ? integer_ == store.integer(row, column)
                             : numeric_ && real_ == store.integer(row, column);
        case FieldKind::Float:
            return numeric_ && real_ == store.real(row, column);
        case FieldKind::Date:
            return value_.toDate() == store.date(row, column);
        case FieldKind::Time:
            return value_.toTime() == store.time(row, column);
        case FieldKind::Blob:
            return value_.toByteArray() == store.blob(row, column);
        }
        return false;
    }

private:
    QVariant value_;
    QString text_;
    bool null_;
    bool emptyText_ = false;
    qint64 integer_ = 0;
    bool integral_ = false;
    double real_ = 0;
    bool numeric_ = false;
};

} // namespace data
