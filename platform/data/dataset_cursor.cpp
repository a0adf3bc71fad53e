// The cursor over the view: moving, locating a row by values, and looking values up.
#include "platform/data/client_dataset.h"
#include "platform/data/errors.h"
#include "platform/data/wanted_value.h"
#include <algorithm>

namespace data {

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

} // namespace data
