// The view: which rows pass the filter and in which order (the current index) they are seen.
#include "platform/data/client_dataset.h"
#include "platform/data/errors.h"
#include "platform/data/filter_expression.h"
#include "platform/data/text_order.h"
#include <algorithm>

namespace data {

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

} // namespace data
