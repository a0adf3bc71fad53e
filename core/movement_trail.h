#pragma once
// The trail of changes: triggers keep every change and deletion of a movement, and the stock of a
// product typed in the products window, in THISTORICO, in the transaction of the change itself.
// The program tells them who changes, from which window and why through context variables of
// the attachment, which a TrailScope sets for as long as it lives.
#include <QString>
#include <QStringList>

namespace data {
class SqlConnection;
}

// Creates the trail's table and triggers where a database made by an older program lacks them;
// returns the names made. What cannot be made now is left for the next opening.
QStringList addMissingTrail(data::SqlConnection& connection);

enum class HandStock { No, Yes };

class TrailScope {
public:
    // `handStock`: the stock fields of the products stored meanwhile were typed by hand, so their
    // changes are kept too. The user is usuario_logado.
    TrailScope(data::SqlConnection& connection, const QString& window, const QString& reason = {},
               HandStock handStock = HandStock::No);
    ~TrailScope();
    TrailScope(const TrailScope&) = delete;
    TrailScope& operator=(const TrailScope&) = delete;

private:
    data::SqlConnection& connection_;
};
