#include "imports/import_store.h"
#include "platform/data/errors.h"
#include "platform/data/prepared_statement.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include "stock/stock_rule.h"
#include <QDateTime>
#include <cmath>
#include <map>
#include <memory>

namespace imports {

namespace {

QVariant nullOf(ValueKind kind) {
    switch (kind) {
    case ValueKind::Code:
    case ValueKind::Reference:
        return QVariant(QMetaType::fromType<int>());
    case ValueKind::Number:
        return QVariant(QMetaType::fromType<double>());
    case ValueKind::Date:
        return QVariant(QMetaType::fromType<QDate>());
    default:
        return QVariant(QMetaType::fromType<QString>());
    }
}

int nextCode(data::SqlConnection& connection, const QString& table) {
    data::SqlQuery max(&connection);
    max.sql() << QStringLiteral("select max(CODIGO) from %1").arg(table);
    max.open();
    return max.value(0).toInt() + 1; // an empty table gives a null, read as 0
}

QString placeholders(qsizetype count) {
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

class Store {
public:
    Store(data::SqlConnection& connection, const ImportPlan& plan)
        : connection_(connection), plan_(plan), t_(plan.target) {}

    void createReferences() {
        using Kind = NewReference::Kind;
        int next[3] = {nextCode(connection_, QStringLiteral("TGRUPO")),
                       nextCode(connection_, QStringLiteral("TSUBGRUPO")),
                       nextCode(connection_, QStringLiteral("TFORNECEDOR"))};
        for (const NewReference& r : plan_.toCreate) {
            const int code = next[int(r.kind)]++;
            created_.push_back(code);
            if (r.kind == Kind::Subgroup) {
                statement(QStringLiteral(
                    "INSERT INTO TSUBGRUPO (CODIGO, DESCRICAO, GRUPO) VALUES (?, ?, ?)"));
                current_->bind(2, codeOf(r.group));
            } else {
                statement(QStringLiteral("INSERT INTO %1 (CODIGO, DESCRICAO) VALUES (?, ?)")
                              .arg(r.kind == Kind::Group ? QStringLiteral("TGRUPO")
                                                         : QStringLiteral("TFORNECEDOR")));
            }
            current_->bind(0, code);
            current_->bind(1, r.description);
            current_->exec();
        }
    }

    void insert(const PlannedRow& row) {
        QStringList columns{QStringLiteral("CODIGO")};
        QVariantList values{row.code};
        for (std::size_t pf = 0; pf < plan_.fields.size(); ++pf) {
            const TargetField& f = field(pf);
            if (f.column == QLatin1String("CODIGO"))
                continue;
            columns << f.column;
            values << value(row, pf);
        }
        // What a new row holds beyond the sheet's columns, as the register window stores it.
        auto put = [&](const QString& column, const QVariant& v) {
            const qsizetype at = columns.indexOf(column);
            if (at < 0) {
                columns << column;
                values << v;
            } else {
                values[at] = v;
            }
        };
        if (t_.what == Register::Products) {
            const int stock = plan_.planFieldOf(QStringLiteral("ESTOQUEATUAL"));
            const double initial = stock < 0 ? 0 : row.values[std::size_t(stock)].toDouble();
            put(QStringLiteral("ESTOQUEINICIAL"), initial);
            put(QStringLiteral("ESTOQUEATUAL"), initial);
        } else if (t_.what == Register::Customers) {
            const int type = plan_.planFieldOf(QStringLiteral("TIPO_PESSOA"));
            const QString person = type < 0 ? QString() : row.values[std::size_t(type)].toString();
            put(QStringLiteral("TIPO_PESSOA"),
                person.isEmpty() ? QStringLiteral("FÍSICA") : person);
        }
        run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(t_.table, columns.join(QStringLiteral(", ")), placeholders(columns.size())),
            values);
    }

    void update(const PlannedRow& row) {
        QStringList sets;
        QVariantList values;
        const QVariant* stockBefore = nullptr;
        for (const auto& [pf, before] : row.before) {
            const TargetField& f = field(std::size_t(pf));
            if (t_.what == Register::Products && f.column == QLatin1String("ESTOQUEATUAL")) {
                stockBefore = &before;
                continue;
            }
            sets << f.column + QStringLiteral(" = ?");
            values << value(row, std::size_t(pf));
        }
        if (!sets.isEmpty()) {
            values << row.code;
            run(QStringLiteral("UPDATE %1 SET %2 WHERE CODIGO = ?")
                    .arg(t_.table, sets.join(QStringLiteral(", "))),
                values);
        }
        if (stockBefore)
            adjustStock(row, stockBefore->toDouble());
    }

private:
    const TargetField& field(std::size_t pf) const {
        return t_.fields[std::size_t(plan_.fields[pf].field)];
    }

    QVariant codeOf(const Reference& r) const {
        if (r.created >= 0)
            return created_[std::size_t(r.created)];
        return r.code != 0 ? QVariant(r.code) : nullOf(ValueKind::Reference);
    }

    QVariant value(const PlannedRow& row, std::size_t pf) const {
        const TargetField& f = field(pf);
        if (f.kind == ValueKind::Reference)
            return codeOf(row.references[pf]);
        return row.values[pf].isNull() ? nullOf(f.kind) : row.values[pf];
    }

    // Makes the statement current, prepared once per text.
    void statement(const QString& sql) {
        auto& prepared = prepared_[sql];
        if (!prepared)
            prepared = std::make_unique<data::PreparedStatement>(connection_, sql);
        current_ = prepared.get();
    }

    int run(const QString& sql, const QVariantList& values) {
        statement(sql);
        for (int i = 0; i < values.size(); ++i)
            current_->bind(i, values[i]);
        return current_->exec();
    }

    // The sheet's stock replaces the stored one through a movement of the difference: the
    // stock rule books it, as an entry or exit window would.
    void adjustStock(const PlannedRow& row, double before) {
        const int pf = plan_.planFieldOf(QStringLiteral("ESTOQUEATUAL"));
        const double difference = row.values[std::size_t(pf)].toDouble() - before;
        const stock::Kind kind = difference > 0 ? stock::Kind::Entry : stock::Kind::Exit;
        const double quantity = stock::bookedStock(0, std::fabs(difference));
        if (quantity == 0)
            return;
        const stock::StockPlan booking = stock::planNew(kind, {row.code, quantity});
        const double after = stock::bookedStock(before, booking.moves.front().change);
        // The stock read when the sheet was: a stock changed since (another station's exit)
        // makes the sheet's figure wrong, so nothing is stored.
        if (run(QStringLiteral("UPDATE TPRODUTO SET ESTOQUEATUAL = ? WHERE CODIGO = ? AND "
                               "coalesce(ESTOQUEATUAL, 0) = ?"),
                {after, row.code, before}) != 1)
            throw data::ConflictError(
                QStringLiteral("O estoque do produto de código %1 mudou depois que o arquivo foi "
                               "lido. Leia o arquivo de novo e importe outra vez.")
                    .arg(row.code));
        if (movementCode_ == 0)
            movementCode_ = nextCode(connection_, QStringLiteral("TMOVIMENTACAO"));
        const QDateTime now = QDateTime::currentDateTime();
        const bool entry = kind == stock::Kind::Entry;
        const QString price =
            entry ? QStringLiteral("PRECO_COMPRA") : QStringLiteral("PRECO_VENDA");
        run(QStringLiteral("INSERT INTO TMOVIMENTACAO (CODIGO, PRODUTO, QUANTIDADE, "
                           "PRECO_UNITARIO, PRECO_TOTAL, FORNECEDOR, DATA, HORARIO, NOTA_COMPRA, "
                           "TIPO) SELECT CAST(? AS INTEGER), CODIGO, CAST(? AS DOUBLE PRECISION), "
                           "%1, %1 * CAST(? AS DOUBLE PRECISION), %2, CAST(? AS DATE), "
                           "CAST(? AS TIME), CAST(? AS VARCHAR(50)), '%3' FROM TPRODUTO WHERE "
                           "CODIGO = ?")
                .arg(price, entry ? QStringLiteral("FORNECEDOR") : QStringLiteral("NULL"),
                     entry ? QStringLiteral("ENTRADA") : QStringLiteral("SAIDA")),
            {movementCode_++, quantity, quantity, now.date(),
             QTime(now.time().hour(), now.time().minute()), adjustmentNote(), row.code});
    }

    data::SqlConnection& connection_;
    const ImportPlan& plan_;
    const Target& t_;
    std::vector<int> created_; // codes of plan_.toCreate, in order
    std::map<QString, std::unique_ptr<data::PreparedStatement>> prepared_;
    data::PreparedStatement* current_ = nullptr;
    int movementCode_ = 0;
};

} // namespace

QString adjustmentNote() {
    return QStringLiteral("AJUSTE POR IMPORTAÇÃO");
}

bool storePlan(data::SqlConnection& connection, const ImportPlan& plan,
               const PlanProgress& progress) {
    data::SqlConnection::Transaction transaction(connection);
    Store store(connection, plan);
    store.createReferences();
    const int total = int(plan.rows.size());
    for (int i = 0; i < total; ++i) {
        if (progress && i % 500 == 0 && !progress(i, total))
            return false; // the transaction rolls back as it goes
        const PlannedRow& row = plan.rows[std::size_t(i)];
        if (row.status == RowStatus::New)
            store.insert(row);
        else if (row.status == RowStatus::Changed)
            store.update(row);
    }
    transaction.commit();
    return true;
}

} // namespace imports
