// The current record: reading its values, and editing it (insert, edit, post, cancel, delete).
#include "platform/data/client_dataset.h"
#include "platform/data/data_source.h"
#include "platform/data/errors.h"
#include <algorithm>

namespace data {

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

} // namespace data
