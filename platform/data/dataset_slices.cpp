// Reading in slices: rows arrive a slice at a time while the windows work, merge into the view,
// and a row someone waits for is followed as soon as it is read.
#include "platform/data/client_dataset.h"
#include "platform/data/table_read.h"
#include "platform/data/wanted_value.h"
#include <QElapsedTimer>
#include <QTimerEvent>
#include <algorithm>

namespace data {

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

} // namespace data
