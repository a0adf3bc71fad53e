#pragma once
// Holds a sheet's cells, written in any order, until the sheet is written out row by row (which
// a streaming .xlsx writer needs). Rows that come in ascending order (the usual case, however
// many) go to a temporary file as they come; a cell for a row above the last one spooled (a
// header written last) waits in memory. replay() hands back every row in ascending order with
// its cells in column order, the last value written to a cell winning.
#include "platform/spreadsheet/cell_value.h"
#include <QTemporaryFile>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <vector>

namespace spreadsheet {

struct SpooledCell {
    std::uint32_t column = 0; // from 0
    CellValue value;
};

class CellSpool {
public:
    // The temporary file is made in folder; throws std::runtime_error when it cannot be.
    explicit CellSpool(const QString& folder);

    // row and column from 0.
    void add(std::uint32_t row, std::uint32_t column, CellValue value);

    using RowFn = std::function<void(std::uint32_t row, std::span<const SpooledCell> cells)>;
    void replay(const RowFn& fn);

private:
    void flush();
    [[noreturn]] void fail() const;

    QTemporaryFile file_;
    std::vector<char> buffer_;
    bool started_ = false;
    std::uint32_t lastRow_ = 0;
    std::map<std::uint32_t, std::vector<SpooledCell>> late_;
};

} // namespace spreadsheet
