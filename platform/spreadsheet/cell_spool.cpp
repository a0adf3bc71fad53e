#include "platform/spreadsheet/cell_spool.h"
#include <QDir>
#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace spreadsheet {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

template <typename T> void put(std::vector<char>& out, T value) {
    const std::size_t at = out.size();
    out.resize(at + sizeof(T));
    std::memcpy(out.data() + at, &value, sizeof(T));
}

// Reads the spool back in large blocks.
class Reader {
public:
    explicit Reader(QFile& file) : file_(file) {}
    bool atEnd() { return pos_ == data_.size() && !refill(); }
    template <typename T> T get() {
        T value;
        read(reinterpret_cast<char*>(&value), sizeof(T));
        return value;
    }
    void read(char* to, std::size_t size) {
        while (size > 0) {
            if (pos_ == data_.size() && !refill())
                throw std::runtime_error("Não foi possível ler o arquivo temporário da planilha.");
            const std::size_t n = std::min(size, data_.size() - pos_);
            std::memcpy(to, data_.data() + pos_, n);
            pos_ += n;
            to += n;
            size -= n;
        }
    }

private:
    bool refill() {
        data_.resize(kBufferSize);
        const qint64 n = file_.read(data_.data(), qint64(data_.size()));
        data_.resize(n > 0 ? std::size_t(n) : 0);
        pos_ = 0;
        return !data_.empty();
    }
    QFile& file_;
    std::vector<char> data_;
    std::size_t pos_ = 0;
};

// Column order, and of two values for one cell only the one written last.
void settle(std::vector<SpooledCell>& cells) {
    std::stable_sort(cells.begin(), cells.end(), [](const SpooledCell& a, const SpooledCell& b) {
        return a.column < b.column;
    });
    auto keep = cells.begin();
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        auto next = it + 1;
        if (next != cells.end() && next->column == it->column)
            continue;
        if (keep != it)
            *keep = std::move(*it);
        ++keep;
    }
    cells.erase(keep, cells.end());
}

} // namespace

CellSpool::CellSpool(const QString& folder)
    : file_(QDir(folder).filePath(QStringLiteral(".planilha-XXXXXX.tmp"))) {
    if (!file_.open())
        throw std::runtime_error(QStringLiteral("Não foi possível criar um arquivo temporário em "
                                                "\"%1\": %2")
                                     .arg(QDir::toNativeSeparators(folder), file_.errorString())
                                     .toStdString());
    buffer_.reserve(kBufferSize + 4096);
}

void CellSpool::add(std::uint32_t row, std::uint32_t column, CellValue value) {
    if (started_ && row < lastRow_) {
        late_[row].push_back({column, std::move(value)});
        return;
    }
    started_ = true;
    lastRow_ = row;
    put(buffer_, row);
    put(buffer_, column);
    put(buffer_, value.kind);
    if (value.kind == CellValue::Kind::Text) {
        put(buffer_, std::uint32_t(value.text.size()));
        buffer_.insert(buffer_.end(), value.text.begin(), value.text.end());
    } else if (value.kind != CellValue::Kind::Empty) {
        put(buffer_, value.number);
    }
    if (buffer_.size() >= kBufferSize)
        flush();
}

void CellSpool::flush() {
    if (buffer_.empty())
        return;
    if (file_.write(buffer_.data(), qint64(buffer_.size())) != qint64(buffer_.size()))
        fail();
    buffer_.clear();
}

void CellSpool::fail() const {
    throw std::runtime_error(
        QStringLiteral("Não foi possível gravar o arquivo temporário da planilha: %1")
            .arg(file_.errorString())
            .toStdString());
}

void CellSpool::replay(const RowFn& fn) {
    flush();
    if (!file_.flush() || !file_.seek(0))
        fail();
    Reader reader(file_);
    std::vector<SpooledCell> cells;
    std::uint32_t row = 0;
    auto late = late_.begin();
    auto emitRow = [&] {
        if (cells.empty())
            return;
        // Rows that only waited in memory and come before this one.
        for (; late != late_.end() && late->first < row; ++late) {
            settle(late->second);
            fn(late->first, late->second);
        }
        if (late != late_.end() && late->first == row) {
            for (SpooledCell& cell : late->second)
                cells.push_back(std::move(cell));
            ++late;
        }
        settle(cells);
        fn(row, cells);
        cells.clear();
    };
    while (!reader.atEnd()) {
        const auto cellRow = reader.get<std::uint32_t>();
        SpooledCell cell;
        cell.column = reader.get<std::uint32_t>();
        cell.value.kind = reader.get<CellValue::Kind>();
        if (cell.value.kind == CellValue::Kind::Text) {
            cell.value.text.resize(reader.get<std::uint32_t>());
            reader.read(cell.value.text.data(), cell.value.text.size());
        } else if (cell.value.kind != CellValue::Kind::Empty) {
            cell.value.number = reader.get<double>();
        }
        if (cellRow != row)
            emitRow();
        row = cellRow;
        cells.push_back(std::move(cell));
    }
    emitRow();
    for (; late != late_.end(); ++late) {
        settle(late->second);
        fn(late->first, late->second);
    }
}

} // namespace spreadsheet
