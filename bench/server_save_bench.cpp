// The stock entry window's commands on a shop reached through a Firebird server on the loopback,
// beside the same commands on the embedded file, in one process: what the server costs per
// command. Goal: Salvar over the server within 3x Salvar on the embedded file.
//   server_save_bench [typical|large] [--runs N]   # default: large, 3 processes
#include "bench/entry_window_timing.h"
#include "bench/program_on_shop.h"
#include "tests/support/private_server.h"
#include <QFile>
#include <stdexcept>

namespace {

constexpr int kRounds = 20;
constexpr double kGoal = 3.0; // server / embedded, Salvar's median

// The main database from now on: the program folder's QUIRU.GDB through the server.
void nameServerInStartupFile(const testing_support::PrivateServer& server) {
    QFile file(caminho_sistema + QStringLiteral("ConfiguracoesQUIRU.txt"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(server.remotePath(caminho_sistema + QStringLiteral("QUIRU.GDB")).toUtf8()) < 0)
        throw std::runtime_error("cannot write the start-up file");
}

void printRow(const char* command, const bench::StepTimings& embedded,
              const bench::StepTimings& server) {
    std::printf("%-10s %14.2f %14.2f %12.2f %9.2fx\n", command, embedded.median(), server.median(),
                server.median() - embedded.median(), server.median() / embedded.median());
}

void oneProcess(const std::string& shop) {
    bench::measureInChild([&](bench::Probe&) {
        bench::ProgramOnShop program("server_save_bench", shop, QUIRU_BENCH_SETTINGS_DATABASE);
        const int product = bench::quietProduct(*DM->SQLConnection1);
        const bench::EntryWindowTimings embedded = bench::timeEntryWindow(product, kRounds);

        // The same folder and file, now through a server: the embedded attachment goes first.
        DM->closeDatabases();
        testing_support::PrivateServer server;
        nameServerInStartupFile(server);
        TDM served;
        TDM* const local = DM;
        DM = &served;
        const bench::EntryWindowTimings remote = bench::timeEntryWindow(product, kRounds);
        DM = local;

        std::printf("\nproduct %d, %d rounds, medians in ms\n", product, kRounds);
        std::printf("%-10s %14s %14s %12s %10s\n", "command", "embedded", "server", "difference",
                    "ratio");
        printRow("Novo", embedded.novo, remote.novo);
        printRow("Salvar", embedded.salvar, remote.salvar);
        printRow("Excluir", embedded.excluir, remote.excluir);
        const double ratio = remote.salvar.median() / embedded.salvar.median();
        std::printf("Salvar over the server: %.2fx embedded, goal <= %.0fx: %s\n", ratio, kGoal,
                    ratio <= kGoal ? "PASS" : "MISS");
        std::fflush(stdout);
    });
}

} // namespace

int main(int argc, char** argv) {
    return bench::runOnShop(argc, argv, oneProcess);
}
