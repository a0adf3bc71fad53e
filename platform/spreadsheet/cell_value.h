#pragma once
// What a cell holds once a value is typed into a spreadsheet set up the Brazilian way: "1.234,5"
// and "-2" are numbers, "25/12/2024" a date, "14:30:05" a time, anything else text, and an empty
// text an empty cell. Codes typed with leading zeros ("0042") or with more digits than a number
// keeps (a long bar code) stay text, so the sheet shows them as they were typed.
#include <QString>
#include <string>

namespace spreadsheet {

struct CellValue {
    enum class Kind : unsigned char {
        Empty,
        Number,    // general number format
        WholeCode, // a long whole number, shown with every digit
        Date,      // serial day number, shown DD/MM/YYYY
        Time,      // fraction of a day, shown HH:MM:SS
        ShortTime, // fraction of a day, shown HH:MM
        Text
    };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text; // UTF-8, for Text
};

CellValue cellValue(const QString& typed);

// The day number spreadsheets count dates by (1 = 1 January 1900); 0 when the date lies before
// 1 March 1900, where the common count is off by the 1900 leap day that never was.
double serialDay(int year, int month, int day);

} // namespace spreadsheet
