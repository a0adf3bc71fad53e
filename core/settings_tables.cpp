#include "core/settings_tables.h"
#include "platform/data/errors.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"

namespace {

struct SettingsTable {
    const char* name;
    const char* columns;
};

// As db/config.sql makes them.
const SettingsTable kTables[] = {
    {"TETIQUETA", "MODELO VARCHAR(10) NOT NULL PRIMARY KEY, MARGEM_SUPERIOR DOUBLE PRECISION, "
                  "MARGEM_ESQUERDA DOUBLE PRECISION, ESPACO_HORIZONTAL DOUBLE PRECISION, "
                  "ESPACO_VERTICAL DOUBLE PRECISION, EM_USO VARCHAR(3)"},
};

bool hasTable(data::SqlConnection& connection, const char* name) {
    data::SqlQuery read(&connection);
    read.sql() << QStringLiteral("select 1 from RDB$RELATIONS where RDB$RELATION_NAME = :nome");
    read.setText(QStringLiteral("nome"), QLatin1String(name));
    read.open();
    return !read.eof();
}

} // namespace

QStringList addMissingSettingsTables(data::SqlConnection& connection) {
    QStringList added;
    for (const SettingsTable& table : kTables) {
        try {
            if (hasTable(connection, table.name))
                continue;
            data::SqlConnection::Transaction transaction(connection);
            data::SqlQuery create(&connection);
            create.sql() << QStringLiteral("CREATE TABLE %1 (%2)")
                                .arg(QLatin1String(table.name), QLatin1String(table.columns));
            create.exec();
            transaction.commit();
            added << QLatin1String(table.name);
        } catch (const data::DataError&) {
            // Left for the next opening; the window using it keeps its defaults meanwhile.
        }
    }
    return added;
}
