#pragma once
// A sheet as read from a file made by another program (a workbook's first sheet, or a CSV text):
// rows of cells by the file's own row numbers, each cell holding what the file says it is. The
// readers fill a merged range's every cell with the value its top-left cell shows, as the
// spreadsheet shows it over the whole range, and keep the ranges (a header may span rows).
#include <QDate>
#include <QString>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

namespace spreadsheet {

struct ReadCell {
    enum class Kind : unsigned char {
        Empty,
        Text,
        Number,
        Date,    // number is the serial day (1 = 1 January 1900), with the time as its fraction
        Boolean, // number is 0 or 1
        Error,   // a formula's error value ("#DIV/0!"), in text
        Formula, // a formula whose value the file does not hold; text is the formula
    };
    Kind kind = Kind::Empty;
    double number = 0;
    QString text;

    bool empty() const { return kind == Kind::Empty; }
    // What the cell shows, the Brazilian way: "1,5", "25/12/2024", the text itself.
    QString displayText() const;
};

struct CellRange {
    int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0; // from 0, inclusive
};

struct Sheet {
    std::vector<std::vector<ReadCell>> rows; // a row's trailing empty cells may be left out
    std::vector<CellRange> merges;

    const ReadCell& cell(int row, int column) const;
    int columnCount() const; // of the widest row
};

// Told how far the reading is (work done of total, in the reader's own units); returns false to
// stop it, which the reader does by throwing ReadCancelled.
using ReadProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

struct ReadCancelled : std::exception {
    const char* what() const noexcept override { return "read cancelled"; }
};

// The file is not what its reader reads, or cannot be read or written; what() is a sentence for
// the user.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// The date a serial day number stands for, in the count spreadsheets use; invalid for a number
// outside the years 1900 to 9999.
QDate dateOfSerial(double serial);

// Copies the top-left value of each range over the rest of it, within the rows and columns
// that hold anything (a range over a whole sheet fills no more than that).
void fillMerges(Sheet& sheet);

} // namespace spreadsheet
