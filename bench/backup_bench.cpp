// Times the manual backup on a generated shop: the open database closed, copied beside the
// target, proved to open and read table by table, renamed, and opened again; beside the raw
// copy of the same file (the floor), in the same process.
//   backup_bench [typical|large] [--runs N]   # default: large, 3 processes
#include "admin/database_files.h"
#include "bench/program_on_shop.h"
#include <QFileInfo>
#include <cstdio>
#include <filesystem>

namespace {

using bench::seconds;

void oneProcess(const std::string& shop) {
    bench::measureInChild([&](bench::Probe&) {
        bench::ProgramOnShop program("backup_bench", shop, QUIRU_BENCH_SETTINGS_DATABASE);
        const QString source = DM->SQLConnection1->param(QStringLiteral("Database"));
        const QString target = caminho_sistema + QStringLiteral("copia.gdb");
        const double raw = seconds([&] {
            std::filesystem::copy_file(source.toStdString(), (target + ".raw").toStdString());
        });
        const double ours = seconds([&] { admin::copyOpenDatabase(*DM->SQLConnection1, target); });
        std::printf("backup of %.0f MB: %.2f s, raw copy %.2f s, %.2fx\n",
                    QFileInfo(source).size() / 1e6, ours, raw, ours / raw);
        std::fflush(stdout);
    });
}

} // namespace

int main(int argc, char** argv) {
    return bench::runOnShop(argc, argv, oneProcess);
}
