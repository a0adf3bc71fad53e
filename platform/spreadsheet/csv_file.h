#pragma once
// CSV and plain-text tables as spreadsheet programs and other systems write them: ';', ',' or tab
// between fields, fields in quotes holding separators, doubled quotes and line breaks, in UTF-8
// (with or without a byte-order mark), Windows-1252 or UTF-16 with its mark. libcsv splits the
// bytes; each field is decoded after. Every field is read as text: what it means is the reader's
// caller's to say. Record n of the file is row n - 1 of the sheet, a blank line an empty row.
#include "platform/spreadsheet/sheet.h"
#include <QByteArray>
#include <QStringList>

namespace spreadsheet {

enum class TextEncoding { Utf8, Windows1252, Utf16 };

struct CsvFormat {
    char separator = ';';
    TextEncoding encoding = TextEncoding::Utf8;
    bool operator==(const CsvFormat&) const = default;
};

// The encoding the bytes are in (a byte-order mark, else valid UTF-8, else Windows-1252) and the
// separator that splits the first records into one same number of fields, the most of them.
CsvFormat detectCsvFormat(const QByteArray& bytes);

// Throws FileError for bytes that are no text (a zero byte outside UTF-16), ReadCancelled when
// progress says stop.
Sheet readCsv(const QByteArray& bytes, const CsvFormat& format, const ReadProgress& progress = {});

// Writes the rows as a CSV a spreadsheet program opens with its accents: UTF-8 with the mark,
// every field quoted. Throws FileError when the file cannot be written.
void writeCsv(const QString& path, const std::vector<QStringList>& rows, char separator = ';');

} // namespace spreadsheet
