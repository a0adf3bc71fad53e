// Works the entry and exit windows as a user would, offscreen, so that the reliability tests can
// kill it at any moment and check what it leaves behind.
//
//   reliability_driver work <program folder> <seed> [--kill-inside-save]
//       Saves new entries and exits, changes (quantity and product) and deletes, for ever. Before
//       each it prints "begin <code>" (0 for a new one) and after each stored one
//       "done <code> <product> <quantity>" (quantity 0: deleted). With --kill-inside-save the
//       process kills itself inside its first save, between the movement's statement and the
//       product's. With --kill-inside-change it does so inside its first change or deletion of
//       a stored movement that moves a stock, once the movement's statement (and the trail of
//       changes its trigger writes) has run.
//       With --backup-every N the driver also takes a backup of the open database every N
//       actions, the manual one and the timer's in turn, into the program folder as
//       backup-<k>.GDB, and prints "backup <path>" once each is written.
//   reliability_driver entry <program folder> <product> <quantity>
//       Saves one entry and prints every message and error the user would see, one per line.
//   reliability_driver import <program folder> <sheet> [--kill-at N]
//       Imports the sheet's products through the import window, answering Yes, and prints
//       "imported" once stored. With --kill-at N the process kills itself just before the Nth
//       product row is stored, inside the import's transaction.
//   reliability_driver entries <program folder> <product> <quantity> <count>
//       Saves <count> entries one after another, as a user at a busy station would: a save that
//       is refused is saved again, up to ten times. Prints "done <code>" for each stored one,
//       every refusal, and at the end "saved <n> refused <m>".
//
// Both end on SIGTERM as the program does: unsaved edits dropped, databases closed.
#include "admin/database_files.h"
#include "app/app_setup.h"
#include "core/data_module.h"
#include "core/ending.h"
#include "core/globals.h"
#include "imports/import_window.h"
#include "platform/data/sql_query.h"
#include "platform/os/termination.h"
#include "platform/ui/db_edit.h"
#include "stock/exit_window.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_input.h"
#include <QApplication>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <random>

namespace {

// A user who answers Yes to every question (the limit questions) and reads every message.
class YesDialogs : public testing_support::ScriptedDialogs {
public:
    bool question(QWidget*, const QString&, const QString&) override { return true; }
    QStringList takeSaid() {
        QStringList said = messages();
        for (const auto& e : errors())
            said << e.text + (e.detail.isEmpty() ? QString() : " | " + e.detail);
        clear();
        return said;
    }
};

void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout); // the test reads every line up to the moment of the kill
}

void typeInto(ui::DBEdit* edit, const QString& text) {
    testing_support::retype(edit, text);
}

bool changingStoredMovement = false; // the worker is changing or deleting a stored movement

int codeOfCurrent() {
    return DM->TBMOVIMENTACAO->field(QStringLiteral("CODIGO")).asInteger();
}

class Worker {
public:
    Worker(unsigned seed, int products, int backupEvery)
        : random_(seed), products_(products), backupEvery_(backupEvery) {}

    // One user action; "done" only once it is stored.
    void step() {
        if (backupEvery_ > 0 && steps_ > 0 && steps_ % backupEvery_ == 0)
            backup();
        if (steps_++ % 8 == 0) { // now and then the user goes to the other window
            window_.reset();
            window_.reset(pick(2) == 0 ? new TFEntrada() : new TFSaida());
            testing_support::activate(window_.get());
        }
        TFEntrada* w = window_.get();
        data::ClientDataSet* movements = DM->TBMOVIMENTACAO;
        const int action = movements->isEmpty() ? 0 : pick(4);
        const int product = 1 + pick(products_);
        const int quantity = 1 + pick(9);
        if (action <= 1) { // new ones twice as often, so the table grows
            say(QStringLiteral("begin 0"));
            w->btnNovo->click();
            typeInto(w->DBEdit2, QString::number(product));
            typeInto(w->DBEdit5, QString::number(quantity));
            w->btnSalvar->click();
            report(w, quantity);
            return;
        }
        movements->moveTo(pick(movements->recordCount()));
        const int code = codeOfCurrent();
        say(QStringLiteral("begin %1").arg(code));
        changingStoredMovement = true;
        const auto stored = qScopeGuard([] { changingStoredMovement = false; });
        if (action == 2) {
            w->btnAlterar->click();
            if (pick(2) == 0)
                typeInto(w->DBEdit2, QString::number(product));
            typeInto(w->DBEdit5, QString::number(quantity));
            w->btnSalvar->click();
            report(w, quantity);
        } else {
            w->btnExcluir->click();
            if (dialogs_.takeSaid().isEmpty() && !movements->locate(QStringLiteral("CODIGO"), code))
                say(QStringLiteral("done %1 0 0").arg(code));
        }
    }

private:
    int pick(int below) { return int(random_() % unsigned(below)); }

    // Between two saves, as the backup window or the timer would take it.
    void backup() {
        const QString target = caminho_sistema + QStringLiteral("backup-%1.GDB").arg(++backups_);
        if (backups_ % 2)
            admin::copyOpenDatabase(*DM->SQLConnection1, target);
        else
            admin::automaticBackup(*DM->SQLConnection1,
                                   DM->SQLConnection1->param(QStringLiteral("Database")), target);
        say(QStringLiteral("backup ") + target);
    }

    void report(TFEntrada* w, int quantity) {
        const QStringList said = dialogs_.takeSaid();
        if (said.isEmpty() && w->btnNovo->isEnabled()) {
            const int product = DM->TBMOVIMENTACAO->field(QStringLiteral("PRODUTO")).asInteger();
            say(QStringLiteral("done %1 %2 %3").arg(codeOfCurrent()).arg(product).arg(quantity));
        } else if (w->btnCancelar->isEnabled()) {
            w->btnCancelar->click(); // refused: the user gives up on it
        }
    }

    YesDialogs dialogs_;
    std::mt19937 random_;
    int products_;
    int steps_ = 0;
    int backupEvery_;
    int backups_ = 0;
    std::unique_ptr<TFEntrada> window_;
};

enum class KillInside { Nothing, Save, Change };

int work(unsigned seed, KillInside killInside, int backupEvery) {
    if (killInside != KillInside::Nothing) {
        // The movement's statement has run, the product's is next: the worst moment to die.
        data::SqlQuery::setBeforeExecHook([killInside](const QString& sql) {
            if (sql.startsWith(QLatin1String("UPDATE TPRODUTO")) &&
                DM->SQLConnection1->inTransaction() &&
                (killInside == KillInside::Save || changingStoredMovement))
                std::raise(SIGKILL);
        });
    }
    DM->TBPRODUTOS->open();
    Worker worker(seed, DM->TBPRODUTOS->recordCount(), backupEvery);
    // Each action from the event loop, so that an ending signal is taken between two.
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { worker.step(); });
    ticker.start(0);
    return QApplication::exec();
}

int entry(int product, const QString& quantity) {
    YesDialogs dialogs;
    TFEntrada window;
    testing_support::activate(&window);
    window.btnNovo->click();
    typeInto(window.DBEdit2, QString::number(product));
    typeInto(window.DBEdit5, quantity);
    window.btnSalvar->click();
    for (const QString& line : dialogs.takeSaid())
        say(line);
    return 0;
}

// Saves again, as the user told that another station changed the product would.
int entries(int product, const QString& quantity, int count) {
    YesDialogs dialogs;
    TFEntrada window;
    testing_support::activate(&window);
    int saved = 0;
    int refused = 0;
    for (int i = 0; i < count; ++i) {
        window.btnNovo->click();
        if (!window.btnSalvar->isEnabled())
            continue; // "Novo" itself was refused; said below
        typeInto(window.DBEdit2, QString::number(product));
        typeInto(window.DBEdit5, quantity);
        for (int attempt = 0; attempt < 10 && window.btnSalvar->isEnabled(); ++attempt) {
            window.btnSalvar->click();
            for (const QString& line : dialogs.takeSaid()) {
                say(QStringLiteral("refused ") + line);
                ++refused;
            }
        }
        if (window.btnSalvar->isEnabled()) {
            window.btnCancelar->click();
            continue;
        }
        say(QStringLiteral("done %1").arg(codeOfCurrent()));
        ++saved;
    }
    for (const QString& line : dialogs.takeSaid())
        say(QStringLiteral("refused ") + line);
    say(QStringLiteral("saved %1 refused %2").arg(saved).arg(refused));
    return 0;
}

int import(const QString& sheet, int killAt) {
    if (killAt > 0) {
        data::SqlQuery::setBeforeExecHook([killAt, rows = 0](const QString& sql) mutable {
            if (sql.startsWith(QLatin1String("INSERT INTO TPRODUTO")) && ++rows == killAt)
                std::raise(SIGKILL);
        });
    }
    YesDialogs dialogs;
    TFImportar window;
    testing_support::activate(&window);
    dialogs.chooseFile(sheet);
    window.btnArquivo->click();
    say(QStringLiteral("begin import"));
    window.btnImportar->click();
    for (const QString& line : dialogs.takeSaid())
        say(line);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    os::holdTerminationSignals();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpApplication(app);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: reliability_driver work|entry <folder> ...\n");
        return 2;
    }
    closeDatabasesOnTerminationSignal();
    caminho_sistema = args.at(2);
    std::unique_ptr<TDM> dm;
    try {
        dm = std::make_unique<TDM>();
    } catch (const std::exception& e) {
        say(QString::fromUtf8(e.what()));
        return 1;
    }
    DM = dm.get();
    if (args.at(1) == QLatin1String("work")) {
        const int every = args.indexOf(QStringLiteral("--backup-every"));
        const KillInside kill =
            args.contains(QStringLiteral("--kill-inside-save"))     ? KillInside::Save
            : args.contains(QStringLiteral("--kill-inside-change")) ? KillInside::Change
                                                                    : KillInside::Nothing;
        return work(args.at(3).toUInt(), kill, every > 0 ? args.value(every + 1).toInt() : 0);
    }
    if (args.at(1) == QLatin1String("entry") && args.size() == 5)
        return entry(args.at(3).toInt(), args.at(4));
    if (args.at(1) == QLatin1String("import")) {
        const int kill = args.indexOf(QStringLiteral("--kill-at"));
        return import(args.at(3), kill > 0 ? args.value(kill + 1).toInt() : 0);
    }
    if (args.at(1) == QLatin1String("entries") && args.size() == 6)
        return entries(args.at(3).toInt(), args.at(4), args.at(5).toInt());
    return 2;
}
