// Opening and closing: the source's columns checked against the fields, a table read straight
// through fbclient, a query through its own reader, and the order the rows are read in.
#include "platform/data/client_dataset.h"
#include "platform/data/errors.h"
#include "platform/data/fb_reader.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include "platform/data/table_read.h"
#include <algorithm>
#include <limits>

namespace data {

namespace {
std::vector<FieldKind> kindsOf(const std::vector<std::unique_ptr<Field>>& fields) {
    std::vector<FieldKind> kinds;
    for (const auto& f : fields)
        kinds.push_back(f->kind());
    return kinds;
}

FieldKind kindOfQtType(int type) {
    switch (type) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::LongLong:
    case QMetaType::Bool:
        return FieldKind::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldKind::Float;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return FieldKind::Date;
    case QMetaType::QTime:
        return FieldKind::Time;
    case QMetaType::QByteArray:
        return FieldKind::Blob;
    default:
        return FieldKind::Text;
    }
}

QString kindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Integer:
        return QStringLiteral("número inteiro");
    case FieldKind::Float:
        return QStringLiteral("número");
    case FieldKind::Text:
        return QStringLiteral("texto");
    case FieldKind::Date:
        return QStringLiteral("data");
    case FieldKind::Time:
        return QStringLiteral("horário");
    case FieldKind::Blob:
        return QStringLiteral("imagem");
    }
    return {};
}

// A query's integer column may be 64-bit (count(*), sums): a wider value is refused, not cut.
bool fitsInteger(const QVariant& v) {
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    return ok && n >= std::numeric_limits<qint32>::min() && n <= std::numeric_limits<qint32>::max();
}
} // namespace

void ClientDataSet::checkColumns(const std::vector<SourceColumn>& columns) {
    for (const SourceColumn& c : columns) {
        Field* f = declaredFields_ ? findField(c.name) : nullptr;
        if (declaredFields_ && !f)
            continue; // not read
        if (!c.held)
            throw DataError(QStringLiteral("Não é possível abrir a tabela %1: a coluna %2 é do "
                                           "tipo %3, que o programa não sabe guardar.")
                                .arg(table_, c.name, c.typeName));
        if (f && f->kind() != c.kind)
            throw DataError(QStringLiteral("Não é possível abrir a tabela %1: a coluna %2 é do "
                                           "tipo %3, mas o programa a trata como %4.")
                                .arg(table_, c.name, c.typeName, kindName(f->kind())));
        if (f)
            f->def().storedDecimals = c.decimals;
    }
}

void ClientDataSet::createDataSet() {
    if (active())
        return;
    store_.reset(kindsOf(fields_));
    log_.clear();
    state_ = DataSetState::Browse;
    rebuildView();
    setCursor(view_.empty() ? -1 : 0, false);
    emit stateChanged();
    notifyDataSetChanged();
}

void ClientDataSet::open() {
    if (active())
        return;
    if (query_) {
        query_->open();
        if (!declaredFields_) {
            fields_.clear();
            for (int i = 0; i < query_->columnCount(); ++i) {
                FieldDef def;
                def.name = query_->columnName(i);
                def.kind = kindOfQtType(query_->columnType(i));
                def.size = def.kind == FieldKind::Text ? query_->columnLength(i) : 0;
                fields_.push_back(std::make_unique<Field>(this, i, def));
            }
        }
        store_.reset(kindsOf(fields_));
        std::vector<int> sourceColumn(fields_.size(), -1);
        // A name the query gives twice (DESCRICAO of a product and of its group) is the first.
        for (int i = 0; i < query_->columnCount(); ++i)
            if (Field* f = findField(query_->columnName(i)); f && sourceColumn[f->index()] < 0)
                sourceColumn[f->index()] = i;
        for (; !query_->eof(); query_->next()) {
            const RowId row = store_.appendRow();
            for (std::size_t c = 0; c < fields_.size(); ++c) {
                if (sourceColumn[c] < 0)
                    continue;
                QVariant v = query_->value(sourceColumn[c]);
                if (v.isNull())
                    continue;
                if (fields_[c]->kind() == FieldKind::Date && v.typeId() == QMetaType::QDateTime)
                    v = v.toDateTime().date();
                if (fields_[c]->kind() == FieldKind::Integer && !fitsInteger(v)) {
                    query_->close();
                    store_.clear();
                    throw DataError(QStringLiteral("%1: o valor %2 da coluna %3 não cabe num "
                                                   "número inteiro de 32 bits.")
                                        .arg(objectName(), v.toString(), fields_[c]->name()));
                }
                store_.setValue(row, int(c), v);
            }
        }
        query_->close();
    } else if (!table_.isEmpty()) {
        if (!connection_)
            throw DatabaseError(QStringLiteral("%1 não tem conexão.").arg(objectName()));
        beginTableRead();
    } else {
        throw DataError(QStringLiteral("%1 não tem tabela nem consulta.").arg(objectName()));
    }
    log_.clear();
    localRows_.clear();
    showFirstRows();
    state_ = DataSetState::Browse;
    emit stateChanged();
    notifyDataSetChanged();
    emit afterScroll();
}

bool ClientDataSet::readOrderServes(const std::vector<int>& fields, IndexOptions options) const {
    return !fields.empty() && options == 0 && !readOrderSql_.isEmpty() &&
           fieldIndexes(readOrderFields_) == fields;
}

void ClientDataSet::beginTableRead() {
    const bool inOrder = readsInIndexOrder();
    const bool slices = readInSlices_ && (sortFields_.empty() || inOrder);
    QString select = QStringLiteral("select * from ") + table_;
    if (slices && inOrder)
        select += QStringLiteral(" order by ") + readOrderSql_;
    auto read = std::make_unique<TableRead>(connection_->nativeHandle(), select,
                                            slices ? FbReader::Isolation::Snapshot
                                                   : FbReader::Isolation::ReadCommitted);
    const auto& columns = read->reader.columns();
    checkColumns(columns);
    if (!declaredFields_) {
        fields_.clear();
        for (const auto& c : columns) {
            FieldDef def;
            def.name = c.name;
            def.kind = c.kind;
            def.size = c.size;
            def.storedDecimals = c.decimals;
            fields_.push_back(std::make_unique<Field>(this, int(fields_.size()), def));
        }
    }
    store_.reset(kindsOf(fields_));
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (Field* f = findField(columns[i].name))
            read->map.push_back({int(i), f->index(), f->kind()});
    if (read->readInto(store_, slices ? kSliceMs : -1, rowsPerSlice_))
        reading_ = std::move(read);
}

void ClientDataSet::showFirstRows() {
    rebuildView();
    readWhile([this] { return view_.empty(); }, false); // a first row, when there is one
    if (reading_)
        sliceTimer_ = startTimer(0);
    setCursor(view_.empty() ? -1 : 0, false);
    bof_ = true;
    eof_ = view_.empty();
}

void ClientDataSet::readAgainInIndexOrder() {
    const std::optional<PendingLocate> waiting = pendingLocate_;
    const auto key =
        std::find_if(fields_.begin(), fields_.end(), [](const auto& f) { return f->def().key; });
    std::optional<PendingLocate> current; // the first row as read was nobody's choice
    if (cursor_ > 0 && key != fields_.end())
        current = PendingLocate{(*key)->index(), store_.value(view_[cursor_], (*key)->index())};
    stopReading();
    readFailure_ = nullptr;
    store_.clear();
    view_.clear();
    ordered_ = {};
    cursor_ = -1;
    try {
        beginTableRead();
        showFirstRows();
        // A row someone chose is chosen again when it comes, unless the user moves first:
        // waiting for it here could take the whole reading.
        const std::optional<PendingLocate> follow = current ? current : waiting;
        const int at = follow ? findInView(follow->column, follow->value) : -1;
        if (at >= 0) {
            setCursor(at, false);
            bof_ = eof_ = false;
        } else if (follow && reading_) {
            pendingLocate_ = follow;
        }
    } catch (...) {
        // Whatever needs the rows reads them again, and meanwhile nothing is taken for the table.
        if (!readFailure_)
            readFailure_ = std::current_exception();
        notifyDataSetChanged();
        throw;
    }
    notifyDataSetChanged();
    notifyScrolled();
}

} // namespace data
