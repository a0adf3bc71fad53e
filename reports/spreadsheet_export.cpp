#include "reports/spreadsheet_export.h"
#include "platform/data/client_dataset.h"
#include "platform/report/progress.h"
#include "platform/spreadsheet/spreadsheet.h"
#include <QScopeGuard>

bool exportToSpreadsheet(QWidget* parent, data::ClientDataSet& rows, const QString& caption) {
    const std::unique_ptr<spreadsheet::Application> excel = spreadsheet::createApplication();
    excel->workBooks().add(1);
    excel->setCaption(caption);
    excel->setVisible(true);

    rows.open();
    rows.disableControls(); // a walk over every row: no control follows it
    const auto enable = qScopeGuard([&rows] { rows.enableControls(); });
    rows.first();
    const int count = rows.recordCount();
    const int columns = rows.fieldCount();
    // The cells are gathered, then the file is written: the progress covers both, a row each.
    report::Progress progress(parent, QStringLiteral("Gerando a planilha..."), 2 * count);
    for (int row = 0; row < count; ++row) {
        for (int j = 0; j < columns; ++j)
            excel->setCell(row + 2, j + 1, rows.field(j).asString());
        rows.next();
        if (row % 500 == 499 && !progress.step(row + 1))
            return false;
    }
    for (int j = 0; j < columns; ++j)
        excel->setCell(1, j + 1, rows.field(j).def().label());
    excel->setWriteProgress([&](int written, int) { return progress.step(count + written); });
    try {
        excel->columns().autoFit();
    } catch (const spreadsheet::Cancelled&) {
        return false;
    }
    return true;
}
