// Times the import of 100,000 new products from an .xlsx into the large shop: the preview (the
// file chosen in the import window until its preview is built) and the import (the plan stored in
// one transaction), beside the raw inserts of the same rows: one INSERT prepared once and run for
// every row, values already typed in memory, in one transaction, through the same driver, on
// another copy of the same shop in the same process. Each run is a fresh process.
//   import_bench [typical|large] [--runs N] [--rows N]   # default: large, 3 runs, 100,000 rows
#include "bench/program_on_shop.h"
#include "imports/import_file.h"
#include "imports/import_store.h"
#include "imports/import_window.h"
#include "platform/data/prepared_statement.h"
#include "platform/data/sql_query.h"
#include "tests/support/scripted_dialogs.h"
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>
#include <xlsxwriter.h>

namespace {

struct Product {
    std::string barCode, description, unit;
    double stock, cost, price;
};

// Row i of the sheet, the same every run: bar codes and descriptions the shop does not have.
Product productOf(int i) {
    char barCode[16];
    std::snprintf(barCode, sizeof barCode, "790%010d", i);
    char description[64];
    std::snprintf(description, sizeof description, "PRODUTO IMPORTADO %06d LINHA %d", i, i % 97);
    return {barCode,         description,           i % 3 ? "UN" : "KG",
            double(i % 250), 1 + (i % 1000) / 10.0, 2 + (i % 1000) / 8.0};
}

// The sheet as another program writes one: a header row, shared strings, numbers as numbers.
void writeSheet(const std::string& path, int rows) {
    lxw_workbook* book = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Produtos");
    const char* headers[] = {"Código de barras", "Descrição",      "Unidade",
                             "Estoque",          "Preço de custo", "Preço de venda"};
    for (lxw_col_t c = 0; c < 6; ++c)
        worksheet_write_string(sheet, 0, c, headers[c], nullptr);
    for (int i = 0; i < rows; ++i) {
        const Product p = productOf(i);
        const lxw_row_t r = lxw_row_t(i + 1);
        worksheet_write_string(sheet, r, 0, p.barCode.c_str(), nullptr);
        worksheet_write_string(sheet, r, 1, p.description.c_str(), nullptr);
        worksheet_write_string(sheet, r, 2, p.unit.c_str(), nullptr);
        worksheet_write_number(sheet, r, 3, p.stock, nullptr);
        worksheet_write_number(sheet, r, 4, p.cost, nullptr);
        worksheet_write_number(sheet, r, 5, p.price, nullptr);
    }
    if (workbook_close(book) != LXW_NO_ERROR)
        throw std::runtime_error("the sheet could not be written");
}

int maxProductCode(data::SqlConnection& connection) {
    data::SqlQuery max(&connection);
    max.sql() << QStringLiteral("select max(CODIGO) from TPRODUTO");
    max.open();
    return max.value(0).toInt();
}

// The floor: the same rows, typed in memory, through one prepared INSERT in one transaction.
double rawInserts(data::SqlConnection& connection, int rows) {
    std::vector<Product> products;
    products.reserve(std::size_t(rows));
    for (int i = 0; i < rows; ++i)
        products.push_back(productOf(i));
    const int first = maxProductCode(connection) + 1;
    return bench::seconds([&] {
        data::SqlConnection::Transaction transaction(connection);
        data::PreparedStatement insert(
            connection, QStringLiteral("INSERT INTO TPRODUTO (CODIGO, CODIGOBARRAS, DESCRICAO, "
                                       "UNIDADE, ESTOQUEATUAL, PRECO_COMPRA, PRECO_VENDA, "
                                       "ESTOQUEINICIAL) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < rows; ++i) {
            const Product& p = products[std::size_t(i)];
            insert.bind(0, first + i);
            insert.bind(1, QString::fromStdString(p.barCode));
            insert.bind(2, QString::fromStdString(p.description));
            insert.bind(3, QString::fromStdString(p.unit));
            insert.bind(4, p.stock);
            insert.bind(5, p.cost);
            insert.bind(6, p.price);
            insert.bind(7, p.stock);
            insert.exec();
        }
        transaction.commit();
    });
}

// One run in a fresh process: the raw inserts on one copy of the shop, then the preview and the
// import through the program on another.
void oneRun(const std::string& shop, const std::string& sheet, int rows) {
    bench::measureInChild([&](bench::Probe& probe) {
        bench::ProgramOnShop program("import_bench", shop, QUIRU_BENCH_SETTINGS_DATABASE);
        double raw = 0;
        {
            bench::ShopProgramFolder other(shop, QUIRU_BENCH_SETTINGS_DATABASE);
            data::SqlConnection connection;
            connection.params() << "Database=" + other.path() + "QUIRU.GDB"
                                << QStringLiteral("User_name=SYSDBA")
                                << QStringLiteral("Password=masterkey");
            connection.open();
            raw = rawInserts(connection, rows);
        }
        // For reference: the reading alone, the part of the preview spent in the file.
        const double reading =
            bench::seconds([&] { imports::readImportFile(QString::fromStdString(sheet)); });
        testing_support::ScriptedDialogs dialogs;
        TFImportar window;
        window.show();
        QApplication::processEvents();
        probe.start();
        const double preview = bench::seconds([&] {
            dialogs.chooseFile(QString::fromStdString(sheet));
            window.btnArquivo->click();
            QApplication::processEvents();
        });
        const imports::ImportPlan* plan = window.plan();
        if (!plan || plan->count(imports::RowStatus::New) != rows)
            throw std::runtime_error("the preview did not find every row new");
        const double import = bench::seconds([&] {
            if (!imports::storePlan(*DM->SQLConnection1, *plan))
                throw std::runtime_error("the import stopped");
        });
        probe.stop(rows);
        std::printf(
            "run  preview %5.2f s (goal <= 3 s; reading the file %4.2f s)   import %5.2f s   "
            "raw %5.2f s   import/raw %4.2fx (goal <= 1.5x)   peak %4.0f MB\n",
            preview, reading, import, raw, import / raw, double(probe.sample().peakBytes) / 1e6);
        std::fflush(stdout);
    });
}

} // namespace

int main(int argc, char** argv) {
    int rows = 100'000;
    std::vector<char*> shopArgs{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--rows" && i + 1 < argc)
            rows = std::atoi(argv[++i]);
        else
            shopArgs.push_back(argv[i]);
    }
    QTemporaryDir dir;
    const std::string sheet = dir.filePath(QStringLiteral("produtos.xlsx")).toStdString();
    writeSheet(sheet, rows);
    std::printf("Import of %d new products from an .xlsx; each run a fresh process\n", rows);
    return bench::runOnShop(int(shopArgs.size()), shopArgs.data(),
                            [&](const std::string& shop) { oneRun(shop, sheet, rows); });
}
