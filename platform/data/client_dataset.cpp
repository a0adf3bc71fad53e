#include "platform/data/client_dataset.h"
#include "platform/data/data_source.h"
#include "platform/data/errors.h"
#include "platform/data/fb_reader.h"
#include "platform/data/filter_expression.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include "platform/data/text_order.h"
#include <QElapsedTimer>
#include <QTimerEvent>
#include <algorithm>
#include <limits>

namespace data {

// A table's rows coming through fbclient into the store, column by column.
struct ClientDataSet::TableRead {
    struct Map {
        int source;
        int column;
        FieldKind kind;
    };
    TableRead(unsigned int handle, const QString& select, FbReader::Isolation isolation)
        : reader(handle, select, isolation) {}
    // Appends rows until none is left (false) or, with a budget, until it has passed or `rows`
    // more were read (true).
    bool readInto(ColumnStore& store, int budgetMs, int rows);

    FbReader reader;
    std::vector<Map> map;
};

bool ClientDataSet::TableRead::readInto(ColumnStore& store, int budgetMs, int rows) {
    QElapsedTimer clock;
    clock.start();
    for (int count = 0;; ++count) {
        // The clock is read now and then: reading it costs more than a row.
        if (budgetMs >= 0 &&
            ((rows > 0 && count == rows) || (count % 256 == 255 && clock.elapsed() >= budgetMs)))
            return true;
        if (!reader.fetch())
            return false;
        const RowId row = store.appendRow();
        for (const Map& m : map) {
            if (reader.isNull(m.source))
                continue;
            switch (m.kind) {
            case FieldKind::Integer:
                store.setInteger(row, m.column, reader.integer(m.source));
                break;
            case FieldKind::Float:
                store.setReal(row, m.column, reader.real(m.source));
                break;
            case FieldKind::Text: {
                int length = 0;
                const char* bytes = reader.textData(m.source, &length);
                if (length == 0)
                    break; // empty text reads as empty, as the dataset stores it
                store.setTextUtf8(row, m.column, bytes, length);
                break;
            }
            case FieldKind::Date:
                store.setDate(row, m.column, reader.date(m.source));
                break;
            case FieldKind::Time:
                store.setTime(row, m.column, reader.time(m.source));
                break;
            case FieldKind::Blob:
                store.setBlob(row, m.column, reader.blob(m.source));
                break;
            }
        }
    }
}

namespace {
// A searched value, converted once for every row it is compared with.
class Wanted {
public:
    explicit Wanted(const QVariant& value)
        : value_(value), text_(value.toString()), null_(value.isNull()) {
        integer_ = value.toLongLong(&integral_);
        real_ = integral_ ? double(integer_) : value.toDouble(&numeric_);
        numeric_ = numeric_ || integral_;
        emptyText_ = value.typeId() == QMetaType::QString && text_.isEmpty();
    }

    bool matches(const ColumnStore& store, RowId row, int column, LocateOptions options) const {
        const FieldKind kind = store.kind(column);
        if (null_ || (emptyText_ && kind != FieldKind::Text))
            return store.isNull(row, column);
        if (store.isNull(row, column))
            return kind == FieldKind::Text && text_.isEmpty();
        switch (kind) {
        case FieldKind::Text: {
            const QStringView have = store.textView(row, column);
            const Qt::CaseSensitivity cs =
                (options & CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
            if (options & PartialKey)
                return have.startsWith(text_, cs);
            return have.compare(text_, cs) == 0;
        }
        case FieldKind::Integer:
            return integral_ ? integer_ == store.integer(row, column)
                             : numeric_ && real_ == store.integer(row, column);
        case FieldKind::Float:
            return numeric_ && real_ == store.real(row, column);
        case FieldKind::Date:
            return value_.toDate() == store.date(row, column);
        case FieldKind::Time:
            return value_.toTime() == store.time(row, column);
        case FieldKind::Blob:
            return value_.toByteArray() == store.blob(row, column);
        }
        return false;
    }

private:
    QVariant value_;
    QString text_;
    bool null_;
    bool emptyText_ = false;
    qint64 integer_ = 0;
    bool integral_ = false;
    double real_ = 0;
    bool numeric_ = false;
};
} // namespace

ClientDataSet::ClientDataSet(QObject* parent) : QObject(parent) {}
ClientDataSet::~ClientDataSet() = default;

// ---------------------------------------------------------------- definition

void ClientDataSet::setTable(SqlConnection* connection, const QString& table) {
    if (connection_)
        disconnect(connection_, &SqlConnection::beforeDisconnect, this, nullptr);
    connection_ = connection;
    table_ = table;
    // The rest of a table being read comes before the attachment it is read on goes.
    if (connection)
        connect(connection, &SqlConnection::beforeDisconnect, this, [this] {
            try {
                finishReading();
            } catch (...) {
                // Kept: the next command that needs every row reads the table again.
            }
        });
}

void ClientDataSet::setQuery(SqlQuery* query) {
    query_ = query;
    if (query && !connection_)
        connection_ = query->connection();
}

Field& ClientDataSet::addField(const FieldDef& def) {
    if (active())
        throw DataError(QStringLiteral("Não é possível incluir campos com a tabela aberta."));
    declaredFields_ = true;
    fields_.push_back(std::make_unique<Field>(this, int(fields_.size()), def));
    return *fields_.back();
}

Field* ClientDataSet::findField(const QString& name) {
    for (auto& f : fields_)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field* ClientDataSet::findFieldByComponentName(const QString& componentName) {
    for (auto& f : fields_)
        if (f->def().componentName == componentName)
            return f.get();
    return nullptr;
}

Field& ClientDataSet::field(const QString& name) {
    if (Field* f = findField(name))
        return *f;
    throw DataError(QStringLiteral("%1: campo '%2' não encontrado.").arg(objectName(), name));
}

std::vector<int> ClientDataSet::fieldIndexes(const QString& list) const {
    std::vector<int> indexes;
    for (const QString& name : list.split(';', Qt::SkipEmptyParts)) {
        auto* self = const_cast<ClientDataSet*>(this);
        Field* f = self->findField(name.trimmed());
        if (!f)
            throw DataError(
                QStringLiteral("%1: campo '%2' não encontrado.").arg(objectName(), name));
        indexes.push_back(f->index());
    }
    return indexes;
}

// ---------------------------------------------------------------- open / close

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
        const Field* f = declaredFields_ ? findField(c.name) : nullptr;
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

// ---------------------------------------------------------------- reading in slices

std::pair<int, int> ClientDataSet::readSlice(int budgetMs, bool notify) {
    if (readFailure_)
        std::rethrow_exception(readFailure_);
    const RowId from = RowId(store_.rowCount());
    const quint64 versionBefore = store_.version();
    try {
        if (!reading_->readInto(store_, budgetMs, rowsPerSlice_))
            stopReading();
    } catch (...) {
        readFailure_ = std::current_exception();
        stopReading();
        // The rows of the slice read before the error stay: they are rows of the table.
    }
    std::vector<RowId> fresh;
    for (RowId row = from; row < RowId(store_.rowCount()); ++row)
        fresh.push_back(row);
    if (!sortFields_.empty()) {
        // Read in nearly this order: sorting them costs little, and most land after the rest.
        std::sort(fresh.begin(), fresh.end(), [this](RowId a, RowId b) { return rowLess(a, b); });
        if (ordered_.version == versionBefore && ordered_.fields == sortFields_ &&
            ordered_.options == sortOptions_) {
            // The whole order stays current, so a filter switched meanwhile only tests rows.
            const auto middle =
                ordered_.rows.insert(ordered_.rows.end(), fresh.begin(), fresh.end());
            if (middle != ordered_.rows.begin() && !fresh.empty() &&
                rowLess(fresh.front(), *(middle - 1)))
                std::inplace_merge(ordered_.rows.begin(), middle, ordered_.rows.end(),
                                   [this](RowId a, RowId b) { return rowLess(a, b); });
            ordered_.version = store_.version();
        }
    }
    std::vector<RowId> shown;
    for (RowId row : fresh)
        if (passesFilter(row))
            shown.push_back(row);
    const int position = mergeIntoView(shown, notify);
    if (!shown.empty())
        eof_ = false;
    const std::optional<PendingLocate> wanted = pendingLocate_;
    if (cursor_ < 0 && !view_.empty()) {
        setCursor(0, notify);
        bof_ = true;
    }
    if (wanted) {
        const Wanted value(wanted->value);
        const auto match = std::find_if(shown.begin(), shown.end(), [&](RowId row) {
            return value.matches(store_, row, wanted->column, 0);
        });
        if (match != shown.end()) {
            setCursor(int(std::lower_bound(view_.begin(), view_.end(), *match,
                                           [this](RowId a, RowId b) { return viewLess(a, b); }) -
                          view_.begin()),
                      notify);
            bof_ = eof_ = false;
        } else if (reading_) {
            pendingLocate_ = wanted; // still to come
        }
    }
    if (!reading_ && notify)
        notifyDataSetChanged(); // the count and the last row are known now
    if (readFailure_)
        std::rethrow_exception(readFailure_);
    return {position, int(shown.size())};
}

int ClientDataSet::mergeIntoView(const std::vector<RowId>& rows, bool notify) {
    const auto less = [this](RowId a, RowId b) { return viewLess(a, b); };
    const bool told = notify && !controlsDisabled();
    int first = int(view_.size());
    for (std::size_t i = 0; i < rows.size();) {
        const int position =
            int(std::lower_bound(view_.begin(), view_.end(), rows[i], less) - view_.begin());
        std::size_t end = i + 1;
        while (end < rows.size() &&
               (position == int(view_.size()) || less(rows[end], view_[position])))
            ++end;
        const int count = int(end - i);
        if (told)
            emit rowsAboutToArrive(position, count);
        view_.insert(view_.begin() + position, rows.begin() + i, rows.begin() + end);
        if (cursor_ >= position)
            cursor_ += count; // the same row, further down
        if (told)
            emit rowsArrived();
        first = i == 0 ? position : std::min(first, position);
        i = end;
    }
    return first;
}

void ClientDataSet::stopReading() {
    if (sliceTimer_)
        killTimer(sliceTimer_);
    sliceTimer_ = 0;
    reading_.reset();
}

void ClientDataSet::readAll() {
    if (readFailure_)
        readAgain();
    finishReading();
}

void ClientDataSet::finishReading() {
    if (readFailure_)
        std::rethrow_exception(readFailure_);
    while (reading_)
        readSlice(-1, active());
}

void ClientDataSet::readAgain() {
    if (state_ != DataSetState::Browse || !log_.empty())
        std::rethrow_exception(readFailure_);
    const int position = cursor_;
    close();
    open();
    readWhile([&] { return position >= int(view_.size()); });
    setCursor(position);
}

void ClientDataSet::needWholeTable() const {
    // Filling the cache to the whole table changes no answer given so far, only completes it.
    if (!wholeRead())
        const_cast<ClientDataSet*>(this)->readAll();
}

void ClientDataSet::timerEvent(QTimerEvent* event) {
    if (event->timerId() != sliceTimer_) {
        QObject::timerEvent(event);
        return;
    }
    try {
        readSlice(kSliceMs);
    } catch (...) {
        // Kept in readFailure_: the next command that needs every row reports it.
    }
}

bool ClientDataSet::isLocal(RowId row) const {
    return !localRows_.empty() && std::binary_search(localRows_.begin(), localRows_.end(), row);
}

bool ClientDataSet::readOrderLess(RowId a, RowId b) const {
    const bool la = isLocal(a), lb = isLocal(b);
    return la != lb ? lb : a < b;
}

int ClientDataSet::recordCount() const {
    needWholeTable();
    return int(view_.size());
}

bool ClientDataSet::isEmpty() const {
    if (view_.empty())
        needWholeTable();
    return view_.empty();
}

void ClientDataSet::close() {
    if (!active())
        return;
    stopReading();
    readFailure_ = nullptr;
    localRows_.clear();
    pendingLocate_.reset();
    store_.clear();
    view_.clear();
    view_.shrink_to_fit();
    ordered_ = {};
    log_.clear();
    buffer_.clear();
    editingRow_ = kNoRow;
    cursor_ = -1;
    bof_ = eof_ = true;
    state_ = DataSetState::Inactive;
    emit stateChanged();
    notifyDataSetChanged();
}

// ---------------------------------------------------------------- view: filter and order

bool ClientDataSet::passesFilter(RowId row) const {
    return !filtered_ || !filterExpr_ || filterExpr_->matches(store_, row);
}

bool ClientDataSet::rowLess(RowId a, RowId b) const {
    for (int column : sortFields_) {
        const bool na = store_.isNull(a, column), nb = store_.isNull(b, column);
        int c = 0;
        if (na || nb) {
            c = na == nb ? 0 : (na ? -1 : 1);
        } else {
            switch (store_.kind(column)) {
            case FieldKind::Integer:
            case FieldKind::Date:
            case FieldKind::Time: {
                const qint32 x = store_.integer(a, column), y = store_.integer(b, column);
                c = x < y ? -1 : (x > y ? 1 : 0);
                break;
            }
            case FieldKind::Float: {
                const double x = store_.real(a, column), y = store_.real(b, column);
                c = x < y ? -1 : (x > y ? 1 : 0);
                break;
            }
            case FieldKind::Text:
                c = compareText(store_.textView(a, column), store_.textView(b, column));
                break;
            case FieldKind::Blob:
                break;
            }
        }
        if (c != 0)
            return (sortOptions_ & Descending) ? c > 0 : c < 0;
    }
    return readOrderLess(a, b);
}

void ClientDataSet::rebuildView() {
    view_.clear();
    if (sortFields_.empty()) {
        const RowId count = RowId(store_.rowCount());
        view_.reserve(count);
        for (RowId row = 0; row < count; ++row)
            if (store_.alive(row) && passesFilter(row) && !isLocal(row))
                view_.push_back(row);
        for (RowId row : localRows_)
            if (store_.alive(row) && passesFilter(row))
                view_.push_back(row);
        return;
    }
    // Sorting a hundred thousand texts by the collation is what costs; a filter switched on or
    // off only tests rows. The whole order is kept until the rows or the index change.
    if (ordered_.version != store_.version() || ordered_.fields != sortFields_ ||
        ordered_.options != sortOptions_) {
        ordered_.rows.clear();
        const RowId count = RowId(store_.rowCount());
        ordered_.rows.reserve(count);
        for (RowId row = 0; row < count; ++row)
            if (store_.alive(row))
                ordered_.rows.push_back(row);
        std::sort(ordered_.rows.begin(), ordered_.rows.end(),
                  [this](RowId a, RowId b) { return rowLess(a, b); });
        ordered_.version = store_.version();
        ordered_.fields = sortFields_;
        ordered_.options = sortOptions_;
    }
    if (!filtered_ || !filterExpr_) {
        view_ = ordered_.rows;
        return;
    }
    view_.reserve(ordered_.rows.size());
    for (RowId row : ordered_.rows)
        if (passesFilter(row))
            view_.push_back(row);
}

void ClientDataSet::removeFromView(RowId row) {
    auto it = std::find(view_.begin(), view_.end(), row);
    if (it != view_.end())
        view_.erase(it);
}

int ClientDataSet::placeInView(RowId row, bool inView) {
    // A row that was never visible needs no search: appending stays cheap on a million rows.
    if (inView)
        removeFromView(row);
    if (!store_.alive(row) || !passesFilter(row))
        return -1;
    auto it = sortFields_.empty()
                  ? std::lower_bound(view_.begin(), view_.end(), row,
                                     [this](RowId a, RowId b) { return readOrderLess(a, b); })
                  : std::lower_bound(view_.begin(), view_.end(), row,
                                     [this](RowId a, RowId b) { return rowLess(a, b); });
    // Insert first: it may move the whole view, so begin() is only valid afterwards.
    const auto placed = view_.insert(it, row);
    return int(placed - view_.begin());
}

void ClientDataSet::setFilter(const QString& expression) {
    if (expression == filterText_)
        return;
    std::unique_ptr<FilterExpression> parsed;
    if (!expression.trimmed().isEmpty())
        parsed = std::make_unique<FilterExpression>(expression, [this](const QString& name) {
            Field* f = findField(name);
            return f ? f->index() : -1;
        });
    filterText_ = expression;
    filterExpr_ = std::move(parsed);
    if (filtered_ && active()) {
        rebuildView();
        first();
        notifyDataSetChanged();
    }
}

void ClientDataSet::setFiltered(bool on) {
    if (on == filtered_)
        return;
    filtered_ = on;
    if (active()) {
        const RowId current =
            (cursor_ >= 0 && cursor_ < int(view_.size())) ? view_[cursor_] : kNoRow;
        rebuildView();
        auto it = std::find(view_.begin(), view_.end(), current);
        if (it != view_.end())
            setCursor(int(it - view_.begin()), false);
        else
            setCursor(view_.empty() ? -1 : 0, false);
        notifyDataSetChanged();
        notifyScrolled();
    }
}

void ClientDataSet::addIndex(const QString& name, const QString& fields, IndexOptions options) {
    indexDefs_.push_back({name, fields, options});
}

void ClientDataSet::setIndexName(const QString& name) {
    std::vector<int> sort;
    IndexOptions options = 0;
    if (!name.isEmpty()) {
        auto it = std::find_if(indexDefs_.begin(), indexDefs_.end(),
                               [&](const IndexDef& d) { return d.name == name; });
        if (it == indexDefs_.end())
            throw DataError(
                QStringLiteral("%1: índice '%2' não encontrado.").arg(objectName(), name));
        sort = fieldIndexes(it->fields);
        options = it->options;
    }
    if (active() && sort == sortFields_ && options == sortOptions_ && readsInIndexOrder()) {
        indexName_ = name; // already read in this order
        return;
    }
    if (!sort.empty() && active()) {
        if (!wholeRead() && readOrderServes(sort, options) && state_ == DataSetState::Browse &&
            log_.empty() && localRows_.empty()) {
            indexName_ = name;
            sortFields_ = std::move(sort);
            sortOptions_ = options;
            readAgainInIndexOrder(); // the first rows of the order at once
            return;
        }
        readAll(); // an order is an order of every row
    }
    indexName_ = name;
    sortFields_ = std::move(sort);
    sortOptions_ = options;
    if (active()) {
        const RowId current =
            (cursor_ >= 0 && cursor_ < int(view_.size())) ? view_[cursor_] : kNoRow;
        rebuildView();
        auto it = std::find(view_.begin(), view_.end(), current);
        setCursor(it != view_.end() ? int(it - view_.begin()) : (view_.empty() ? -1 : 0), false);
        notifyDataSetChanged();
    }
}

// ---------------------------------------------------------------- cursor

void ClientDataSet::setCursor(int position, bool notify) {
    pendingLocate_.reset(); // a move of its own comes before any wish to follow another row
    if (view_.empty())
        position = -1;
    else
        position = std::clamp(position, 0, int(view_.size()) - 1);
    const bool moved = position != cursor_;
    cursor_ = position;
    if (notify && moved)
        notifyScrolled();
}

void ClientDataSet::requireBrowsing(const char* what) const {
    if (state_ == DataSetState::Inactive)
        throw DataError(QStringLiteral("%1: a tabela está fechada (%2).")
                            .arg(objectName(), QString::fromUtf8(what)));
    if (state_ != DataSetState::Browse)
        throw DataError(QStringLiteral("%1: grave ou cancele a alteração antes de %2.")
                            .arg(objectName(), QString::fromUtf8(what)));
}

void ClientDataSet::first() {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        post();
    setCursor(0);
    bof_ = true;
    eof_ = view_.empty();
}

void ClientDataSet::last() {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        post();
    readAll();
    setCursor(int(view_.size()) - 1);
    eof_ = true;
    bof_ = view_.empty();
}

void ClientDataSet::next() {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        post();
    readWhile([this] { return cursor_ + 1 >= int(view_.size()); });
    if (cursor_ + 1 < int(view_.size())) {
        setCursor(cursor_ + 1);
        bof_ = eof_ = false;
    } else {
        eof_ = true;
    }
}

void ClientDataSet::prior() {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        post();
    if (cursor_ > 0) {
        setCursor(cursor_ - 1);
        bof_ = eof_ = false;
    } else {
        bof_ = true;
    }
}

void ClientDataSet::moveTo(int position) {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        post();
    readWhile([&] { return position >= int(view_.size()); });
    setCursor(position);
    bof_ = eof_ = view_.empty();
}

bool ClientDataSet::locate(const QString& fieldList, const QVariantList& values,
                           LocateOptions options) {
    requireBrowsing("localizar");
    const std::vector<int> columns = fieldIndexes(fieldList);
    if (columns.size() != std::size_t(values.size()))
        throw DataError(QStringLiteral("%1: localizar com %2 campos e %3 valores.")
                            .arg(objectName())
                            .arg(columns.size())
                            .arg(values.size()));
    // In an index's order a row still to come may go before the one found: every row is read.
    if (!sortFields_.empty())
        needWholeTable();
    const std::vector<Wanted> wanted(values.begin(), values.end());
    // Not among the rows read so far: the rest are read until the row comes or none is left.
    for (std::pair<int, int> range{0, int(view_.size())};; range = readSlice(kSliceMs)) {
        for (int i = range.first; i < range.first + range.second; ++i) {
            bool all = true;
            for (std::size_t c = 0; c < columns.size() && all; ++c)
                all = wanted[c].matches(store_, view_[i], columns[c], options);
            if (all) {
                setCursor(i);
                bof_ = eof_ = false;
                emit afterScroll();
                return true;
            }
        }
        if (wholeRead())
            return false;
    }
}

int ClientDataSet::findInView(int column, const QVariant& value) const {
    const Wanted wanted(value);
    for (int i = 0; i < int(view_.size()); ++i)
        if (wanted.matches(store_, view_[i], column, 0))
            return i;
    return -1;
}

void ClientDataSet::locateWhenRead(const QString& fieldName, const QVariant& value) {
    requireBrowsing("localizar");
    const int column = field(fieldName).index();
    if (const int found = findInView(column, value); found >= 0) {
        setCursor(found);
        bof_ = eof_ = false;
        emit afterScroll();
    } else if (!wholeRead()) {
        pendingLocate_ = PendingLocate{column, value};
    }
}

QVariant ClientDataSet::lookup(const QString& keyField, const QVariant& key,
                               const QString& resultField) const {
    auto* self = const_cast<ClientDataSet*>(this);
    const Field* k = self->findField(keyField);
    const Field* r = self->findField(resultField);
    if (!k || !r || !active())
        return {};
    const Wanted wanted(key);
    for (;;) {
        for (RowId row : view_)
            if (wanted.matches(store_, row, k->index(), 0))
                return store_.value(row, r->index());
        if (wholeRead())
            return {};
        needWholeTable();
    }
}

QVariant ClientDataSet::valueAt(int position, int fieldIndex) const {
    if (position >= int(view_.size()))
        needWholeTable();
    if (position < 0 || position >= int(view_.size()))
        return {};
    return store_.value(view_[position], fieldIndex);
}

// ---------------------------------------------------------------- current record

QVariant ClientDataSet::currentValue(int column) const {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return buffer_[column];
    if (cursor_ < 0 || cursor_ >= int(view_.size()))
        return {};
    return store_.value(view_[cursor_], column);
}

void ClientDataSet::setCurrentValue(int column, const QVariant& value) {
    buffer_[column] = value;
    emit recordChanged(fields_[column].get());
}

void ClientDataSet::requireEditing(const char* what) const {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        throw DataError(QStringLiteral("%1 não está em edição (%2).")
                            .arg(objectName(), QString::fromUtf8(what)));
}

void ClientDataSet::setState(DataSetState state) {
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged();
}

void ClientDataSet::insert() {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        post();
    requireBrowsing("incluir");
    pendingLocate_.reset();
    buffer_.assign(fields_.size(), QVariant());
    editingRow_ = kNoRow;
    setState(DataSetState::Insert);
    emit recordChanged(nullptr);
}

void ClientDataSet::edit() {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return;
    pendingLocate_.reset();
    requireBrowsing("alterar");
    if (view_.empty())
        throw DataError(QStringLiteral("Não há registro para alterar."));
    editingRow_ = view_[cursor_];
    buffer_.resize(fields_.size());
    for (std::size_t c = 0; c < fields_.size(); ++c)
        buffer_[c] = store_.value(editingRow_, int(c));
    setState(DataSetState::Edit);
}

void ClientDataSet::checkRequired() const {
    for (const auto& f : fields_) {
        if (f->def().required && f->isNull())
            throw FieldError(
                QStringLiteral("O campo '%1' precisa ser preenchido.").arg(f->def().label()));
    }
}

void ClientDataSet::addDataSource(DataSource* source) {
    removeDataSource(source);
    sources_.emplace_back(source);
}

void ClientDataSet::removeDataSource(DataSource* source) {
    std::erase_if(sources_, [source](const QPointer<DataSource>& s) { return !s || s == source; });
}

void ClientDataSet::writePendingInput() {
    std::vector<std::function<void()>> steps;
    for (const QPointer<DataSource>& source : sources_)
        steps.push_back([source] {
            if (source)
                source->writePendingInput();
        });
    runAll(steps);
}

void ClientDataSet::post() {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    writePendingInput(); // what is still typed; a value that does not fit stops the post here
    emit beforePost();
    checkRequired();

    RowId row = editingRow_;
    const bool inserting = state_ == DataSetState::Insert;
    if (inserting) {
        row = store_.appendRow();
        if (reading_)
            localRows_.push_back(row);
        log_.push_back({Change::Insert, row, {}});
    } else {
        const bool logged =
            std::any_of(log_.begin(), log_.end(), [&](const Change& c) { return c.row == row; });
        if (!logged) {
            std::vector<QVariant> original(fields_.size());
            for (std::size_t c = 0; c < fields_.size(); ++c)
                original[c] = store_.value(row, int(c));
            log_.push_back({Change::Update, row, std::move(original)});
        }
    }
    for (std::size_t c = 0; c < fields_.size(); ++c)
        store_.setValue(row, int(c), buffer_[c]);
    buffer_.clear();
    editingRow_ = kNoRow;
    state_ = DataSetState::Browse;
    const int placed = placeInView(row, !inserting);
    const int position = placed >= 0 ? placed : std::min(cursor_, int(view_.size()) - 1);
    cursor_ = view_.empty() ? -1 : position;
    bof_ = eof_ = view_.empty();
    emit stateChanged();
    notifyDataSetChanged();
    emit afterPost();
}

void ClientDataSet::cancel() {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    buffer_.clear();
    editingRow_ = kNoRow;
    setState(DataSetState::Browse);
    emit recordChanged(nullptr);
    notifyScrolled();
}

void ClientDataSet::deleteRecord() {
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    if (state_ == DataSetState::Edit)
        cancel();
    requireBrowsing("excluir");
    if (view_.empty())
        throw DataError(QStringLiteral("Não há registro para excluir."));
    const RowId row = view_[cursor_];
    auto logged =
        std::find_if(log_.begin(), log_.end(), [&](const Change& c) { return c.row == row; });
    if (logged != log_.end() && logged->kind == Change::Insert) {
        log_.erase(logged); // never reached the database
    } else if (logged != log_.end()) {
        logged->kind = Change::Delete;
    } else {
        std::vector<QVariant> original(fields_.size());
        for (std::size_t c = 0; c < fields_.size(); ++c)
            original[c] = store_.value(row, int(c));
        log_.push_back({Change::Delete, row, std::move(original)});
    }
    store_.setAlive(row, false);
    view_.erase(view_.begin() + cursor_);
    cursor_ = view_.empty() ? -1 : std::min(cursor_, int(view_.size()) - 1);
    bof_ = eof_ = view_.empty();
    notifyDataSetChanged();
}

namespace {
void bindValue(SqlQuery& query, const QString& name, FieldKind kind, const QVariant& v);
}

bool ClientDataSet::refreshRow(const QString& keyField, const QVariant& key) {
    requireBrowsing("reler o registro");
    if (!log_.empty())
        throw DataError(QStringLiteral("%1: há alterações por gravar.").arg(objectName()));
    readAll(); // a row cached twice, once read again and once by the reading, would be wrong
    if (table_.isEmpty() || !connection_)
        throw DataError(QStringLiteral("%1 não tem tabela para reler.").arg(objectName()));
    const Field& keyDef = field(keyField);
    SqlQuery query(connection_);
    query.sql() << QStringLiteral("select * from %1 where %2 = :chave").arg(table_, keyField);
    bindValue(query, QStringLiteral("chave"), keyDef.kind(), key);
    query.open();

    // A plain walk of the key column: cheap next to the round trip, even over many rows.
    const int column = keyDef.index();
    const bool integerKey = keyDef.kind() == FieldKind::Integer;
    const qint64 wantedInteger = key.toLongLong();
    auto matches = [&](RowId r) {
        if (!store_.alive(r) || store_.isNull(r, column))
            return false;
        return integerKey ? store_.integer(r, column) == wantedInteger
                          : store_.value(r, column) == key;
    };
    RowId row = kNoRow;
    for (RowId r = 0; r < RowId(store_.rowCount()) && row == kNoRow; ++r)
        if (matches(r))
            row = r;
    const bool cached = row != kNoRow;
    if (query.eof()) {
        query.close();
        if (cached) {
            store_.setAlive(row, false);
            removeFromView(row);
            cursor_ = view_.empty() ? -1 : std::min(cursor_, int(view_.size()) - 1);
            bof_ = eof_ = view_.empty();
            notifyDataSetChanged();
        }
        return false;
    }
    if (!cached)
        row = store_.appendRow();
    for (int i = 0; i < query.columnCount(); ++i) {
        if (const Field* f = findField(query.columnName(i))) {
            QVariant v = query.value(i);
            if (f->kind() == FieldKind::Date && v.typeId() == QMetaType::QDateTime)
                v = v.toDateTime().date();
            store_.setValue(row, f->index(), v);
        }
    }
    query.close();
    const int position = placeInView(row, cached);
    if (position >= 0)
        cursor_ = position;
    else
        cursor_ = view_.empty() ? -1 : std::min(std::max(cursor_, 0), int(view_.size()) - 1);
    bof_ = eof_ = view_.empty();
    notifyDataSetChanged();
    notifyScrolled();
    return true;
}

// ---------------------------------------------------------------- apply

void ClientDataSet::applyUpdates(int /*maxErrors*/) {
    applyTogether({this});
}

void ClientDataSet::applyTogether(const std::vector<ClientDataSet*>& dataSets) {
    SqlConnection* connection = nullptr;
    for (ClientDataSet* ds : dataSets) {
        if (ds->state_ == DataSetState::Edit || ds->state_ == DataSetState::Insert)
            ds->post();
        if (ds->log_.empty())
            continue;
        if (ds->table_.isEmpty() || !ds->connection_)
            throw DataError(QStringLiteral("%1 não tem tabela para gravar.").arg(ds->objectName()));
        if (connection && connection != ds->connection_)
            throw DataError(
                QStringLiteral("Tabelas de bancos diferentes não podem ser gravadas juntas."));
        connection = ds->connection_;
    }
    if (!connection)
        return;
    {
        SqlConnection::Transaction transaction(*connection);
        for (ClientDataSet* ds : dataSets)
            ds->applyLog();
        transaction.commit();
    }
    // Only a committed transaction empties the logs: on failure every change stays to retry.
    for (ClientDataSet* ds : dataSets)
        ds->forgetLog();
}

namespace {
void bindValue(SqlQuery& query, const QString& name, FieldKind kind, const QVariant& v) {
    if (v.isNull())
        return query.setNull(name, kind);
    switch (kind) {
    case FieldKind::Integer:
        return query.setInteger(name, v.toLongLong());
    case FieldKind::Float:
        return query.setFloat(name, v.toDouble());
    case FieldKind::Text:
        return query.setText(name, v.toString());
    case FieldKind::Date:
        return query.setDate(name, v.toDate());
    case FieldKind::Time:
        return query.setTime(name, v.toTime());
    case FieldKind::Blob:
        return query.setBlob(name, v.toByteArray());
    }
}

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}
} // namespace

void ClientDataSet::applyLog() {
    const bool hasKey =
        std::any_of(fields_.begin(), fields_.end(), [](const auto& f) { return f->def().key; });
    for (const Change& change : log_) {
        SqlQuery query(connection_);
        QStringList& sql = query.sql();
        // Finds the row as it was read: by its key, or by every old value where there is none.
        // An update also asks that every column it changes still holds what was read: a figure
        // another station stored meanwhile is never overwritten by one computed from an older
        // read (a stock, above all).
        auto addWhere = [&]() {
            QStringList conditions;
            for (const auto& f : fields_) {
                const bool changed =
                    change.kind == Change::Update &&
                    !sameValue(store_.value(change.row, f->index()), change.original[f->index()]);
                if (f->kind() == FieldKind::Blob || (hasKey && !f->def().key && !changed))
                    continue;
                const QVariant& old = change.original[f->index()];
                if (old.isNull()) {
                    // A plain "=" never matches an empty column; an empty text may also be ''.
                    conditions << (f->kind() == FieldKind::Text
                                       ? QStringLiteral("(%1 IS NULL OR %1 = '')").arg(f->name())
                                       : f->name() + " IS NULL");
                } else {
                    const QString p = QStringLiteral("OLD_%1").arg(f->index());
                    conditions << QStringLiteral("%1 = :%2").arg(f->name(), p);
                    bindValue(query, p, f->kind(), old);
                }
            }
            sql << "WHERE " + conditions.join(" AND ");
            if (!hasKey)
                sql << "ROWS 1";
        };
        if (change.kind == Change::Insert) {
            QStringList names, params;
            for (const auto& f : fields_) {
                const QVariant v = store_.value(change.row, f->index());
                if (v.isNull())
                    continue;
                names << f->name();
                params << QStringLiteral(":NEW_%1").arg(f->index());
                bindValue(query, QStringLiteral("NEW_%1").arg(f->index()), f->kind(), v);
            }
            sql << QStringLiteral("INSERT INTO %1 (%2)").arg(table_, names.join(", "))
                << QStringLiteral("VALUES (%1)").arg(params.join(", "));
            query.exec();
            continue;
        }
        if (change.kind == Change::Update) {
            QStringList sets;
            for (const auto& f : fields_) {
                const QVariant v = store_.value(change.row, f->index());
                if (sameValue(v, change.original[f->index()]))
                    continue;
                const QString p = QStringLiteral("NEW_%1").arg(f->index());
                sets << QStringLiteral("%1 = :%2").arg(f->name(), p);
                bindValue(query, p, f->kind(), v);
            }
            if (sets.isEmpty())
                continue; // nothing changed: nothing to write
            sql << QStringLiteral("UPDATE %1 SET %2").arg(table_, sets.join(", "));
        } else {
            sql << QStringLiteral("DELETE FROM %1").arg(table_);
        }
        addWhere();
        if (query.exec() != 1)
            throw ConflictError(
                QStringLiteral("Outra estação alterou ou excluiu este registro depois que ele foi "
                               "lido, e nada foi gravado. Os dados atuais foram lidos de novo: "
                               "confira e grave outra vez."),
                QStringLiteral("%1: %2").arg(table_, sql.join(' ')));
    }
}

void ClientDataSet::postAndApply(const std::function<void()>& change) {
    try {
        if (change)
            change();
        if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
            post();
        applyUpdates();
    } catch (...) {
        cancelUpdates();
        throw;
    }
}

void ClientDataSet::forgetLog() {
    log_.clear();
}

void ClientDataSet::cancelUpdates() {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        cancel();
    for (auto it = log_.rbegin(); it != log_.rend(); ++it) {
        switch (it->kind) {
        case Change::Insert:
            store_.setAlive(it->row, false);
            break;
        case Change::Update:
        case Change::Delete:
            for (std::size_t c = 0; c < fields_.size(); ++c)
                store_.setValue(it->row, int(c), it->original[c]);
            store_.setAlive(it->row, true);
            break;
        }
    }
    log_.clear();
    const RowId current = (cursor_ >= 0 && cursor_ < int(view_.size())) ? view_[cursor_] : kNoRow;
    rebuildView();
    auto it = std::find(view_.begin(), view_.end(), current);
    cursor_ = it != view_.end() ? int(it - view_.begin()) : (view_.empty() ? -1 : 0);
    notifyDataSetChanged();
}

// ---------------------------------------------------------------- notifications

void ClientDataSet::disableControls() {
    ++disabledCount_;
}

void ClientDataSet::enableControls() {
    if (disabledCount_ > 0 && --disabledCount_ == 0) {
        emit dataSetChanged();
        emit scrolled();
    }
}

void ClientDataSet::notifyDataSetChanged() {
    if (!controlsDisabled())
        emit dataSetChanged();
}

void ClientDataSet::notifyScrolled() {
    if (!controlsDisabled())
        emit scrolled();
    emit afterScroll();
}

} // namespace data
