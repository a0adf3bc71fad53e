// Times the counter on a shop: a bar code scanned in the entry window until its quantity has the
// focus (the movement started, the product, its price and quantity 1 filled in), and 10,000
// labels written to PDF beside the raw drawing of the same labels (libzint's shapes painted
// straight with QPainter on a QPdfWriter) in the same run.
//   counter_bench [typical|large] [--rounds N]
#include "bench/program_on_shop.h"
#include "bench/step_timings.h"
#include "core/data_module.h"
#include "platform/data/sql_query.h"
#include "platform/format/format.h"
#include "platform/report/output.h"
#include "platform/ui/db_edit.h"
#include "reports/label_sheet.h"
#include "reports/labels_layout.h"
#include "stock/entry_window.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryDir>
#include <zint.h>

namespace {

constexpr int kLabels = 10000;

void scanRounds(int rounds) {
    testing_support::ScriptedDialogs dialogs;
    DM->TBMOVIMENTACAO->setFiltered(false);
    DM->TBMOVIMENTACAO->setFilter(QStringLiteral("TIPO = 'ENTRADA'"));
    DM->TBMOVIMENTACAO->setFiltered(true);
    // A product that takes one more unit without passing its maximum: no limit question.
    data::SqlQuery q(DM->SQLConnection1);
    q.sql() << QStringLiteral("SELECT FIRST 1 CODIGOBARRAS FROM TPRODUTO WHERE ESTOQUEATUAL + 1 "
                              "<= ESTOQUE_MAXIMO ORDER BY CODIGO DESC");
    q.open();
    const QString code = q.value(0).toString();
    q.close();
    auto window = std::make_unique<TFEntrada>();
    testing_support::activate(window.get());
    // A person takes longer than the rest of the reading before the first scan.
    while (!DM->TBMOVIMENTACAO->wholeRead() || !DM->TBPRODUTOS->wholeRead())
        QCoreApplication::processEvents();
    bench::StepTimings scan;
    quint64 clock = 1000000;
    for (int round = 0; round < rounds; ++round) {
        // The code's keys arrive as a scanner types them; the time runs from the Enter, which
        // is when the program knows it was a scan, to the quantity focused.
        QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        clock = testing_support::typeAtPace(focused, code, clock + 2000, 3, Qt::Key_unknown);
        const double ms = bench::millisecondsOf([&] {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            enter.setTimestamp(clock);
            QWidget* target =
                QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
            QCoreApplication::sendEvent(target, &enter);
        });
        if (!window->DBEdit5->hasFocus() || !dialogs.messages().isEmpty() ||
            !dialogs.failures().isEmpty())
            throw std::runtime_error("the scan did not reach the quantity");
        scan.add(ms);
        window->btnCancelar->click(); // the new movement goes again
        QCoreApplication::processEvents();
    }
    std::printf("%-44s %8.1f ms median %8.1f ms worst   goal <= 50 ms\n",
                "scan to quantity focused", scan.median(), scan.worst());
}

// The floor: the same labels drawn straight on a QPdfWriter at the same resolution: libzint's
// vector shapes of each code painted rectangle by rectangle, its digits and the two texts.
void rawLabels(const QString& path, const LabelSheet& sheet, const std::vector<Label>& labels) {
    QPdfWriter writer(path);
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    const double px = 300 / 25.4;
    QFont text(QStringLiteral("Liberation Sans"));
    text.setPointSizeF(8);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const int onPage = int(i % std::size_t(sheet.perSheet()));
        if (i > 0 && onPage == 0)
            writer.newPage();
        const double x =
            sheet.left + (onPage % sheet.columns) * (sheet.label.width() + sheet.across);
        const double y = sheet.top + (onPage / sheet.columns) * (sheet.label.height() + sheet.down);
        painter.setFont(text);
        painter.drawText(QPointF((x + 1.5) * px, (y + 3.5) * px), labels[i].description);
        painter.drawText(QPointF((x + 1.5) * px, (y + 7) * px), labels[i].price);
        const QByteArray data = labels[i].barCode.toUtf8();
        zint_symbol* symbol = ZBarcode_Create();
        symbol->symbology = symbologyFor(labels[i].barCode) == report::Symbology::Ean13
                                ? BARCODE_EANX
                                : BARCODE_CODE128;
        symbol->output_options |= BARCODE_QUIET_ZONES;
        symbol->height = 30;
        ZBarcode_Encode_and_Buffer_Vector(
            symbol, reinterpret_cast<const unsigned char*>(data.constData()), int(data.size()), 0);
        const double unit = (sheet.label.width() - 3) / symbol->vector->width;
        for (const zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next)
            painter.fillRect(QRectF((x + 1.5 + r->x * unit) * px, (y + 8 + r->y * unit) * px,
                                    r->width * unit * px, r->height * unit * px),
                             Qt::black);
        for (const zint_vector_string* s = symbol->vector->strings; s; s = s->next)
            painter.drawText(QPointF((x + 1.5 + s->x * unit) * px, (y + 8 + s->y * unit) * px),
                             QString::fromUtf8(reinterpret_cast<const char*>(s->text)));
        ZBarcode_Delete(symbol);
    }
    painter.end();
}

void labelsToPdf() {
    // Ten thousand products' own codes, one label each: every symbol is new to the painter.
    data::SqlQuery q(DM->SQLConnection1);
    q.sql() << QStringLiteral("SELECT FIRST %1 DESCRICAO, PRECO_VENDA, CODIGOBARRAS FROM TPRODUTO "
                              "ORDER BY CODIGO")
                   .arg(kLabels);
    std::vector<Label> labels;
    int ean13 = 0;
    for (q.open(); !q.eof(); q.next()) {
        labels.push_back({q.value(0).toString(), format::currencyToStr(q.value(1).toDouble()),
                          q.value(2).toString()});
        ean13 += symbologyFor(labels.back().barCode) == report::Symbology::Ean13;
    }
    const LabelSheet sheet = labelSheets().front();
    QTemporaryDir dir;
    TFRelatorioEtiquetas layout(sheet, labels);
    const QString ours = dir.filePath(QStringLiteral("etiquetas.pdf"));
    const double oursSeconds =
        bench::seconds([&] { report::writePdf(layout.QuickRep1, ours, nullptr); });
    const QString raw = dir.filePath(QStringLiteral("cru.pdf"));
    const double rawSeconds = bench::seconds([&] { rawLabels(raw, sheet, labels); });
    std::printf(
        "\n%d labels (%d EAN-13, %d Code 128) on %s sheets, %d pages\n", int(labels.size()), ean13,
        int(labels.size()) - ean13, qPrintable(sheet.model),
        int((labels.size() + std::size_t(sheet.perSheet()) - 1) / std::size_t(sheet.perSheet())));
    std::printf("%-44s %8.2f s  (%.1f MB)\n", "labels to PDF", oursSeconds,
                QFileInfo(ours).size() / 1e6);
    std::printf("%-44s %8.2f s  (%.1f MB)\n", "raw drawing of the same labels", rawSeconds,
                QFileInfo(raw).size() / 1e6);
    std::printf("%-44s %8.2fx   goal <= 1.5x\n", "ratio", oursSeconds / rawSeconds);
}

} // namespace

int main(int argc, char** argv) {
    bench::ShopSize shop = bench::kLargeShop;
    int rounds = 20;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (const auto named = bench::shopNamed(arg))
            shop = *named;
        else if (arg == "--rounds" && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [typical|large] [--rounds N]\n", argv[0]);
            return 2;
        }
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    bench::prepareFirebirdEnvironment();
    try {
        const std::string path = bench::readyShop(shop);
        bench::measureInChild([&](bench::Probe&) {
            bench::ProgramOnShop program("counter_bench", path, QUIRU_BENCH_SETTINGS_DATABASE);
            scanRounds(rounds);
        });
        bench::measureInChild([&](bench::Probe&) {
            bench::ProgramOnShop program("counter_bench", path, QUIRU_BENCH_SETTINGS_DATABASE);
            labelsToPdf();
        });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
