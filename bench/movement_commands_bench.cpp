// Times the stock entry window's commands (Novo, Salvar, Excluir) on the generated shops, each
// shop in a fresh child process with the real window under an offscreen QApplication, beside the
// bare statements each command needs and, for reference, a whole re-read of the movements.
//   movement_commands_bench [typical|large|all] [--repeat N]
#include "bench/entry_window_timing.h"
#include "bench/firebird_api.h"
#include "bench/measurement.h"
#include "bench/movement_statement_floor.h"
#include "bench/program_on_shop.h"
#include "bench/shop_generator.h"
#include "bench/shop_program_folder.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/sql_query.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRereads = 3;

struct ShopRun {
    bench::ShopSize size;
    double goalMs; // every command within this
};

const ShopRun kTypical{bench::kTypicalShop, 100};
const ShopRun kLarge{bench::kLargeShop, 300};

QVariant scalar(data::SqlConnection& connection, const QString& sql) {
    data::SqlQuery query(&connection);
    query.sql() << sql;
    query.open();
    return query.value(0);
}

// What the rounds must leave as it was.
QString shopState(data::SqlConnection& connection, int product) {
    return scalar(
               connection,
               QStringLiteral("select ESTOQUEATUAL from TPRODUTO where CODIGO = %1").arg(product))
               .toString() +
           '/' +
           scalar(connection, QStringLiteral("select count(*) from TMOVIMENTACAO")).toString();
}

const char* verdict(const bench::StepTimings& t, double goal) {
    if (t.median() > goal)
        return "MISS";
    return t.worst() > goal ? "MISS (worst)" : "PASS";
}

void printCommand(const char* name, const bench::StepTimings& command,
                  const bench::StepTimings& floor, double goal) {
    std::printf("%-24s %10.1f %10.1f %10.2f %8.1fx %8.0f  %s\n", name, command.median(),
                command.worst(), floor.median(), command.median() / floor.median(), goal,
                verdict(command, goal));
}

void printTable(const ShopRun& run, int product, int repeat, const bench::EntryWindowTimings& w,
                const bench::StatementFloor& floor, const bench::StepTimings& reread) {
    std::printf("\n%s shop: %d products, %d movements; product %d; %d rounds\n",
                run.size.name.c_str(), run.size.products, run.size.movements, product, repeat);
    std::printf("%-24s %10s %10s %10s %9s %8s  %s\n", "step", "median ms", "worst ms", "floor ms",
                "/floor", "goal ms", "verdict");
    printCommand("Novo", w.novo, floor.novo, run.goalMs);
    printCommand("Salvar", w.salvar, floor.salvar, run.goalMs);
    printCommand("Excluir", w.excluir, floor.excluir, run.goalMs);
    std::printf("%-24s %10.1f %10.1f   floor of Novo's select max(codigo) alone\n", "max(codigo)",
                floor.maxCode.median(), floor.maxCode.worst());
    std::printf("%-24s %10.1f %10s\n", "show (FormShow), once", w.show, "-");
    std::printf("%-24s %10.1f %10s   the window in use meanwhile, before the rounds\n",
                "rest read, once", w.restRead, "-");
    std::printf("%-24s %10.1f %10.1f   reference: close + open of the shared movements\n",
                "TMOVIMENTACAO re-read", reread.median(), reread.worst());
    std::printf("%-24s %10.1f %10.1f   events a command leaves (paint), not in its time\n",
                "events after a command", w.repaint.median(), w.repaint.worst());
    std::fflush(stdout);
}

void benchShop(const ShopRun& run, int repeat) {
    const std::string shop = bench::shopPath(run.size);
    if (!std::filesystem::exists(shop))
        bench::measureInChild([&](bench::Probe&) { bench::shopDatabase(run.size); });
    bench::measureInChild([&](bench::Probe&) {
        bench::ProgramOnShop program("movement_commands_bench", shop,
                                     QUIRU_BENCH_SETTINGS_DATABASE);
        data::SqlConnection& connection = *DM->SQLConnection1;
        const int product = bench::quietProduct(connection);
        const QString before = shopState(connection, product);

        const bench::EntryWindowTimings window = bench::timeEntryWindow(product, repeat);
        const bench::StatementFloor floor =
            bench::timeMovementStatements(connection, product, repeat);
        const bench::StepTimings reread = bench::timeReread(*DM->TBMOVIMENTACAO, kRereads);

        if (shopState(connection, product) != before)
            throw std::runtime_error("the rounds did not leave the stock and the movements as "
                                     "they were");
        printTable(run, product, repeat, window, floor, reread);
    });
}

} // namespace

int main(int argc, char** argv) {
    std::vector<ShopRun> shops{kTypical, kLarge};
    int repeat = 20;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "typical")
            shops = {kTypical};
        else if (arg == "large")
            shops = {kLarge};
        else if (arg == "all")
            shops = {kTypical, kLarge};
        else if (arg == "--repeat" && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: %s [typical|large|all] [--repeat N]\n", argv[0]);
            return 2;
        }
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0); // a benchmark never needs a display
    bench::prepareFirebirdEnvironment();
    std::printf("Each command's time is its button's click: the handler's work, up to the "
                "database's commit.\nfloor: the same statements run bare in one transaction "
                "(median). Verdict: PASS when median and worst are within the goal.\n");
    try {
        for (const ShopRun& run : shops)
            benchShop(run, repeat);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
