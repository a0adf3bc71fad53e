#include "imports/mapping_memory.h"
#include "imports/header_names.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include <QCryptographicHash>

namespace imports {

namespace {

const QString kTable = QStringLiteral("TMAPA_IMPORTACAO");

QString keyOf(Register what, const QStringList& headers) {
    QStringList keys;
    for (const QString& header : headers)
        keys << headerKey(header);
    const QByteArray hash =
        QCryptographicHash::hash(keys.join('\n').toUtf8(), QCryptographicHash::Sha1).toHex();
    return registerWords(what) + ':' + QString::fromLatin1(hash);
}

} // namespace

void MappingMemory::makeTable() {
    if (ready_)
        return;
    data::SqlQuery exists(&settings_);
    exists.sql() << QStringLiteral("select 1 from RDB$RELATIONS where RDB$RELATION_NAME = :name");
    exists.setText(QStringLiteral("name"), kTable);
    exists.open();
    if (exists.eof()) {
        // A table is usable once the transaction that made it has committed.
        data::SqlConnection::Transaction transaction(settings_);
        data::SqlQuery create(&settings_);
        create.sql() << QStringLiteral("CREATE TABLE %1 (CHAVE VARCHAR(60) NOT NULL PRIMARY KEY, "
                                       "MAPA VARCHAR(8000))")
                            .arg(kTable);
        create.exec();
        transaction.commit();
    }
    ready_ = true;
}

std::optional<QStringList> MappingMemory::recall(Register what, const QStringList& headers) {
    makeTable();
    data::SqlQuery read(&settings_);
    read.sql() << QStringLiteral("select MAPA from %1 where CHAVE = :chave").arg(kTable);
    read.setText(QStringLiteral("chave"), keyOf(what, headers));
    read.open();
    if (read.eof())
        return std::nullopt;
    QStringList mapping = read.value(0).toString().split(';');
    if (mapping.size() != headers.size())
        return std::nullopt;
    return mapping;
}

void MappingMemory::remember(Register what, const QStringList& headers,
                             const QStringList& mapping) {
    const QString text = mapping.join(';');
    if (text.size() > 8000)
        return; // a sheet of thousands of columns: not worth keeping
    makeTable();
    data::SqlQuery write(&settings_);
    write.sql() << QStringLiteral("UPDATE OR INSERT INTO %1 (CHAVE, MAPA) VALUES (:chave, :mapa) "
                                  "MATCHING (CHAVE)")
                       .arg(kTable);
    write.setText(QStringLiteral("chave"), keyOf(what, headers));
    write.setText(QStringLiteral("mapa"), text);
    write.exec();
}

} // namespace imports
