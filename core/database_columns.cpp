#include "core/database_columns.h"
#include "platform/data/errors.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include <optional>

const std::vector<ColumnWidth>& widenedColumns() {
    // A mobile number as people write it, "(11) 98888-7777", is 15 characters.
    static const std::vector<ColumnWidth> columns = {
        {"TFORNECEDOR", "TELEFONE1", 20}, {"TFORNECEDOR", "TELEFONE2", 20},
        {"TFORNECEDOR", "CELULAR", 20},   {"TFORNECEDOR", "FAX", 20},
        {"TEMPRESA", "TELEFONE1", 20},    {"TEMPRESA", "TELEFONE2", 20},
    };
    return columns;
}

namespace {

struct StoredColumn {
    bool fixed = false; // CHAR rather than VARCHAR
    int characters = 0;
    QString characterSet;
};

std::optional<StoredColumn> storedColumn(data::SqlConnection& connection, const ColumnWidth& c) {
    data::SqlQuery read(&connection);
    read.sql() << QStringLiteral("select f.RDB$FIELD_TYPE, coalesce(f.RDB$CHARACTER_LENGTH, "
                                 "f.RDB$FIELD_LENGTH), trim(cs.RDB$CHARACTER_SET_NAME)")
               << QStringLiteral("from RDB$RELATION_FIELDS rf join RDB$FIELDS f on "
                                 "f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE")
               << QStringLiteral("left join RDB$CHARACTER_SETS cs on cs.RDB$CHARACTER_SET_ID = "
                                 "f.RDB$CHARACTER_SET_ID")
               << QStringLiteral("where rf.RDB$RELATION_NAME = :tabela and rf.RDB$FIELD_NAME = "
                                 ":coluna");
    read.setText(QStringLiteral("tabela"), QLatin1String(c.table));
    read.setText(QStringLiteral("coluna"), QLatin1String(c.column));
    read.open();
    constexpr int kChar = 14, kVarchar = 37;
    if (read.eof())
        return std::nullopt;
    const int type = read.value(0).toInt();
    if (type != kChar && type != kVarchar)
        return std::nullopt; // not a text column: not ours to change
    return StoredColumn{type == kChar, read.value(1).toInt(), read.value(2).toString()};
}

} // namespace

QStringList widenColumns(data::SqlConnection& connection) {
    QStringList widened;
    for (const ColumnWidth& c : widenedColumns()) {
        try {
            const std::optional<StoredColumn> stored = storedColumn(connection, c);
            if (!stored || stored->characters >= c.characters)
                continue;
            data::SqlConnection::Transaction transaction(connection);
            data::SqlQuery alter(&connection);
            alter.sql() << QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE %3(%4)%5")
                               .arg(QLatin1String(c.table), QLatin1String(c.column),
                                    stored->fixed ? QStringLiteral("CHAR")
                                                  : QStringLiteral("VARCHAR"))
                               .arg(c.characters)
                               .arg(stored->characterSet.isEmpty()
                                        ? QString()
                                        : " CHARACTER SET " + stored->characterSet);
            alter.exec();
            transaction.commit();
            widened << QLatin1String(c.table) + '.' + QLatin1String(c.column);
        } catch (const data::DataError&) {
            // Left as it is; see the header.
        }
    }
    return widened;
}
