#include "platform/data/sql_query.h"
#include "platform/data/errors.h"
#include "platform/data/sql_connection.h"
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <limits>

namespace data {

SqlQuery::SqlQuery(SqlConnection* connection, QObject* parent)
    : QObject(parent), connection_(connection) {}

SqlQuery::~SqlQuery() = default;

void SqlQuery::setParam(const QString& name, FieldKind kind, QVariant value) {
    for (auto& p : params_) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0) {
            p.kind = kind;
            p.value = std::move(value);
            return;
        }
    }
    params_.push_back({name, kind, std::move(value)});
}

void SqlQuery::setInteger(const QString& name, qint64 value) {
    // Qt's driver would silently wrap a value beyond 32 bits.
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw FieldError(QStringLiteral("O valor %1 está fora do intervalo de números inteiros "
                                        "(-2147483648 a 2147483647).")
                             .arg(value));
    setParam(name, FieldKind::Integer, QVariant(int(value)));
}

void SqlQuery::setFloat(const QString& name, double value) {
    if (!std::isfinite(value))
        throw FieldError(QStringLiteral("O parâmetro %1 não é um número válido.").arg(name));
    setParam(name, FieldKind::Float, QVariant(value));
}

void SqlQuery::setText(const QString& name, const QString& value) {
    setParam(name, FieldKind::Text,
             value.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(value));
}

void SqlQuery::setDate(const QString& name, const QDate& value) {
    if (!value.isValid())
        throw FieldError(QStringLiteral("A data informada não é válida."));
    setParam(name, FieldKind::Date, QVariant(value));
}

void SqlQuery::setTime(const QString& name, const QTime& value) {
    if (!value.isValid())
        throw FieldError(QStringLiteral("O horário informado não é válido."));
    setParam(name, FieldKind::Time, QVariant(value));
}

void SqlQuery::setBlob(const QString& name, const QByteArray& value) {
    setParam(name, FieldKind::Blob,
             value.isNull() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(value));
}

void SqlQuery::setNull(const QString& name, FieldKind kind) {
    static const QMetaType types[] = {
        QMetaType::fromType<int>(),     QMetaType::fromType<double>(),
        QMetaType::fromType<QString>(), QMetaType::fromType<QDate>(),
        QMetaType::fromType<QTime>(),   QMetaType::fromType<QByteArray>()};
    setParam(name, kind, QVariant(types[int(kind)]));
}

void SqlQuery::bindAll(QSqlQuery& query) const {
    for (const auto& p : params_)
        query.bindValue(':' + p.name, p.value);
}

namespace {
// A statement is prepared inside the transaction that runs it: Qt's driver ties a prepared
// statement to the transaction current at its first run.
std::unique_ptr<QSqlQuery> prepare(SqlConnection* connection, const QString& text) {
    if (!connection)
        throw DatabaseError(QStringLiteral("A consulta não tem conexão."));
    auto query = std::make_unique<QSqlQuery>(connection->database());
    query->setForwardOnly(true);
    if (!query->prepare(text))
        throw DatabaseError::fromFirebird(query->lastError().databaseText(), 0,
                                          QStringLiteral("Erro no comando SQL."));
    return query;
}
} // namespace

void SqlQuery::open() {
    close();
    auto query = prepare(connection_, text());
    bindAll(*query);
    if (!query->exec())
        throw DatabaseError::fromFirebird(query->lastError().databaseText(), 0,
                                          QStringLiteral("Não foi possível ler os dados."));
    query_ = std::move(query);
    active_ = true;
    fetch();
}

void SqlQuery::next() {
    if (active_ && !eof_)
        fetch();
}

void SqlQuery::fetch() {
    eof_ = !query_->next();
    // The driver ends a read that failed (the server went away halfway) as if the rows had run out.
    if (eof_ && query_->lastError().isValid()) {
        const QString text = query_->lastError().databaseText();
        close();
        throw DatabaseError::fromFirebird(text, 0,
                                          QStringLiteral("Não foi possível ler os dados."));
    }
}

void SqlQuery::close() {
    query_.reset();
    active_ = false;
    eof_ = true;
}

QVariant SqlQuery::value(const QString& column) const {
    if (!active_ || eof_)
        return {};
    return query_->value(column);
}

QVariant SqlQuery::value(int column) const {
    if (!active_ || eof_)
        return {};
    return query_->value(column);
}

int SqlQuery::columnCount() const {
    return active_ ? query_->record().count() : 0;
}

QString SqlQuery::columnName(int column) const {
    return active_ ? query_->record().fieldName(column) : QString();
}

int SqlQuery::columnType(int column) const {
    return active_ ? query_->record().field(column).metaType().id() : 0;
}

int SqlQuery::columnLength(int column) const {
    return active_ ? query_->record().field(column).length() : 0;
}

namespace {
std::function<void(const QString&)>& beforeExecHook() {
    static std::function<void(const QString&)> hook;
    return hook;
}
} // namespace

void SqlQuery::setBeforeExecHook(std::function<void(const QString&)> hook) {
    beforeExecHook() = std::move(hook);
}

void SqlQuery::runBeforeExecHook(const QString& sql) {
    if (beforeExecHook())
        beforeExecHook()(sql);
}

int SqlQuery::exec() {
    auto query = prepare(connection_, text());
    bindAll(*query);
    runBeforeExecHook(text());
    if (!query->exec())
        throw DatabaseError::fromFirebird(query->lastError().databaseText(),
                                          query->lastError().nativeErrorCode().toInt(),
                                          QStringLiteral("Não foi possível gravar os dados."));
    return query->numRowsAffected();
}

} // namespace data
