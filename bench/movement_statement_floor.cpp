#include "bench/movement_statement_floor.h"
#include "platform/data/client_dataset.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include <QDate>
#include <QTime>

namespace bench {

namespace {

using data::SqlConnection;
using data::SqlQuery;

int nextMovementCode(SqlConnection& connection) {
    SqlQuery query(&connection);
    query.sql() << QStringLiteral("select max(codigo) from TMOVIMENTACAO");
    query.open();
    const int next = query.value(0).toInt() + 1;
    query.close();
    return next;
}

void insertNew(SqlConnection& connection, int code) {
    SqlQuery insert(&connection);
    insert.sql() << QStringLiteral("insert into TMOVIMENTACAO (CODIGO, TIPO) values (:CODIGO, "
                                   ":TIPO)");
    insert.setInteger(QStringLiteral("CODIGO"), code);
    insert.setText(QStringLiteral("TIPO"), QStringLiteral("ENTRADA"));
    insert.exec();
}

void insertWhole(SqlConnection& connection, int code, int product, double quantity) {
    SqlQuery insert(&connection);
    insert.sql() << QStringLiteral("insert into TMOVIMENTACAO (CODIGO, PRODUTO, QUANTIDADE, "
                                   "PRECO_UNITARIO, PRECO_TOTAL, DATA, HORARIO, NOTA_COMPRA, TIPO)")
                 << QStringLiteral("values (:CODIGO, :PRODUTO, :QUANTIDADE, :PRECO_UNITARIO, "
                                   ":PRECO_TOTAL, :DATA, :HORARIO, :NOTA_COMPRA, :TIPO)");
    insert.setInteger(QStringLiteral("CODIGO"), code);
    insert.setInteger(QStringLiteral("PRODUTO"), product);
    insert.setFloat(QStringLiteral("QUANTIDADE"), quantity);
    insert.setFloat(QStringLiteral("PRECO_UNITARIO"), 2.5);
    insert.setFloat(QStringLiteral("PRECO_TOTAL"), 2.5 * quantity);
    insert.setDate(QStringLiteral("DATA"), QDate::currentDate());
    const QTime now = QTime::currentTime();
    insert.setTime(QStringLiteral("HORARIO"), QTime(now.hour(), now.minute()));
    insert.setText(QStringLiteral("NOTA_COMPRA"), QStringLiteral("123"));
    insert.setText(QStringLiteral("TIPO"), QStringLiteral("ENTRADA"));
    insert.exec();
}

void addStock(SqlConnection& connection, int product, double quantity) {
    SqlQuery update(&connection);
    update.sql() << QStringLiteral("update TPRODUTO set ESTOQUEATUAL = ESTOQUEATUAL + :QUANTIDADE "
                                   "where CODIGO = :CODIGO");
    update.setFloat(QStringLiteral("QUANTIDADE"), quantity);
    update.setInteger(QStringLiteral("CODIGO"), product);
    update.exec();
}

void deleteMovement(SqlConnection& connection, int code) {
    SqlQuery remove(&connection);
    remove.sql() << QStringLiteral("delete from TMOVIMENTACAO where CODIGO = :CODIGO");
    remove.setInteger(QStringLiteral("CODIGO"), code);
    remove.exec();
}

} // namespace

StatementFloor timeMovementStatements(SqlConnection& connection, int product, int repeat) {
    StatementFloor floor;
    for (int round = 0; round < repeat; ++round) {
        int code = 0;
        floor.novo.add(millisecondsOf([&] {
            SqlConnection::Transaction transaction(connection);
            floor.maxCode.add(millisecondsOf([&] { code = nextMovementCode(connection); }));
            insertNew(connection, code);
            transaction.commit();
        }));
        floor.salvar.add(millisecondsOf([&] {
            SqlConnection::Transaction transaction(connection);
            addStock(connection, product, 1);
            insertWhole(connection, code + 1, product, 1);
            transaction.commit();
        }));
        floor.excluir.add(millisecondsOf([&] {
            SqlConnection::Transaction transaction(connection);
            deleteMovement(connection, code + 1);
            addStock(connection, product, -1);
            transaction.commit();
        }));
        SqlConnection::Transaction transaction(connection);
        deleteMovement(connection, code);
        transaction.commit();
    }
    return floor;
}

StepTimings timeReread(data::ClientDataSet& dataSet, int repeat) {
    StepTimings timings;
    for (int round = 0; round < repeat; ++round)
        timings.add(millisecondsOf([&] {
            dataSet.close();
            dataSet.open();
            dataSet.readAll(); // every row, not only the first slice
        }));
    return timings;
}

} // namespace bench
