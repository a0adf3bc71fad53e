#include "admin/database_files.h"
#include "platform/data/database_file.h"
#include "platform/data/errors.h"
#include "platform/data/sql_connection.h"
#include "platform/data/sql_query.h"
#include "platform/os/os.h"
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace admin {

namespace {
[[noreturn]] void fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

// Reads every user table through: a file cut short fails here, not at the user's next search.
void readThrough(data::SqlConnection& connection) {
    data::SqlQuery tables(&connection);
    tables.sql() << QStringLiteral("select trim(RDB$RELATION_NAME) from RDB$RELATIONS")
                 << QStringLiteral(
                        "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 and RDB$VIEW_BLR is null");
    QStringList names;
    for (tables.open(); !tables.eof(); tables.next())
        names << tables.value(0).toString();
    tables.close();
    for (const QString& name : names) {
        data::SqlQuery count(&connection);
        count.sql() << QStringLiteral("select count(*) from \"%1\"").arg(name);
        count.open();
        count.close();
    }
}
} // namespace

bool isServerPath(const QString& path) {
    // A local path starts at the root; "C:\..." is a local Windows drive.
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
    const QString p = path.trimmed();
    return !p.startsWith('/') && !drive.match(p).hasMatch() && p.contains(':');
}

bool samePath(const QString& a, const QString& b) {
    const QFileInfo fa(a), fb(b);
    const QString ca = fa.canonicalFilePath(), cb = fb.canonicalFilePath();
    return !ca.isEmpty() ? ca == cb : fa.absoluteFilePath() == fb.absoluteFilePath();
}

bool opensAsDatabase(const data::SqlConnection& like, const QString& path, QString* why) {
    if (!os::fileExists(path)) {
        if (why)
            *why = QStringLiteral("O arquivo \"%1\" não existe.").arg(path);
        return false;
    }
    data::SqlConnection probe;
    probe.params() << "Database=" + path << "User_name=" + like.param(QStringLiteral("User_name"))
                   << "Password=" + like.param(QStringLiteral("Password"))
                   << QStringLiteral("SQLDialect=3");
    try {
        probe.open();
        readThrough(probe);
        probe.close();
        return true;
    } catch (const data::DataError& e) {
        probe.close();
        if (why)
            *why = QStringLiteral("O arquivo \"%1\" não é um banco de dados que possa ser aberto.")
                       .arg(path) +
                   "\n" + e.fullText();
        return false;
    }
}

void copyDatabase(const data::SqlConnection& like, const QString& source, const QString& target,
                  const std::function<void()>& copied) {
    if (target.trimmed().isEmpty())
        fail(QStringLiteral("Nenhum arquivo de destino foi escolhido."));
    const QString partial = target + QStringLiteral(".copiando");
    QFile::remove(partial);
    try {
        // A gbak backup is restored by the engine into the new file; a database is copied.
        if (data::inspectDatabaseFile(source).kind == data::DatabaseFileKind::GbakBackup)
            data::restoreGbak(source, partial, like.param(QStringLiteral("User_name")),
                              like.param(QStringLiteral("Password")));
        else
            os::copyFile(source, partial);
    } catch (const data::DataError& e) {
        if (copied)
            copied();
        fail(e.fullText());
    } catch (...) {
        if (copied)
            copied();
        throw;
    }
    if (copied)
        copied();
    QString why;
    if (!opensAsDatabase(like, partial, &why)) {
        QFile::remove(partial);
        fail(why);
    }
    // rename() replaces the target in one step: it is the old file or the new, never half.
    if (std::rename(QFile::encodeName(partial).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        const QString error = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(partial);
        fail(QStringLiteral("Não foi possível substituir \"%1\": %2").arg(target, error));
    }
}

void copyOpenDatabase(data::SqlConnection& main, const QString& target) {
    const QString source = main.param(QStringLiteral("Database"));
    const bool wasOpen = main.connected();
    main.close();
    copyDatabase(main, source, target, [&] {
        if (wasOpen)
            main.open();
    });
}

bool automaticBackup(data::SqlConnection& main, const QString& source, const QString& target) {
    if (!os::fileExists(source))
        return false;
    try {
        if (samePath(source, main.param(QStringLiteral("Database"))))
            copyOpenDatabase(main, target);
        else
            copyDatabase(main, source, target);
        return true;
    } catch (const std::exception&) {
        return false; // the next tick tries again
    }
}

QString serverDatabaseMessage() {
    return QStringLiteral("O banco de dados está em um servidor Firebird: esta máquina não pode "
                          "copiá-lo. Faça o backup no próprio servidor.");
}

} // namespace admin
