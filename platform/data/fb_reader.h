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
    bool held = false; // false: a type no field kind holds exactly (BIGINT, CHAR, NUMERIC...)
    QString typeName;  // as SQL spells it, for messages: "VARCHAR(50)", "BIGINT"
};

class FbReader {
public:
    FbReader(unsigned int dbHandle, const QString& select);
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
