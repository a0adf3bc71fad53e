#pragma once
// The two kinds of rows a report walks: the rows of a query, read once into compact columns (with
// progress, since a report may read a million of them), and the visible rows of a dataset.
#include "platform/data/column_store.h"
#include "platform/report/report.h"
#include <QStringList>
#include <functional>

namespace data {
class ClientDataSet;
class SqlQuery;
} // namespace data

namespace report {

class QueryRows : public RowSource {
public:
    // Opens the query, reads every row and closes it. progress(rows read so far) is asked every
    // few thousand rows; when it answers false the reading stops and read() returns false.
    bool read(data::SqlQuery& query, const std::function<bool(int)>& progress = {});

    int rowCount() const override { return rows_; }
    void moveTo(int row) override { current_ = data::RowId(row); }
    int row() const { return int(current_); }

    // The column's index by name (case-insensitive); throws when the query has no such column.
    int column(const QString& name) const;
    bool isNull(int column) const { return store_.isNull(current_, column); }
    double real(int column) const; // null counts as 0
    QString text(int column) const { return store_.text(current_, column); }
    QDate date(int column) const { return store_.date(current_, column); }
    QTime time(int column) const { return store_.time(current_, column); }
    qint32 integer(int column) const;
    // The value as a field shows it: money aside, numbers in the general form, DD/MM/YYYY,
    // HH:MM:SS, "" for null.
    QString plainText(int column) const;

private:
    data::ColumnStore store_;
    QStringList names_;
    int rows_ = 0;
    data::RowId current_ = 0;
};

class DataSetRows : public RowSource {
public:
    explicit DataSetRows(data::ClientDataSet* dataset) : dataset_(dataset) {}
    int rowCount() const override;
    void moveTo(int row) override;

private:
    data::ClientDataSet* dataset_;
};

} // namespace report
