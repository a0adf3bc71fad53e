// Times the products window on a generated shop: its first opening (the show, every list filled
// and painted), the rest of the products read while it is in use, and one keystroke in its search
// box for each kind of text the search tries (a description that matches, a text that matches
// nothing, a bar code, a product code), from the text's change to the grid painted. Each process is
// fresh; the figure is the median over them.
//   search_bench [typical|large] [--runs N]   # default: large, 3 processes
#include "bench/measurement.h"
#include "bench/program_on_shop.h"
#include "bench/shop_generator.h"
#include "platform/ui/page_control.h"
#include "registers/products_window.h"
#include <QApplication>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using bench::seconds;
const int kRepeats = qEnvironmentVariableIsSet("SEARCH_REPEATS")
                         ? qEnvironmentVariableIntValue("SEARCH_REPEATS")
                         : 5;

struct Keystroke {
    const char* kind;
    QString text;
};

// What a user types: the whole text is set at once, as the last key of it would leave it.
std::vector<Keystroke> keystrokes(int products) {
    const QString code = QString::number(products / 2);
    return {{"a description that matches", QStringLiteral("FECHADURA")},
            {"no match", QStringLiteral("XYZQW")},
            {"a bar code", QStringLiteral("789") + code.rightJustified(10, '0')},
            {"a product code", code}};
}

void oneProcess(const std::string& shop) {
    bench::measureInChild([&](bench::Probe&) {
        bench::ProgramOnShop program("search_bench", shop, QUIRU_BENCH_SETTINGS_DATABASE);
        TFProdutos window;
        const double opening = seconds([&] {
            window.show();
            QApplication::processEvents();
            window.grab();
        });
        std::printf("opening %.6f\n", opening);
        // The rest of the products come while the window is in use; the keystrokes are timed
        // over all of them.
        const double rest = seconds([&] {
            while (!DM->TBPRODUTOS->wholeRead())
                QApplication::processEvents();
        });
        std::printf("rest read meanwhile %.6f\n", rest);
        auto* search = window.findChild<QLineEdit*>(QStringLiteral("txtDescricao"));
        window.PageControl1->setActivePage(window.TabSheet2);
        QApplication::processEvents();
        for (const Keystroke& k : keystrokes(DM->TBPRODUTOS->recordCount())) {
            std::vector<double> times;
            for (int i = 0; i < kRepeats; ++i) {
                search->clear();
                QApplication::processEvents();
                times.push_back(seconds([&] {
                    search->setText(k.text);
                    QApplication::processEvents();
                    window.grab();
                }));
            }
            std::sort(times.begin(), times.end());
            std::printf("%s %.6f\n", k.kind, times[times.size() / 2]);
        }
        std::fflush(stdout);
    });
}

} // namespace

int main(int argc, char** argv) {
    return bench::runOnShop(argc, argv, oneProcess);
}
