#pragma once
// Reads a SELECT's rows straight through fbclient on the connection's attachment, in a read-only
// transaction of its own. Qt's driver wraps every value in a QVariant; this hands the raw values
// to the dataset, which is what keeps opening a million-row table close to the engine's own speed.
#include "platform/data/field_def.h"
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <memory>
#include <vector>

namespace data {

struct SourceColumn {
    QString name;
    FieldKind kind = FieldKind::Text;
    int size = 0;      // characters, for text
    int decimals = -1; // NUMERIC/DECIMAL read as a number: the decimals the column keeps
    bool held = false; // false: a type no field kind holds exactly (BIGINT, FLOAT, TIMESTAMP...)
    QString typeName;  // as SQL spells it, for messages: "VARCHAR(50)", "BIGINT"
};

class FbReader {
public:
    // A read that takes its time (a slice at a time between the user's events) needs a snapshot:
    // read committed would also return rows this program stores meanwhile, and so twice.
    enum class Isolation { ReadCommitted, Snapshot };
    FbReader(unsigned int dbHandle, const QString& select,
             Isolation isolation = Isolation::ReadCommitted);
    ~FbReader();
    FbReader(const FbReader&) = delete;
    FbReader& operator=(const FbReader&) = delete;

    const std::vector<SourceColumn>& columns() const { return columns_; }
    bool fetch(); // false after the last row

    // Values of the current row; each reader is only for a held column of its kind.
    bool isNull(int column) const;
    qint32 integer(int column) const;
    double real(int column) const;
    // Text as UTF-8 bytes, without a copy.
    const char* textData(int column, int* length) const;
    QDate date(int column) const;
    QTime time(int column) const;
    QByteArray blob(int column) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    std::vector<SourceColumn> columns_;
};

} // namespace data
