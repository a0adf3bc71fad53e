#pragma once
// A query with its SQL kept as lines and typed named parameters (":NAME"). open() reads a result
// (forward only), exec() runs a statement; both join the connection's transaction when one is open.
#include "platform/data/field_def.h"
#include <QDate>
#include <QObject>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class QSqlQuery;

namespace data {

class SqlConnection;

struct SqlParam {
    QString name;
    FieldKind kind = FieldKind::Text;
    QVariant value; // null for SQL NULL
};

class SqlQuery : public QObject {
    Q_OBJECT
public:
    explicit SqlQuery(SqlConnection* connection = nullptr, QObject* parent = nullptr);
    ~SqlQuery() override;

    void setConnection(SqlConnection* connection) { connection_ = connection; }
    SqlConnection* connection() const { return connection_; }

    // The lines are joined with line breaks, so every line keeps its exact text.
    QStringList& sql() { return sql_; }
    const QStringList& sql() const { return sql_; }
    QString text() const { return sql_.join('\n'); }

    // Called with each statement's text just before exec() runs it. Only the crash tests set
    // it, to stop the process at an exact point inside a save.
    static void setBeforeExecHook(std::function<void(const QString&)> hook);
    // Runs the hook, if one is set, for a statement about to run (PreparedStatement's too).
    static void runBeforeExecHook(const QString& sql);

    // Typed parameters; the value is checked for its kind (integer range, valid date...).
    void setInteger(const QString& name, qint64 value);
    void setFloat(const QString& name, double value);
    void setText(const QString& name, const QString& value);
    void setDate(const QString& name, const QDate& value);
    void setTime(const QString& name, const QTime& value);
    void setBlob(const QString& name, const QByteArray& value);
    void setNull(const QString& name, FieldKind kind);
    const std::vector<SqlParam>& params() const { return params_; }
    void clearParams() { params_.clear(); }

    // Reading: open() positions on the first row; eof() after the last.
    void open();
    bool active() const { return active_; }
    bool eof() const { return eof_; }
    void next();
    void close();
    QVariant value(const QString& column) const;
    QVariant value(int column) const;
    int columnCount() const;
    QString columnName(int column) const;
    int columnType(int column) const;   // QMetaType id
    int columnLength(int column) const; // characters, for text

    // Runs a statement and returns the rows it touched.
    int exec();

private:
    void fetch(); // the next row, or eof; throws when the read failed
    void bindAll(QSqlQuery& query) const;
    void setParam(const QString& name, FieldKind kind, QVariant value);

    SqlConnection* connection_ = nullptr;
    QStringList sql_;
    std::vector<SqlParam> params_;
    std::unique_ptr<QSqlQuery> query_;
    bool active_ = false;
    bool eof_ = true;
};

} // namespace data
