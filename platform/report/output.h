#pragma once
// Where a report goes besides the preview: a PDF file, the default printer, a printer the user
// picks. Long runs show progress and may be cancelled; errors are thrown in Portuguese.
#include <QString>

class QPrinter;
class QWidget;

namespace report {

class Report;

// Writes every page to the file. Returns false when the user cancelled; no file is then left.
bool writePdf(Report& report, const QString& path, QWidget* parent);
// Sends the pages to an already set-up printer (its page range, if any). False when cancelled.
bool printPages(Report& report, QPrinter& printer, QWidget* parent);

// Asks for a file name and writes the PDF there; nothing happens when the user cancels.
void savePdfAs(Report& report, QWidget* parent);
// Prints on the default printer without a dialog. With no printer, offers to save a PDF instead.
void printDirect(Report& report, QWidget* parent);
// The system's print dialog, then printing; with no printer, the same offer of a PDF.
void printWithDialog(Report& report, QWidget* parent);

} // namespace report
