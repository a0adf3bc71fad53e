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

// A text as a literal of the filter language (quotes doubled).
QString quotedLiteral(QString text);

// What a user types in a search box, as a quoted LIKE pattern that finds it anywhere in a text:
// a typed % is a wildcard, everything else (the _ too) stands for itself. Follow it with
// kSearchEscape: `NOME LIKE <pattern> ESCAPE '\'`.
QString searchPattern(QString typed);
inline constexpr const char* kSearchEscape = " ESCAPE '\\'";

// LIKE matching with % (any run) and _ (one character); after `escape`, either stands for
// itself (LIKE '%A\_B%' ESCAPE '\').
bool likeMatch(QStringView text, QStringView pattern, QChar escape = {});

} // namespace data
