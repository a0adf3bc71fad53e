#include "bench/entry_window_timing.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/data/sql_query.h"
#include "platform/ui/db_edit.h"
#include "stock/entry_window.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QPushButton>
#include <memory>
#include <stdexcept>

namespace bench {

namespace {

// Anything the window showed means the command did not run its normal path.
void requireQuiet(const testing_support::ScriptedDialogs& dialogs, const char* step) {
    QString what;
    if (!dialogs.failures().empty())
        what = dialogs.failures().front();
    else if (!dialogs.errors().empty())
        what = dialogs.errors().front().text + ' ' + dialogs.errors().front().detail;
    else if (!dialogs.messages().empty())
        what = dialogs.messages().front();
    if (!what.isEmpty())
        throw std::runtime_error(std::string(step) + ": " + what.toStdString());
}

class WindowDriver {
public:
    explicit WindowDriver(EntryWindowTimings& timings) : timings_(timings) {}

    // Only the handler's own work is timed; the events it leaves are timed apart.
    double click(QPushButton* button, const char* step) {
        if (!button->isEnabled())
            throw std::runtime_error(std::string(step) + ": the button is disabled");
        const double ms = millisecondsOf([&] { button->click(); });
        requireQuiet(dialogs_, step);
        timings_.repaint.add(millisecondsOf([] { QCoreApplication::processEvents(); }));
        return ms;
    }

    void typeInto(ui::DBEdit* edit, const QString& text) {
        testing_support::focus(edit);
        edit->selectAll();
        testing_support::type(edit, text);
    }

    testing_support::ScriptedDialogs& dialogs() { return dialogs_; }

private:
    EntryWindowTimings& timings_;
    testing_support::ScriptedDialogs dialogs_;
};

} // namespace

EntryWindowTimings timeEntryWindow(int product, int repeat) {
    EntryWindowTimings timings;
    WindowDriver driver(timings);
    // As the main window opens it: the shared movements filtered on entries first.
    DM->TBMOVIMENTACAO->setFiltered(false);
    DM->TBMOVIMENTACAO->setFilter(QStringLiteral("TIPO = 'ENTRADA'"));
    DM->TBMOVIMENTACAO->setFiltered(true);

    auto window = std::make_unique<TFEntrada>();
    timings.show = millisecondsOf([&] { testing_support::activate(window.get()); });
    requireQuiet(driver.dialogs(), "show");
    // A person takes longer than the rest of the reading before the first Salvar.
    timings.restRead = millisecondsOf([] {
        while (!DM->TBMOVIMENTACAO->wholeRead() || !DM->TBPRODUTOS->wholeRead())
            QCoreApplication::processEvents();
    });

    for (int round = 0; round < repeat; ++round) {
        timings.novo.add(driver.click(window->btnNovo, "Novo"));
        const QVariant code = window->dataSet()->field(QStringLiteral("CODIGO")).value();
        driver.typeInto(window->DBEdit2, QString::number(product));
        driver.typeInto(window->DBEdit5, QStringLiteral("1"));
        timings.salvar.add(driver.click(window->btnSalvar, "Salvar"));
        if (window->dataSet()->field(QStringLiteral("CODIGO")).value() != code)
            throw std::runtime_error("Salvar left another movement current");
        driver.dialogs().answer(true); // "Você realmente deseja excluir o registro?"
        timings.excluir.add(driver.click(window->btnExcluir, "Excluir"));
        if (!driver.dialogs().nothingPending())
            throw std::runtime_error("Excluir did not ask before deleting");
        driver.dialogs().clear();
    }
    return timings;
}

int quietProduct(data::SqlConnection& connection) {
    data::SqlQuery query(&connection);
    query.sql() << QStringLiteral("select max(CODIGO) from TPRODUTO where ESTOQUEATUAL + 1 <= "
                                  "ESTOQUE_MAXIMO");
    query.open();
    const QVariant code = query.value(0);
    if (code.isNull())
        throw std::runtime_error("no product takes one more unit within its maximum stock");
    return code.toInt();
}

} // namespace bench
