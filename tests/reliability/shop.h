#pragma once
// A small shop in a program folder of its own, shared by the reliability cases: six products
// with an initial stock of 50, the saves the driver reported, and the checks made after each
// blow.
#include "tests/support/program_folder.h"
#include <QProcess>
#include <map>
#include <optional>

namespace reliability {

// Whether this user may make a private user and mount namespace (unshare -rm).
bool privateMountsAllowed();

// Every product's stock is its initial stock plus its entries minus its exits.
void expectStockRule(data::SqlConnection& connection);
// Each movement's trail of changes runs unbroken: every change starts where the one before it
// ended, and the last one ended as the movement now stands.
void expectTrailChain(data::SqlConnection& connection);
// A closed copy of the shop's database: the stock rule holds and the engine's check finds nothing.
void expectWholeCopy(const QString& path);

class Shop {
public:
    Shop();
    QString folder() const { return folder_.path(); }

    // Takes the driver's new output into the record of reported saves; returns the new text.
    QString read(QProcess& driver);
    int savesReported() const { return saves_; }
    const QStringList& backupsReported() const { return backups_; }
    int checkWarnings() const { return warnings_; } // stale page marks the check reported
    int sweeps() const { return sweeps_; } // checks that needed a sweep of deleted rows' garbage

    // The stock rule for every product, every reported save stored as reported, and a file the
    // database's own full check finds sound.
    void expectWhole();

    double movedQuantity(); // of every movement together
    int trailRows();        // changes and deletions of movements kept in the trail
    double stock(int product);
    QByteArray fileBytes() const;

    // Runs the driver's one entry inside a private mount namespace, on a full disk ("full") or
    // on a read-only folder ("read-only"), and returns all it said. On the full disk the
    // database is left in the folder as after.GDB.
    QString onSmallDisk(const QString& mode, int product, const QString& quantity);
    // Puts the named file of the folder in place of QUIRU.GDB.
    void adoptFile(const QString& name);

private:
    QVariant scalar(const QString& sql);

    struct Saved {
        int product;
        double quantity; // 0: deleted (product 0 too)
    };
    testing_support::ProgramFolder folder_;
    std::map<int, Saved> reported_;
    std::optional<int> pending_; // begun, not reported: its outcome is unknown
    QByteArray unread_;
    QStringList backups_;
    int saves_ = 0;
    int warnings_ = 0;
    int sweeps_ = 0;
};

} // namespace reliability
