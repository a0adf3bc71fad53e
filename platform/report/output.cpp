#include "platform/report/output.h"
#include "platform/report/page_painter.h"
#include "platform/report/progress.h"
#include "platform/report/run.h"
#include "platform/ui/dialogs.h"
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <stdexcept>

namespace report {

namespace {

constexpr int kPdfResolution = 300;

QPageLayout pageLayout(const Report& report) {
    // The report places everything itself, inside its own margins.
    return QPageLayout(QPageSize(report.pageSize, QPageSize::Millimeter), QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// Paints the pages from first to last (1-based, inclusive) on a device whose painter is open.
bool paintPages(Report& report, QPainter& painter, QPagedPaintDevice& device, int first, int last,
                const QString& label, QWidget* parent) {
    Run run(report);
    last = std::min(last, run.pageCount());
    const double pixelsPerMm = device.logicalDpiX() / 25.4;
    Progress progress(parent, label, last - first + 1);
    for (int number = first; number <= last; ++number) {
        if (number > first)
            device.newPage();
        PagePainter(painter, pixelsPerMm).paint(run.page(number - 1));
        if (!progress.step(number - first + 1))
            return false;
    }
    return true;
}

bool offerPdfInstead(Report& report, QWidget* parent) {
    if (ui::dialogs().question(parent, QStringLiteral("Atenção"),
                               QStringLiteral("Não há impressora instalada neste computador. "
                                              "Deseja salvar o relatório em PDF?")))
        savePdfAs(report, parent);
    return true;
}

} // namespace

bool writePdf(Report& report, const QString& path, QWidget* parent) {
    // Written beside the target and renamed at the end, so a cancelled or failed run never
    // leaves half a file, nor destroys a file of that name written before.
    const QString partial = path + QStringLiteral(".part");
    bool done = false;
    {
        QPdfWriter writer(partial);
        writer.setTitle(report.documentName);
        writer.setCreator(QStringLiteral("Quiru"));
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(pageLayout(report));
        QPainter painter;
        if (!painter.begin(&writer))
            throw std::runtime_error(
                QStringLiteral("Não foi possível gravar o arquivo %1.").arg(path).toStdString());
        try {
            done = paintPages(report, painter, writer, 1, INT_MAX,
                              QStringLiteral("Gerando o PDF..."), parent);
        } catch (...) {
            painter.end();
            QFile::remove(partial);
            throw;
        }
        painter.end();
    }
    if (!done) {
        QFile::remove(partial);
        return false;
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw std::runtime_error(
            QStringLiteral("Não foi possível gravar o arquivo %1.").arg(path).toStdString());
    }
    return true;
}

bool printPages(Report& report, QPrinter& printer, QWidget* parent) {
    printer.setDocName(report.documentName);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(report));
    int first = 1, last = INT_MAX;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = printer.toPage() > 0 ? printer.toPage() : INT_MAX;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("Não foi possível iniciar a impressão.");
    const bool done =
        paintPages(report, painter, printer, first, last, QStringLiteral("Imprimindo..."), parent);
    if (!done)
        printer.abort();
    painter.end();
    return done;
}

void savePdfAs(Report& report, QWidget* parent) {
    QString path = ui::dialogs().saveFile(parent, QStringLiteral("Salvar relatório em PDF"),
                                          QStringLiteral("PDF (*.pdf)"),
                                          report.documentName + QStringLiteral(".pdf"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    writePdf(report, path, parent);
}

void printDirect(Report& report, QWidget* parent) {
    QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
        target = QPrinterInfo::availablePrinters().constFirst();
    if (target.isNull()) {
        offerPdfInstead(report, parent);
        return;
    }
    QPrinter printer(target, QPrinter::HighResolution);
    printPages(report, printer, parent);
}

void printWithDialog(Report& report, QWidget* parent) {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        offerPdfInstead(report, parent);
        return;
    }
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, Run(report).pageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;
    printPages(report, printer, parent);
}

} // namespace report
