#pragma once
// The trail of changes as people read it: the rows THISTORICO holds for a period, a product and a
// user, each change's old and new values side by side. The query window and its printout both
// show these rows.
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace data {
class SqlConnection;
}

struct ChangeHistoryFilter {
    QDate from;
    QDate to;
    std::optional<int> product; // a product's code; none: every product
    QString user;               // a login, case ignored; "": every user
};

struct ChangeHistoryRow {
    QString when; // DD/MM/YYYY HH:MM:SS
    QString user;
    QString window; // "" when the change came from no window of the program
    bool deleted = false;
    QString operation; // "Alteração" or "Exclusão"
    QString record;    // "Movimento 12" or "Produto 7"
    QString product;   // the product's code and description
    QString reason;
    // The values compared, in the order of changeHistoryValueNames(): before and after.
    QStringList before;
    QStringList after;
};

// The names of the values compared ("Quantidade", "Data", ...).
const QStringList& changeHistoryValueNames();

// The trail's rows for the filter, oldest first. Throws data::DataError when it cannot be read.
std::vector<ChangeHistoryRow> readChangeHistory(data::SqlConnection& connection,
                                                const ChangeHistoryFilter& filter);
