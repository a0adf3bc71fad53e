#include "platform/report/rows.h"
#include "platform/data/client_dataset.h"
#include "platform/data/errors.h"
#include "platform/data/sql_query.h"
#include "platform/format/format.h"

namespace report {

namespace {

data::FieldKind kindOf(int metaType) {
    switch (metaType) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::LongLong:
        return data::FieldKind::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return data::FieldKind::Float;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return data::FieldKind::Date;
    case QMetaType::QTime:
        return data::FieldKind::Time;
    case QMetaType::QByteArray:
        return data::FieldKind::Blob;
    default:
        return data::FieldKind::Text;
    }
}

constexpr int kProgressEvery = 2000;

} // namespace

bool QueryRows::read(data::SqlQuery& query, const std::function<bool(int)>& progress) {
    query.close();
    query.open();
    names_.clear();
    std::vector<data::FieldKind> kinds;
    for (int c = 0; c < query.columnCount(); ++c) {
        names_ << query.columnName(c);
        kinds.push_back(kindOf(query.columnType(c)));
    }
    store_.reset(kinds);
    rows_ = 0;
    current_ = 0;
    for (; !query.eof(); query.next()) {
        const data::RowId row = store_.appendRow();
        for (int c = 0; c < int(kinds.size()); ++c) {
            QVariant v = query.value(c);
            if (v.isNull())
                continue;
            if (kinds[std::size_t(c)] == data::FieldKind::Date &&
                v.typeId() == QMetaType::QDateTime)
                v = v.toDateTime().date();
            store_.setValue(row, c, v);
        }
        ++rows_;
        if (progress && rows_ % kProgressEvery == 0 && !progress(rows_)) {
            query.close();
            store_.clear();
            rows_ = 0;
            return false;
        }
    }
    query.close();
    return true;
}

int QueryRows::column(const QString& name) const {
    for (int c = 0; c < names_.size(); ++c)
        if (names_[c].compare(name, Qt::CaseInsensitive) == 0)
            return c;
    throw data::DataError(QStringLiteral("O relatório não tem a coluna %1.").arg(name));
}

double QueryRows::real(int column) const {
    if (store_.isNull(current_, column))
        return 0;
    return store_.kind(column) == data::FieldKind::Integer ? store_.integer(current_, column)
                                                           : store_.real(current_, column);
}

qint32 QueryRows::integer(int column) const {
    return store_.isNull(current_, column) ? 0 : store_.integer(current_, column);
}

QString QueryRows::plainText(int column) const {
    if (store_.isNull(current_, column))
        return {};
    switch (store_.kind(column)) {
    case data::FieldKind::Integer:
        return QString::number(store_.integer(current_, column));
    case data::FieldKind::Float:
        return format::floatToStr(store_.real(current_, column));
    case data::FieldKind::Date:
        return format::dateToStr(store_.date(current_, column));
    case data::FieldKind::Time:
        return format::timeToStr(store_.time(current_, column));
    case data::FieldKind::Text:
        return store_.text(current_, column);
    case data::FieldKind::Blob:
        return {};
    }
    return {};
}

int DataSetRows::rowCount() const {
    return dataset_->active() ? dataset_->recordCount() : 0;
}

void DataSetRows::moveTo(int row) {
    dataset_->moveTo(row);
}

} // namespace report
