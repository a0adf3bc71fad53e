#pragma once
// Reads back what an .xlsx file holds, the way a test wants to compare it: the first sheet's cells
// and the workbook's title. Uses the unzip program.
#include <QMap>
#include <QString>

namespace testing_support {

struct XlsxCell {
    QString type;  // "n" number, "inlineStr" or "s" text, as the file marks it
    QString value; // the number as stored, or the text
    int style = 0; // index of the cell's format (0: general)
    bool operator==(const XlsxCell&) const = default;
};

struct XlsxContents {
    QMap<QString, XlsxCell> cells; // by reference, "A1"
    QMap<QString, double> widths;  // column letter(s) to width
    QString title;
    QStringList numberFormats; // per style index: the format code of the cell format
};

// Throws std::runtime_error when the file cannot be read.
XlsxContents readXlsx(const QString& path);

} // namespace testing_support
