// Times the stock entry and exit windows on a generated shop as the main window opens them (the
// movements filtered on the window's kind, then shown): each one's first opening, from show() to
// the first paint, with nothing read before; the event loop's reading of the rest, until every
// movement and product is cached; and a second opening. Then the movement query over it,
// listing every entry, and the process's memory at each step. Each process is fresh.
//   movement_window_bench [typical|large] [--runs N]   # default: large, 3 processes
#include "bench/measurement.h"
#include "bench/program_on_shop.h"
#include "bench/shop_generator.h"
#include "core/globals.h"
#include "platform/ui/mask_edit.h"
#include "stock/entry_window.h"
#include "stock/exit_window.h"
#include "stock/movement_query_window.h"
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

using bench::seconds;

// The process's resident memory now and at its highest so far, in MB.
double statusMb(const char* key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0)
            return std::stod(line.substr(std::string(key).size())) / 1024.0;
    return 0;
}

void printMemory(const char* when) {
    std::printf("  memory %-44s %6.0f MB now, %6.0f MB peak\n", when, statusMb("VmRSS:"),
                statusMb("VmHWM:"));
}

void setKind(const QString& tipo) {
    DM->TBMOVIMENTACAO->setFiltered(false);
    DM->TBMOVIMENTACAO->setFilter(QStringLiteral("TIPO = '%1'").arg(tipo));
    DM->TBMOVIMENTACAO->setFiltered(true);
}

// Opens the window and returns the seconds to its first paint; the window is left open.
template <typename Window> double openWindow(Window& window) {
    return seconds([&] {
        window.show();
        QApplication::processEvents();
        window.grab();
    });
}

double untilWhole() {
    return seconds([] {
        while (!DM->TBMOVIMENTACAO->wholeRead() || !DM->TBPRODUTOS->wholeRead())
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    });
}

template <typename Window> void timeWindow(const char* name, const QString& tipo) {
    setKind(tipo);
    {
        Window window;
        const double first = openWindow(window);
        std::printf("%-8s first opening %8.3f s", name, first);
        const double rest = untilWhole();
        std::printf("   rest read meanwhile %6.3f s", rest);
        window.close();
    }
    setKind(tipo);
    Window again;
    std::printf("   second opening %6.3f s\n", openWindow(again));
    again.close();
    QApplication::processEvents();
}

void oneProcess(const std::string& shop) {
    // Each window's first opening in a process of its own: nothing read before it.
    bench::measureInChild([&](bench::Probe&) {
        bench::ProgramOnShop program("movement_window_bench", shop, QUIRU_BENCH_SETTINGS_DATABASE);
        timeWindow<TFSaida>("Saída", QStringLiteral("SAIDA"));
        std::fflush(stdout);
    });
    bench::measureInChild([&](bench::Probe&) {
        bench::ProgramOnShop program("movement_window_bench", shop, QUIRU_BENCH_SETTINGS_DATABASE);
        printMemory("at start");
        timeWindow<TFEntrada>("Entrada", QStringLiteral("ENTRADA"));
        printMemory("after the entry window, every row read");

        setKind(QStringLiteral("ENTRADA"));
        TFEntrada entries;
        openWindow(entries);
        consulta_entradas = 1;
        TFConsultaMovimentacoes query(&entries);
        openWindow(query);
        printMemory("entry window and the query open");
        query.txtDataInicial->setText(QStringLiteral("01/01/1900"));
        query.txtDataFinal->setText(QStringLiteral("31/12/2100"));
        const double listing = seconds([&] {
            query.btnBuscarClick();
            QApplication::processEvents();
            query.grab();
        });
        std::printf("query listing every entry (%d rows) %.3f s\n",
                    query.TBMovimentacao->recordCount(), listing);
        printMemory("after listing every entry");
        std::fflush(stdout);
    });
}

} // namespace

int main(int argc, char** argv) {
    return bench::runOnShop(argc, argv, oneProcess);
}
