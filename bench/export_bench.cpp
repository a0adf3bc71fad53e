// Times "Gerar em Excel" on the movement report of the large shop (its first 100,000 movements by
// date) beside libxlsxwriter alone writing the same cells, already typed and in memory, in the
// same run: the floor no export can beat.
//   export_bench [typical|large] [--rows N]
#include "bench/firebird_api.h"
#include "bench/measurement.h"
#include "bench/program_on_shop.h"
#include "bench/shop_generator.h"
#include "bench/shop_program_folder.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/data/sql_query.h"
#include "platform/spreadsheet/cell_value.h"
#include "platform/spreadsheet/xlsx_application.h"
#include "platform/ui/mask_edit.h"
#include "platform/ui/radio_group.h"
#include "reports/movement_report_filter_window.h"
#include "reports/movement_report_layout.h"
#include "reports/spreadsheet_export.h"
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <xlsxwriter.h>

namespace {

struct RawCell {
    spreadsheet::CellValue::Kind kind;
    double number;
    std::string text;
};

// The same cells as the export writes, typed from the dataset's values without any text.
std::vector<RawCell> rawCells(data::ClientDataSet& rows) {
    using Kind = spreadsheet::CellValue::Kind;
    std::vector<RawCell> cells;
    cells.reserve(std::size_t(rows.recordCount() + 1) * std::size_t(rows.fieldCount()));
    for (int j = 0; j < rows.fieldCount(); ++j)
        cells.push_back({Kind::Text, 0, rows.field(j).name().toStdString()});
    for (int r = 0; r < rows.recordCount(); ++r)
        for (int j = 0; j < rows.fieldCount(); ++j) {
            const QVariant v = rows.valueAt(r, j);
            if (v.isNull()) {
                cells.push_back({Kind::Empty, 0, {}});
                continue;
            }
            switch (rows.field(j).kind()) {
            case data::FieldKind::Integer:
            case data::FieldKind::Float:
                cells.push_back({Kind::Number, v.toDouble(), {}});
                break;
            case data::FieldKind::Date: {
                const QDate d = v.toDate();
                cells.push_back(
                    {Kind::Date, spreadsheet::serialDay(d.year(), d.month(), d.day()), {}});
                break;
            }
            case data::FieldKind::Time:
                cells.push_back({Kind::Time, v.toTime().msecsSinceStartOfDay() / 86400000.0, {}});
                break;
            default:
                cells.push_back({Kind::Text, 0, v.toString().toStdString()});
            }
        }
    return cells;
}

void rawWrite(const QString& path, const std::vector<RawCell>& cells, int columns) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(path.toUtf8().constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* date = workbook_add_format(workbook);
    format_set_num_format(date, "dd/mm/yyyy");
    lxw_format* time = workbook_add_format(workbook);
    format_set_num_format(time, "hh:mm:ss");
    using Kind = spreadsheet::CellValue::Kind;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const RawCell& c = cells[i];
        const lxw_row_t row = lxw_row_t(i / std::size_t(columns));
        const lxw_col_t col = lxw_col_t(i % std::size_t(columns));
        if (c.kind == Kind::Text)
            worksheet_write_string(sheet, row, col, c.text.c_str(), nullptr);
        else if (c.kind != Kind::Empty)
            worksheet_write_number(sheet, row, col, c.number,
                                   c.kind == Kind::Date   ? date
                                   : c.kind == Kind::Time ? time
                                                          : nullptr);
    }
    if (workbook_close(workbook) != LXW_NO_ERROR)
        throw std::runtime_error("libxlsxwriter could not write " + path.toStdString());
}

// The last date of the first `rows` movements by date (a period holding about that many).
QDate periodEnd(int rows) {
    data::SqlQuery q(DM->SQLConnection1);
    q.sql() << QStringLiteral("select first 1 skip %1 DATA from TMOVIMENTACAO order by DATA")
                   .arg(rows - 1);
    q.open();
    return q.eof() ? QDate(2100, 12, 31) : q.value(QStringLiteral("DATA")).toDate();
}

} // namespace

int main(int argc, char** argv) {
    bench::ShopSize shop = bench::kLargeShop;
    int wanted = 100'000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (const auto named = bench::shopNamed(arg))
            shop = *named;
        else if (arg == "--rows" && i + 1 < argc)
            wanted = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [typical|large] [--rows N]\n", argv[0]);
            return 2;
        }
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    bench::prepareFirebirdEnvironment();
    try {
        const std::string path = bench::readyShop(shop);
        const bench::Sample sample = bench::measureInChild([&](bench::Probe& probe) {
            bench::ProgramOnShop program("export_bench", path, QUIRU_BENCH_SETTINGS_DATABASE);
            auto window = std::make_unique<TFFiltroMovimentacoes>();
            window->show();
            window->txtDataInicial->setText(QStringLiteral("01/01/1900"));
            window->txtDataFinal->setText(periodEnd(wanted).toString(QStringLiteral("dd/MM/yyyy")));
            window->RGRelatorio->setItemIndex(2);
            window->RGFiltro->setItemIndex(7);
            window->RGOrdenar->setItemIndex(3);
            const double build = bench::seconds([&] {
                if (!window->montar_relatorio())
                    throw std::runtime_error("the movement report was not built");
            });
            data::ClientDataSet& tb = *FRelatorioMovimentacoes->TBRelatorio;
            const double open = bench::seconds([&] { tb.open(); });
            const int rows = tb.recordCount();
            const int columns = tb.fieldCount();

            QTemporaryDir out;
            QString written;
            spreadsheet::setFactory([&] {
                spreadsheet::XlsxApplication::Options options;
                options.folder = out.path();
                options.opener = [&](const QString& file) {
                    written = file;
                    return true;
                };
                return std::make_unique<spreadsheet::XlsxApplication>(options);
            });
            probe.start();
            const double ours = bench::seconds([&] {
                exportToSpreadsheet(nullptr, tb, FRelatorioMovimentacoes->exportCaption());
            });
            probe.stop(rows);
            const qint64 oursBytes = QFileInfo(written).size();

            const std::vector<RawCell> cells = rawCells(tb);
            const QString rawFile = out.filePath(QStringLiteral("raw.xlsx"));
            const double raw = bench::seconds([&] { rawWrite(rawFile, cells, columns); });
            const qint64 rawBytes = QFileInfo(rawFile).size();
            std::printf(
                "Movement report export, %s shop: %d rows x %d columns (%.1f / %.1f MB .xlsx)\n",
                shop.name.c_str(), rows, columns, oursBytes / 1e6, rawBytes / 1e6);
            std::printf("%-46s %8.2f s\n", "build (montar_relatorio), reference", build);
            std::printf("%-46s %8.2f s\n", "TBRelatorio opened for the export, reference", open);
            std::printf("%-46s %8.2f s\n", "export: Gerar em Excel from the open dataset", ours);
            std::printf("%-46s %8.2f s\n", "libxlsxwriter alone, same cells in memory", raw);
            std::printf("%-46s %8.2fx   goal <= 1.5x\n", "ratio", ours / raw);
            std::fflush(stdout);
        });
        std::printf("%-46s %8.1f MB peak, %.1f MB held after\n", "memory over the export",
                    sample.peakBytes / 1e6, sample.heldBytes / 1e6);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
