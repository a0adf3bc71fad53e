#include "core/product_bar_codes.h"
#include "core/bar_code.h"
#include "platform/data/prepared_statement.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"

QString BarCodeOwner::label() const {
    return QString::number(code) + QStringLiteral(" - ") + description;
}

std::vector<BarCodeOwner> barCodeOwners(data::SqlConnection& connection, const QString& code) {
    std::vector<BarCodeOwner> owners;
    if (code.isEmpty())
        return owners;
    data::SqlQuery query(&connection);
    query.sql() << QStringLiteral("SELECT CODIGO, DESCRICAO FROM TPRODUTO")
                << QStringLiteral("WHERE CODIGOBARRAS = :codigo OR CODIGOBARRAS = :maiusculo")
                << QStringLiteral("ORDER BY CODIGO");
    query.setText(QStringLiteral("codigo"), code);
    query.setText(QStringLiteral("maiusculo"), code.toUpper());
    for (query.open(); !query.eof(); query.next())
        owners.push_back({query.value(0).toInt(), query.value(1).toString()});
    return owners;
}

std::vector<std::pair<int, QString>> giveInternalCodes(data::SqlConnection& connection,
                                                       const std::vector<int>& products) {
    data::SqlConnection::Transaction transaction(connection);
    // Every code of the shop's own range stored now, read in the transaction that stores more.
    QSet<QString> taken;
    {
        data::SqlQuery read(&connection);
        read.sql() << QStringLiteral("SELECT CODIGOBARRAS FROM TPRODUTO")
                   << QStringLiteral("WHERE CODIGOBARRAS STARTING WITH '2'");
        for (read.open(); !read.eof(); read.next())
            taken.insert(read.value(0).toString().trimmed());
    }
    const std::vector<QString> codes = barcode::internalCodes(products, taken);
    // A product given a code meanwhile (another station) keeps it.
    data::PreparedStatement update(
        connection, QStringLiteral("UPDATE TPRODUTO SET CODIGOBARRAS = ? WHERE CODIGO = ? AND "
                                   "(CODIGOBARRAS IS NULL OR CODIGOBARRAS = '')"));
    std::vector<std::pair<int, QString>> given;
    for (std::size_t i = 0; i < products.size(); ++i) {
        update.bind(0, codes[i]);
        update.bind(1, products[i]);
        if (update.exec() > 0)
            given.emplace_back(products[i], codes[i]);
    }
    transaction.commit();
    return given;
}
