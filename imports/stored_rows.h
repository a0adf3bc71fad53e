#pragma once
// The rows a register holds now, read once for an import to match the sheet's rows against: by
// code, and by the text of each other column asked for (trimmed, exact).
#include <QHash>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace data {
class SqlConnection;
}

namespace imports {

class StoredRows {
public:
    // Reads CODIGO and the columns of every row of the table; the text columns among `indexed`
    // can be searched.
    StoredRows(data::SqlConnection& connection, const QString& table, const QStringList& columns,
               const QStringList& indexed);

    int count() const { return int(rows_.size()); }
    int maxCode() const { return maxCode_; }
    int code(int row) const { return rows_[std::size_t(row)].front().toInt(); }
    QVariant value(int row, const QString& column) const;

    int findCode(int code) const { return byCode_.value(code, -1); }
    // The rows whose indexed column holds exactly this text (trimmed).
    QList<int> findText(const QString& column, const QString& text) const;

private:
    QStringList columns_;
    std::vector<std::vector<QVariant>> rows_; // CODIGO first, then the columns in order
    QHash<int, int> byCode_;
    QHash<QString, QMultiHash<QString, int>> byText_;
    int maxCode_ = 0;
};

} // namespace imports
