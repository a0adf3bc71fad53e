#include "core/database_indexes.h"
#include "platform/data/errors.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include "platform/data/text_order.h"

const char* const kProductDescriptionOrderIndex = "TPRODUTO_DESCRICAO_ORDEM";

QString productDescriptionOrder() {
    return data::foldForOrderSql(QStringLiteral("DESCRICAO"));
}

const std::vector<DatabaseIndex>& databaseIndexes() {
    static const std::vector<DatabaseIndex> indexes = {
        // "Novo" takes max(codigo) + 1, which an ascending key serves only for min().
        {"TPRODUTO_CODIGO_DESC", "TPRODUTO", "CODIGO", true},
        {"TCLIENTE_CODIGO_DESC", "TCLIENTE", "CODIGO", true},
        {"TMOVIMENTACAO_CODIGO_DESC", "TMOVIMENTACAO", "CODIGO", true},
        // The movement query, the reports, the charts and the registers' delete checks.
        {"TMOVIMENTACAO_PRODUTO", "TMOVIMENTACAO", "PRODUTO"},
        {"TMOVIMENTACAO_FORNECEDOR", "TMOVIMENTACAO", "FORNECEDOR"},
        {"TMOVIMENTACAO_CLIENTE", "TMOVIMENTACAO", "CLIENTE"},
        {"TMOVIMENTACAO_DATA", "TMOVIMENTACAO", "DATA"},
        {"TMOVIMENTACAO_TIPO_DATA", "TMOVIMENTACAO", "TIPO, DATA"},
        {"TMOVIMENTACAO_CENTRO_CUSTO", "TMOVIMENTACAO", "CENTRO_CUSTO"},
        {"TPRODUTO_GRUPO", "TPRODUTO", "GRUPO"},
        {"TPRODUTO_SUBGRUPO", "TPRODUTO", "SUBGRUPO"},
        {"TPRODUTO_DESCRICAO", "TPRODUTO", "DESCRICAO"},
        // A scan finds its product at once; not unique, so files with repeated codes still open.
        {"TPRODUTO_CODIGOBARRAS", "TPRODUTO", "CODIGOBARRAS"},
        // The products window shows its first rows while the rest are still coming.
        {kProductDescriptionOrderIndex, "TPRODUTO", nullptr, false, productDescriptionOrder()},
        {"TSUBGRUPO_GRUPO", "TSUBGRUPO", "GRUPO"},
        {"TFORNECEDOR_CNPJ", "TFORNECEDOR", "CNPJ"},
    };
    return indexes;
}

QStringList addMissingIndexes(data::SqlConnection& connection) {
    QStringList existing;
    {
        data::SqlQuery read(&connection);
        read.sql() << QStringLiteral("select trim(RDB$INDEX_NAME) from RDB$INDICES");
        for (read.open(); !read.eof(); read.next())
            existing << read.value(0).toString();
    }
    QStringList added;
    for (const DatabaseIndex& index : databaseIndexes()) {
        const QString name = QString::fromLatin1(index.name);
        if (existing.contains(name))
            continue;
        try {
            data::SqlConnection::Transaction transaction(connection);
            data::SqlQuery create(&connection);
            create.sql() << QStringLiteral("CREATE %1INDEX %2 ON %3 %4")
                                .arg(index.descending ? QStringLiteral("DESCENDING ") : QString(),
                                     name, QLatin1String(index.table),
                                     index.columns ? '(' + QLatin1String(index.columns) + ')'
                                                   : "COMPUTED BY (" + index.expression + ')');
            create.exec();
            transaction.commit();
            added << name;
        } catch (const data::DataError&) {
            // Left for the next opening.
        }
    }
    return added;
}

bool hasIndex(data::SqlConnection& connection, const char* name) {
    data::SqlQuery read(&connection);
    read.sql() << QStringLiteral("select 1 from RDB$INDICES where RDB$INDEX_NAME = :name");
    read.setText(QStringLiteral("name"), QString::fromLatin1(name));
    read.open();
    return !read.eof();
}
