#include "stock/change_history.h"
#include "platform/data/field_def.h"
#include "platform/data/sql_query.h"
#include "platform/format/format.h"

namespace {

struct ComparedValue {
    const char* name;   // as shown
    const char* column; // THISTORICO's column without its ANT_/NOVO_ prefix
};

const ComparedValue kValues[] = {
    {"Produto", "PRODUTO"},
    {"Quantidade", "QUANTIDADE"},
    {"Pr. Unitário", "PRECO_UNITARIO"},
    {"Pr. Total", "PRECO_TOTAL"},
    {"Data", "DATA"},
    {"Tipo", "TIPO"},
    {"N° Nota", "NOTA_COMPRA"},
    {"Fornecedor", "FORNECEDOR"},
    {"Cliente", "CLIENTE"},
    {"Estoque Atual", "ESTOQUEATUAL"},
    {"Estoque Inicial", "ESTOQUEINICIAL"},
};

QString shown(const QVariant& v) {
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Double:
        return format::formatFloat(QStringLiteral("0.######"), v.toDouble());
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("dd/MM/yyyy"));
    default:
        return v.toString().trimmed();
    }
}

} // namespace

const QStringList& changeHistoryValueNames() {
    static const QStringList names = [] {
        QStringList n;
        for (const ComparedValue& v : kValues)
            n << QString::fromUtf8(v.name);
        return n;
    }();
    return names;
}

std::vector<ChangeHistoryRow> readChangeHistory(data::SqlConnection& connection,
                                                const ChangeHistoryFilter& filter) {
    QStringList columns;
    for (const ComparedValue& v : kValues)
        columns << QStringLiteral("H.ANT_%1").arg(QLatin1String(v.column))
                << QStringLiteral("H.NOVO_%1").arg(QLatin1String(v.column));
    data::SqlQuery query(&connection);
    query.sql() << QStringLiteral("select H.DATA_HORA, H.USUARIO, H.JANELA, H.OPERACAO, H.TABELA, "
                                  "H.REGISTRO, H.PRODUTO, P.DESCRICAO, H.MOTIVO, %1")
                       .arg(columns.join(QStringLiteral(", ")))
                << QStringLiteral("from THISTORICO H left join TPRODUTO P on P.CODIGO = H.PRODUTO")
                << QStringLiteral("where H.DATA_HORA >= :inicio and H.DATA_HORA < :fim");
    query.setDate(QStringLiteral("inicio"), filter.from);
    query.setDate(QStringLiteral("fim"), filter.to.addDays(1)); // the whole last day
    if (filter.product) {
        query.sql() << QStringLiteral("and H.PRODUTO = :produto");
        query.setInteger(QStringLiteral("produto"), *filter.product);
    }
    if (!filter.user.trimmed().isEmpty()) {
        query.sql() << QStringLiteral("and upper(H.USUARIO) = :usuario");
        query.setText(QStringLiteral("usuario"), filter.user.trimmed().toUpper());
    }
    query.sql() << QStringLiteral("order by H.DATA_HORA, H.CODIGO");
    std::vector<ChangeHistoryRow> rows;
    for (query.open(); !query.eof(); query.next()) {
        ChangeHistoryRow row;
        row.when = query.value(0).toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        row.user = shown(query.value(1));
        row.window = shown(query.value(2));
        row.deleted = query.value(3).toString() == QLatin1String("EXCLUSAO");
        row.operation = row.deleted ? QStringLiteral("Exclusão") : QStringLiteral("Alteração");
        const bool product = query.value(4).toString() == QLatin1String("TPRODUTO");
        row.record = (product ? QStringLiteral("Produto %1") : QStringLiteral("Movimento %1"))
                         .arg(query.value(5).toLongLong());
        row.product = query.value(6).isNull() ? QString()
                                              : QStringLiteral("%1 %2").arg(shown(query.value(6)),
                                                                            shown(query.value(7)));
        row.reason = shown(query.value(8));
        for (int i = 0; i < int(std::size(kValues)); ++i) {
            row.before << shown(query.value(9 + 2 * i));
            row.after << shown(query.value(10 + 2 * i));
        }
        rows.push_back(std::move(row));
    }
    query.close();
    return rows;
}
