// Times the charts window on a generated shop: opening it with the pie of every product, the pie
// again after "Selecionar Todos", and the area of every entry, each from the command to the chart
// painted; beside the floor of the same rows read by a plain forward-only query into the same
// series (the same folded slices, the same drawn points) and painted in a bare chart view of the
// same size, in the same run.
//   chart_bench [typical|large]
#include "bench/firebird_api.h"
#include "bench/measurement.h"
#include "bench/program_on_shop.h"
#include "bench/shop_generator.h"
#include "charts/charts_window.h"
#include "charts/movement_area.h"
#include "charts/stock_pie.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/client_dataset.h"
#include "platform/data/sql_connection.h"
#include "platform/ui/page_control.h"
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QPieSeries>
#include <QPushButton>
#include <QSqlQuery>
#include <QValueAxis>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

using bench::seconds;

void line(const char* what, double ours, double raw, const char* goal) {
    std::printf("%-46s %8.2f s %8.2f s %7.2fx   %s\n", what, ours, raw, ours / raw, goal);
    std::fflush(stdout);
}

// The floor of the pie: every product's stock read by a forward-only query, the slices made from
// the same rule, a bare chart painted at the window's size.
double rawPie(const QSize& size) {
    return seconds([&] {
        QSqlQuery q(DM->SQLConnection1->database());
        q.setForwardOnly(true);
        q.exec(QStringLiteral("select TPRODUTO.DESCRICAO, TPRODUTO.ESTOQUEATUAL from TPRODUTO"));
        std::vector<PieSlice> products;
        while (q.next())
            products.push_back({q.value(0).toString(), q.value(1).toDouble(), 0, 1});
        const std::vector<PieSlice> shown = pieSlices(std::move(products));
        auto* series = new QPieSeries;
        fillPie(series, shown);
        auto* chart = new QChart;
        chart->setAnimationOptions(QChart::NoAnimation);
        chart->addSeries(series);
        QChartView view(chart);
        view.resize(size);
        view.grab();
    });
}

// The floor of the area: every entry's date and quantity into one line series.
double rawArea(const QSize& size, int* points) {
    return seconds([&] {
        QSqlQuery q(DM->SQLConnection1->database());
        q.setForwardOnly(true);
        q.exec(QStringLiteral("select TMOVIMENTACAO.QUANTIDADE, TMOVIMENTACAO.DATA from "
                              "TMOVIMENTACAO, TPRODUTO where TMOVIMENTACAO.PRODUTO = "
                              "TPRODUTO.CODIGO and TMOVIMENTACAO.TIPO = 'ENTRADA' order by "
                              "TMOVIMENTACAO.DATA"));
        std::vector<MovementPoint> read;
        while (q.next())
            read.push_back({q.value(1).toDate(), q.value(0).toDouble()});
        *points = int(read.size());
        QList<QPointF> line;
        for (const MovementPoint& p : drawnPoints(read))
            line << QPointF(qreal(p.date.startOfDay().toMSecsSinceEpoch()), p.quantity);
        auto* upper = new QLineSeries;
        upper->replace(line);
        auto* series = new QAreaSeries(upper);
        auto* chart = new QChart;
        chart->setAnimationOptions(QChart::NoAnimation);
        chart->addSeries(series);
        auto* dates = new QDateTimeAxis;
        auto* values = new QValueAxis;
        chart->addAxis(dates, Qt::AlignBottom);
        chart->addAxis(values, Qt::AlignLeft);
        series->attachAxis(dates);
        series->attachAxis(values);
        if (!line.isEmpty()) {
            dates->setRange(QDateTime::fromMSecsSinceEpoch(qint64(line.front().x())),
                            QDateTime::fromMSecsSinceEpoch(qint64(line.back().x())));
            values->setRange(0, 100);
        }
        QChartView view(chart);
        view.resize(size);
        view.grab();
    });
}

void charts() {
    auto window = std::make_unique<TFGraficos>();
    // Opening: the shared lists refreshed, every product read, the pie painted.
    const double open = seconds([&] {
        window->show();
        window->grab();
    });
    const QSize size = window->DBChart1->size();
    std::printf("\nPie of every product: %lld slices drawn (thin ones folded into \"Outros\")\n",
                static_cast<long long>(window->Series1->count()));
    std::printf("%-46s %10s %10s %8s   %s\n", "", "ours", "floor", "ratio", "goal");
    line("open the window, pie painted", open, rawPie(size), "usable <= 1 s, drawn <= 2 s");
    const double all = seconds([&] {
        window->btnSelecionarTodos1->click();
        window->DBChart1->grab();
    });
    line("Selecionar Todos, pie painted", all, rawPie(size), "drawn <= 2 s");

    window->PageControl1->setCurrentWidget(window->TabSheet2);
    window->grab();
    double painted = 0;
    const double area = seconds([&] {
        window->btnBuscar2->click();
        painted = seconds([&] { window->DBChart2->grab(); });
    });
    int points = 0;
    const double raw = rawArea(window->DBChart2->size(), &points);
    std::printf("\nArea of every entry: %lld movements, %lld points drawn (floor read %d)\n",
                static_cast<long long>(window->TBMovimentacoes->recordCount()),
                static_cast<long long>(window->PieSeries1->upperSeries()->count()), points);
    line("Atualizar, area painted", area, raw, "drawn <= 2 s");
    // How much of it is the database's own work: the same query, every row fetched, nothing kept.
    const double query = seconds([] {
        QSqlQuery q(DM->SQLConnection1->database());
        q.setForwardOnly(true);
        q.exec(QStringLiteral("select TMOVIMENTACAO.QUANTIDADE, TMOVIMENTACAO.DATA from "
                              "TMOVIMENTACAO, TPRODUTO where TMOVIMENTACAO.PRODUTO = "
                              "TPRODUTO.CODIGO and TMOVIMENTACAO.TIPO = 'ENTRADA' order by "
                              "TMOVIMENTACAO.DATA"));
        while (q.next()) {
        }
    });
    std::printf("%-46s %8.2f s\n", "of which the painting", painted);
    std::printf("%-46s %8.2f s\n", "the query alone (fetched, not kept)", query);
}

} // namespace

int main(int argc, char** argv) {
    bench::ShopSize shop = bench::kLargeShop;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (const auto named = bench::shopNamed(arg))
            shop = *named;
        else {
            std::fprintf(stderr, "usage: %s [typical|large]\n", argv[0]);
            return 2;
        }
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    bench::prepareFirebirdEnvironment();
    try {
        const std::string path = bench::readyShop(shop);
        const bench::Sample sample = bench::measureInChild([&](bench::Probe& probe) {
            bench::ProgramOnShop program("chart_bench", path, QUIRU_BENCH_SETTINGS_DATABASE);
            probe.start();
            charts();
            probe.stop(0);
        });
        std::printf("%-46s %8.0f MB peak, %.0f MB held at the end\n", "memory",
                    sample.peakBytes / 1e6, sample.heldBytes / 1e6);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
