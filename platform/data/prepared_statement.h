#pragma once
// One statement prepared once and run for many rows inside the connection's open transaction:
// how thousands of rows are stored, where SqlQuery prepares its statement at every run. Values
// are bound by position ('?' in the text) and must already fit their columns (Qt's driver cuts a
// long text and wraps a large integer without a word).
#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace data {

class SqlConnection;

class PreparedStatement {
public:
    // Throws DatabaseError when no transaction is open or the text is refused.
    PreparedStatement(SqlConnection& connection, const QString& sql);

    // A null value is bound as SQL NULL.
    void bind(int position, const QVariant& value) { query_.bindValue(position, value); }
    // Runs with the values bound; returns the rows it touched. Throws DatabaseError.
    int exec();

private:
    QString sql_;
    QSqlQuery query_;
};

} // namespace data
