// Times the movement query on a generated shop: its opening (the lists filled, the month's entries
// listed, the window painted), a search for one product's entries, and its closing before the
// shared movements were ever read. Each process is fresh; each prints its own figures.
//   movement_query_bench [typical|large] [--runs N]   # default: large, 3 processes
#include "bench/measurement.h"
#include "bench/program_on_shop.h"
#include "bench/shop_generator.h"
#include "core/globals.h"
#include "platform/ui/mask_edit.h"
#include "stock/movement_query_window.h"
#include <QApplication>
#include <QComboBox>
#include <cstdio>

namespace {

using bench::seconds;

void oneProcess(const std::string& shop) {
    bench::measureInChild([&](bench::Probe&) {
        bench::ProgramOnShop program("movement_query_bench", shop, QUIRU_BENCH_SETTINGS_DATABASE);
        DM->TBPRODUTOS->open(); // the main window's lists have read them by then
        DM->TBPRODUTOS->readAll();
        DM->TBFORNECEDOR->open();
        DM->TBCLIENTE->open();
        consulta_entradas = 1;
        TFConsultaMovimentacoes window;
        const double opening = seconds([&] {
            window.show();
            QApplication::processEvents();
            window.grab();
        });
        DM->TBPRODUTOS->last(); // a product of the latest ones, with a few entries
        const QString product = DM->TBPRODUTOS->field(QStringLiteral("DESCRICAO")).asString();
        window.txtDataInicial->setText(QStringLiteral("01/01/1900"));
        window.txtDataFinal->setText(QStringLiteral("31/12/2100"));
        window.CBProduto->setEditText(product);
        auto searchOnce = [&] {
            return seconds([&] {
                window.btnBuscarClick();
                QApplication::processEvents();
            });
        };
        const double first = searchOnce(); // the statement's first run reads its pages
        const double search = searchOnce();
        const double closing = seconds([&] {
            window.close();
            QApplication::processEvents();
        });
        std::printf("opening %.4f s   search for one product (%d rows) first %.4f s, again "
                    "%.4f s   closing %.4f s\n",
                    opening, window.TBMovimentacao->recordCount(), first, search, closing);
        std::fflush(stdout);
    });
}

} // namespace

int main(int argc, char** argv) {
    return bench::runOnShop(argc, argv, oneProcess);
}
