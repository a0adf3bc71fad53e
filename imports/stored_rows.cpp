#include "imports/stored_rows.h"
#include "platform/data/fb_reader.h"
#include "platform/data/sql_connection.h"

namespace imports {

StoredRows::StoredRows(data::SqlConnection& connection, const QString& table,
                       const QStringList& columns, const QStringList& indexed)
    : columns_(columns) {
    QStringList select{QStringLiteral("CODIGO")};
    select << columns;
    // Straight through fbclient: a hundred thousand products are read in a blink.
    data::FbReader reader(connection.nativeHandle(),
                          QStringLiteral("select %1 from %2").arg(select.join(", "), table));
    const auto& kinds = reader.columns();
    std::vector<int> searched; // positions in a row
    for (const QString& column : indexed) {
        byText_[column];
        if (const qsizetype c = columns.indexOf(column); c >= 0)
            searched.push_back(int(c) + 1);
    }
    while (reader.fetch()) {
        std::vector<QVariant> row(kinds.size());
        for (int c = 0; c < int(kinds.size()); ++c) {
            if (reader.isNull(c))
                continue;
            switch (kinds[std::size_t(c)].kind) {
            case data::FieldKind::Integer:
                row[std::size_t(c)] = reader.integer(c);
                break;
            case data::FieldKind::Float:
                row[std::size_t(c)] = reader.real(c);
                break;
            case data::FieldKind::Date:
                row[std::size_t(c)] = reader.date(c);
                break;
            case data::FieldKind::Text: {
                int length = 0;
                const char* bytes = reader.textData(c, &length);
                row[std::size_t(c)] = QString::fromUtf8(bytes, length);
                break;
            }
            default:
                break;
            }
        }
        const int index = int(rows_.size());
        const int code = row.front().toInt();
        byCode_.insert(code, index);
        maxCode_ = std::max(maxCode_, code);
        for (const int c : searched)
            if (row[std::size_t(c)].typeId() == QMetaType::QString)
                byText_[columns_[c - 1]].insert(row[std::size_t(c)].toString().trimmed(), index);
        rows_.push_back(std::move(row));
    }
}

QVariant StoredRows::value(int row, const QString& column) const {
    const qsizetype c = columns_.indexOf(column);
    return c < 0 ? QVariant() : rows_[std::size_t(row)][std::size_t(c) + 1];
}

QList<int> StoredRows::findText(const QString& column, const QString& text) const {
    const auto index = byText_.constFind(column);
    return index == byText_.cend() ? QList<int>() : index->values(text);
}

} // namespace imports
