// Times the reports on the large shop: the movement report over every movement and the detailed
// stock report over every product, built and written to PDF, beside raw QPdfWriter drawing of
// the same texts on the same pages in the same run; and how soon the preview shows page 1.
//   report_bench [typical|large] [--keep DIR]
#include "bench/firebird_api.h"
#include "bench/measurement.h"
#include "bench/program_on_shop.h"
#include "bench/shop_generator.h"
#include "bench/shop_program_folder.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/format/format.h"
#include "platform/report/output.h"
#include "platform/report/preview_window.h"
#include "platform/report/rows.h"
#include "platform/report/run.h"
#include "platform/ui/mask_edit.h"
#include "platform/ui/radio_group.h"
#include "reports/movement_detail.h"
#include "reports/movement_report_filter_window.h"
#include "reports/movement_report_layout.h"
#include "reports/stock_report_filter_window.h"
#include "reports/stock_report_layout.h"
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

// The floor: the same texts drawn straight with QPainter on a QPdfWriter, row after row, page
// after page, at the same places and resolution, with the same alternating fills.
struct RawColumns {
    std::vector<double> left; // mm from the page's edge
    double top;               // first row on page 1
    double rowHeight;
    int firstPageRows;
    int pageRows;
};

int rawPdf(const QString& path, int rows, const RawColumns& c,
           const std::function<void(int row, QStringList& texts)>& textsOf) {
    QPdfWriter writer(path);
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(7);
    painter.setFont(font);
    const double px = 300 / 25.4;
    QStringList texts;
    int pages = 1, onPage = 0;
    double y = c.top;
    for (int r = 0; r < rows; ++r) {
        const int capacity = pages == 1 ? c.firstPageRows : c.pageRows;
        if (onPage == capacity) {
            painter.drawText(QPointF(10 * px, 285 * px), QStringLiteral("Quiru"));
            writer.newPage();
            ++pages;
            onPage = 0;
            y = 10;
        }
        if (r % 2)
            painter.fillRect(QRectF(10 * px, y * px, 190 * px, c.rowHeight * px),
                             QColor(255, 251, 240));
        texts.clear();
        textsOf(r, texts);
        for (int i = 0; i < texts.size(); ++i)
            painter.drawText(QPointF(c.left[std::size_t(i)] * px, (y + 3.5) * px), texts[i]);
        y += c.rowHeight;
        ++onPage;
    }
    painter.drawText(QPointF(10 * px, 285 * px), QStringLiteral("Quiru"));
    painter.end();
    return pages;
}

void line(const char* what, double ours, double raw, const char* goal) {
    std::printf("%-44s %9.2f s %9.2f s %7.2fx   %s\n", what, ours, raw, ours / raw, goal);
    std::fflush(stdout);
}

void movementReport(const QString& folder) {
    auto window = std::make_unique<TFFiltroMovimentacoes>();
    window->show(); // fills the lists, as opening the window does
    window->txtDataInicial->setText(QStringLiteral("01/01/1900"));
    window->txtDataFinal->setText(QStringLiteral("31/12/2100"));
    window->RGOrdenar->setItemIndex(3);
    bool built = false;
    const double build = bench::seconds([&] { built = window->montar_relatorio(); });
    if (!built)
        throw std::runtime_error("the movement report was not built");
    TFRelatorioMovimentacoes* layout = FRelatorioMovimentacoes;
    const int rows = layout->QuickRep1.rowCount();
    const QString ours = folder + QStringLiteral("/movimentacoes.pdf");
    const double pdf = bench::seconds([&] { report::writePdf(layout->QuickRep1, ours, nullptr); });

    auto& source = const_cast<report::QueryRows&>(layout->rows());
    const int produto = source.column(QStringLiteral("PRODUTO")),
              quantidade = source.column(QStringLiteral("QUANTIDADE")),
              unitario = source.column(QStringLiteral("PRECO_UNITARIO")),
              total = source.column(QStringLiteral("PRECO_TOTAL")),
              fornecedor = source.column(QStringLiteral("FORNECEDOR")),
              cliente = source.column(QStringLiteral("CLIENTE")),
              data = source.column(QStringLiteral("DATA")),
              horario = source.column(QStringLiteral("HORARIO")),
              nota = source.column(QStringLiteral("NOTA_COMPRA")),
              tipo = source.column(QStringLiteral("TIPO"));
    int pages = 0;
    const double raw = bench::seconds([&] {
        pages =
            rawPdf(folder + QStringLiteral("/raw_movimentacoes.pdf"), rows,
                   {{10, 65.8, 74.6, 91.0, 109.2, 152.1, 165.0, 176.7, 190.7}, 63.7, 5.6, 38, 48},
                   [&](int r, QStringList& t) {
                       source.moveTo(r);
                       const bool entry = source.text(tipo) == QLatin1String("ENTRADA");
                       t << source.text(produto) << source.plainText(quantidade)
                         << moneyText(source, unitario) << moneyText(source, total)
                         << source.text(entry ? fornecedor : cliente) << source.plainText(data)
                         << source.plainText(horario) << source.text(nota)
                         << (entry ? QStringLiteral("Entrada") : QStringLiteral("Saída"));
                   });
    });
    std::printf("\nMovement report: %d movements, %d pages (raw %d), PDF %.0f MB (raw %.0f MB)\n",
                rows, report::Run(layout->QuickRep1).pageCount(), pages,
                QFileInfo(ours).size() / 1e6,
                QFileInfo(folder + QStringLiteral("/raw_movimentacoes.pdf")).size() / 1e6);
    std::printf("%-44s %11s %11s %8s   %s\n", "", "ours", "raw draw", "ratio", "goal");
    line("PDF writing (rows already read)", pdf, raw, "<= 1.5x raw");
    line("Imprimir as a whole: build + PDF", build + pdf, raw, "reference");
    std::printf("%-44s %9.2f s   (query read into the report + the totals' query walked)\n",
                "of which the build", build);

    // The preview of the whole thing: how soon page 1 is on screen once the rows are read.
    const double preview = bench::seconds([&] {
        report::PreviewWindow window(layout->QuickRep1);
        window.show();
        window.grab();
    });
    std::printf("%-44s %9.2f s\n", "preview: page 1 painted, rows already read", preview);
    // Pages are laid out as they are reached; going back past the kept ones replays the run.
    report::PreviewWindow viewer(layout->QuickRep1);
    viewer.show();
    viewer.grab();
    const double toLast = bench::seconds([&] {
        viewer.showPage(viewer.pageCount() - 1);
        viewer.grab();
    });
    const double backOne = bench::seconds([&] {
        viewer.showPage(0);
        viewer.showPage(viewer.pageCount() - 40); // beyond the pages kept
        viewer.grab();
    });
    std::printf("%-44s %9.2f s\n", "preview: End (the last page painted)", toLast);
    std::printf("%-44s %9.2f s\n", "preview: back to a page not kept", backOne);
}

void stockReport(const QString& folder) {
    auto window = std::make_unique<TFFiltroEstoque>();
    window->show();
    // Visualizar, as the user waits for it: the build, then page 1 laid out and painted.
    double toPage1 = 0;
    TFRelatorioEstoque* layout = nullptr;
    toPage1 = bench::seconds([&] {
        if (!window->montar_relatorio())
            throw std::runtime_error("the stock report was not built");
        layout = FRelatorioEstoque;
        report::PreviewWindow preview(layout->QuickRep1);
        preview.show();
        preview.grab();
    });
    const int rows = layout->QuickRep1.rowCount();
    const QString ours = folder + QStringLiteral("/estoque.pdf");
    const double pdf = bench::seconds([&] { report::writePdf(layout->QuickRep1, ours, nullptr); });
    data::ClientDataSet* tb = layout->TBRelatorio;
    std::vector<const data::Field*> fields;
    for (const char* name :
         {"CODIGO", "DESCRICAO", "REFERENCIA", "PRECO_COMPRA", "PRECO_VENDA", "UNIDADE",
          "ESTOQUEATUAL", "ESTOQUE_MINIMO", "ESTOQUE_MAXIMO", "TOTAL"})
        fields.push_back(&tb->field(QString::fromLatin1(name)));
    int pages = 0;
    const double raw = bench::seconds([&] {
        pages = rawPdf(
            folder + QStringLiteral("/raw_estoque.pdf"), rows,
            {{8, 18.6, 85.0, 116.2, 130.8, 144.0, 151.1, 163.3, 174.4, 186.3}, 61.7, 5.0, 44, 55},
            [&](int r, QStringList& t) {
                tb->moveTo(r);
                for (const data::Field* f : fields)
                    t << (f->def().currency                     ? f->displayText()
                          : f->kind() == data::FieldKind::Float ? format::floatToStr(f->asFloat())
                                                                : f->asString());
            });
    });
    std::printf("\nDetailed stock report: %d products, %d pages (raw %d)\n", rows,
                report::Run(layout->QuickRep1).pageCount(), pages);
    std::printf("%-44s %11s %11s %8s   %s\n", "", "ours", "raw draw", "ratio", "goal");
    line("PDF writing (rows already read)", pdf, raw, "<= 1.5x raw");
    std::printf("%-44s %9.2f s   goal <= 1 s\n", "Visualizar to page 1 painted", toPage1);
}

} // namespace

int main(int argc, char** argv) {
    bench::ShopSize shop = bench::kLargeShop;
    QString keep;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (const auto named = bench::shopNamed(arg))
            shop = *named;
        else if (arg == "--keep" && i + 1 < argc)
            keep = QString::fromLocal8Bit(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [typical|large] [--keep DIR]\n", argv[0]);
            return 2;
        }
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    bench::prepareFirebirdEnvironment();
    try {
        const std::string path = bench::readyShop(shop);
        for (auto* part : {&movementReport, &stockReport}) {
            const bench::Sample sample = bench::measureInChild([&](bench::Probe& probe) {
                bench::ProgramOnShop program("report_bench", path, QUIRU_BENCH_SETTINGS_DATABASE);
                DM->TBEMPRESA->open();
                QTemporaryDir out;
                probe.start();
                part(keep.isEmpty() ? out.path() : keep);
                probe.stop(0);
            });
            std::printf("%-44s %9.0f MB peak, %.0f MB held at the end\n", "memory",
                        sample.peakBytes / 1e6, sample.heldBytes / 1e6);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
