// Applying the change log (each logged change becomes one statement, all in one transaction),
// and reading one stored row again.
#include "platform/data/client_dataset.h"
#include "platform/data/errors.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include <algorithm>

namespace data {

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

} // namespace data
