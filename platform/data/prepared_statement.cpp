#include "platform/data/prepared_statement.h"
#include "platform/data/errors.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include <QSqlError>

namespace data {

PreparedStatement::PreparedStatement(SqlConnection& connection, const QString& sql)
    : sql_(sql), query_(connection.database()) {
    // Qt's driver ties a statement to the transaction it is prepared in.
    if (!connection.inTransaction())
        throw DatabaseError(QStringLiteral("Não há uma transação aberta para gravar os dados."));
    query_.setForwardOnly(true);
    if (!query_.prepare(sql))
        throw DatabaseError::fromFirebird(query_.lastError().databaseText(), 0,
                                          QStringLiteral("Erro no comando SQL."));
}

int PreparedStatement::exec() {
    SqlQuery::runBeforeExecHook(sql_);
    if (!query_.exec())
        throw DatabaseError::fromFirebird(query_.lastError().databaseText(),
                                          query_.lastError().nativeErrorCode().toInt(),
                                          QStringLiteral("Não foi possível gravar os dados."));
    return query_.numRowsAffected();
}

} // namespace data
