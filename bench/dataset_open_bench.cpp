// Times opening the shop's two big tables three ways, each in a fresh child process:
//   raw        every row fetched through fbclient and dropped: the floor;
//   QSqlQuery  a forward-only Qt query reading each value into a QVariant;
//   open       data::ClientDataSet::open() on the table: what the windows do.
// Prints each beside the raw time as a ratio, with the memory the open's rows hold.
//   dataset_open_bench [typical|large|all] [--repeat N]
#include "bench/firebird_api.h"
#include "bench/measurement.h"
#include "bench/raw_fetch.h"
#include "bench/shop_generator.h"
#include "platform/data/client_dataset.h"
#include "platform/data/sql_connection.h"
#include <QCoreApplication>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr double kOpenGoal = 1.5;             // open within 1.5 × raw
constexpr double kMovementsGoalBytes = 250e6; // a million movements held in under 250 MB
constexpr double kMB = 1024.0 * 1024.0;

// Qt finds its SQL driver plugin through the application object; each child makes its own.
class QtApplication {
public:
    QtApplication() : app_(argc_, argv_) {}

private:
    int argc_ = 1;
    char name_[19] = "dataset_open_bench";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication app_;
};

void openConnection(data::SqlConnection& connection, const std::string& path) {
    connection.params() << "Database=" + QString::fromStdString(path) << "User_name=SYSDBA"
                        << "Password=pelicanos"
                        << "SQLDialect=3";
    connection.open();
}

bench::Sample measureRaw(const std::string& path, const std::string& table) {
    return bench::measureInChild([&](bench::Probe& probe) {
        bench::Attachment attachment(path);
        probe.start();
        const bench::FetchTotals totals = bench::rawFetch(attachment, "select * from " + table);
        probe.stop(totals.rows, totals.values);
    });
}

bench::Sample measureQuery(const std::string& path, const std::string& table) {
    return bench::measureInChild([&](bench::Probe& probe) {
        QtApplication app;
        data::SqlConnection connection;
        openConnection(connection, path);
        probe.start();
        QSqlQuery query(connection.database());
        query.setForwardOnly(true);
        if (!query.exec(QString::fromStdString("select * from " + table)))
            throw std::runtime_error("QSqlQuery failed on " + table);
        const int columns = query.record().count();
        long rows = 0;
        long values = 0;
        while (query.next()) {
            ++rows;
            for (int i = 0; i < columns; ++i)
                values += query.value(i).isNull() ? 0 : 1;
        }
        probe.stop(rows, values);
    });
}

bench::Sample measureOpen(const std::string& path, const std::string& table) {
    return bench::measureInChild([&](bench::Probe& probe) {
        QtApplication app;
        data::SqlConnection connection;
        openConnection(connection, path);
        data::ClientDataSet dataSet;
        dataSet.setTable(&connection, QString::fromStdString(table));
        probe.start();
        dataSet.open();
        probe.stop(dataSet.recordCount());
    });
}

// The best time of the runs; the most memory any run took.
struct Best {
    bench::Sample sample;
    bool any = false;
    void add(const bench::Sample& s) {
        if (!any || s.seconds < sample.seconds) {
            const long peak = std::max(s.peakBytes, sample.peakBytes);
            const long held = std::max(s.heldBytes, sample.heldBytes);
            sample = s;
            sample.peakBytes = peak;
            sample.heldBytes = held;
        } else {
            sample.peakBytes = std::max(s.peakBytes, sample.peakBytes);
            sample.heldBytes = std::max(s.heldBytes, sample.heldBytes);
        }
        any = true;
    }
};

const char* verdict(bool ok) {
    return ok ? "ok" : "MISSED";
}

void benchShop(const bench::ShopSize& size, int repeat) {
    const std::string path = bench::shopPath(size);
    if (!std::filesystem::exists(path))
        bench::measureInChild([&](bench::Probe&) { bench::shopDatabase(size); });
    std::printf("\n%s shop: %d products, %d movements (%s), best of %d runs\n", size.name.c_str(),
                size.products, size.movements, path.c_str(), repeat);
    std::printf("%-14s %8s %8s %8s %7s %8s %7s %6s %9s %9s %9s %6s\n", "table", "rows", "raw s",
                "query s", "/raw", "open s", "/raw", "<=1.5", "raw MB", "held MB", "peak MB",
                "goal");
    for (const std::string table : {"TPRODUTO", "TMOVIMENTACAO"}) {
        Best raw, query, open;
        // Interleaved, so a busy moment on the machine hits all three alike.
        for (int run = 0; run < repeat; ++run) {
            raw.add(measureRaw(path, table));
            query.add(measureQuery(path, table));
            open.add(measureOpen(path, table));
        }
        const bench::Sample& r = raw.sample;
        const bench::Sample& q = query.sample;
        const bench::Sample& o = open.sample;
        if (q.rows != r.rows || o.rows != r.rows || q.values != r.values)
            std::printf("  reads differ: raw %ld rows %ld values, query %ld rows %ld values, open "
                        "%ld rows\n",
                        r.rows, r.values, q.rows, q.values, o.rows);
        const double openRatio = o.seconds / r.seconds;
        // The memory goal speaks of a million movements; smaller tables get no verdict.
        const bool judged = table == "TMOVIMENTACAO" && o.rows >= 1'000'000;
        const double allowed = kMovementsGoalBytes * double(o.rows) / 1e6;
        std::printf("%-14s %8ld %8.3f %8.3f %6.2fx %8.3f %6.2fx %6s %9.1f %9.1f %9.1f %6s\n",
                    table.c_str(), r.rows, r.seconds, q.seconds, q.seconds / r.seconds, o.seconds,
                    openRatio, verdict(openRatio <= kOpenGoal), double(r.peakBytes) / kMB,
                    double(o.heldBytes) / kMB, double(o.peakBytes) / kMB,
                    judged ? verdict(double(o.heldBytes) <= allowed) : "-");
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<bench::ShopSize> shops{bench::kTypicalShop, bench::kLargeShop};
    int repeat = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "typical")
            shops = {bench::kTypicalShop};
        else if (arg == "large")
            shops = {bench::kLargeShop};
        else if (arg == "all")
            shops = {bench::kTypicalShop, bench::kLargeShop};
        else if (arg == "--repeat" && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: %s [typical|large|all] [--repeat N]\n", argv[0]);
            return 2;
        }
    }
    // Before any child attaches: every child shares the same lock folder.
    bench::prepareFirebirdEnvironment();
    std::printf(
        "Goals: open within %.1f× raw; 1,000,000 movements held in under %.0f MB.\n"
        "raw MB: memory the raw fetch grows by (the engine's page cache); held MB: what the "
        "process holds more after the open (the rows, plus that same cache); peak MB: the "
        "most it took on the way.\n",
        kOpenGoal, kMovementsGoalBytes / 1e6);
    try {
        for (const bench::ShopSize& size : shops)
            benchShop(size, repeat);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
