#pragma once
// The small filter language of datasets: comparisons, LIKE with % and _, UPPER/LOWER/TRIM,
// IS [NOT] NULL, IN (...), AND/OR/NOT, parentheses, quoted texts with doubled quotes, numbers,
// and field names (plain or in [brackets]). A number compared with a text converts the text, so
// GRUPO = '3' matches an integer 3; a date compared with a text reads it as DD/MM/YYYY.
#include "platform/data/column_store.h"
#include <QString>
#include <functional>
#include <memory>

namespace data {

class FilterExpression {
public:
    // fieldIndex returns -1 for an unknown name. Throws DataError on a malformed expression.
    FilterExpression(const QString& text, const std::function<int(const QString&)>& fieldIndex);
    ~FilterExpression();
    bool matches(const ColumnStore& store, RowId row) const;

    struct Node;

private:
    std::unique_ptr<Node> root_;
};

// LIKE matching with % (any run) and _ (one character).
bool likeMatch(QStringView text, QStringView pattern);

} // namespace data
