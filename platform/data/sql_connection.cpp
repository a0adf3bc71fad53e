#include "platform/data/sql_connection.h"
#include "platform/data/errors.h"
#include <QDir>
#include <QSqlDriver>
#include <QSqlError>
#include <QUuid>
#include <ibase.h>
#include <unistd.h>

namespace data {

SqlConnection::SqlConnection(QObject* parent)
    : QObject(parent), qtName_(QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

SqlConnection::~SqlConnection() {
    close();
    QSqlDatabase::removeDatabase(qtName_);
}

QString SqlConnection::param(const QString& name) const {
    const QString prefix = name + '=';
    for (const auto& line : params_)
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size());
    return {};
}

void SqlConnection::prepareEngineEnvironment() {
    if (qEnvironmentVariableIsSet("FIREBIRD_LOCK"))
        return;
    const QString dir = QDir::tempPath() + QStringLiteral("/quiru-firebird-%1").arg(getuid());
    QDir().mkpath(dir);
    qputenv("FIREBIRD_LOCK", QFile::encodeName(dir));
}

void SqlConnection::open() {
    if (connected())
        return;
    prepareEngineEnvironment();
    const QString path = param("Database");
    if (!QSqlDatabase::contains(qtName_))
        QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), qtName_);
    QSqlDatabase db = QSqlDatabase::database(qtName_, false);
    if (!db.isValid())
        throw DatabaseError(
            QStringLiteral("O acesso ao Firebird não está instalado (driver QIBASE)."));
    db.setDatabaseName(path);
    db.setUserName(param("User_name"));
    db.setPassword(param("Password"));
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
    if (!db.open()) {
        const QString detail = db.lastError().databaseText();
        db.close();
        // The embedded engine holds a file for one process only.
        if (detail.contains(QLatin1String("already opened with engine instance")) ||
            detail.contains(QLatin1String("during \"lock\" operation")))
            throw DatabaseError(QStringLiteral("O banco de dados \"%1\" já está aberto em outra "
                                               "cópia do programa. Feche-a e tente de novo.")
                                    .arg(path),
                                detail);
        throw DatabaseError::fromFirebird(
            detail, 0, QStringLiteral("Não foi possível abrir o banco de dados \"%1\".").arg(path));
    }
    // A path naming a host ("servidor:/dados/QUIRU.GDB", "servidor/3050:...") goes through a
    // server; a plain file is opened in-process and has no connection to lose.
    remote_ = path.contains(':');
    lostSeen_ = DatabaseError::connectionsLost();
    emit afterConnect();
}

void SqlConnection::close() {
    lostSeen_ = DatabaseError::connectionsLost(); // closed on purpose: nothing to reconnect
    if (!QSqlDatabase::contains(qtName_))
        return;
    QSqlDatabase db = QSqlDatabase::database(qtName_, false);
    if (db.isOpen()) {
        emit beforeDisconnect();
        if (inTransaction_)
            db.rollback();
        inTransaction_ = false;
        db.close();
    }
}

bool SqlConnection::attached() const {
    return QSqlDatabase::contains(qtName_) && QSqlDatabase::database(qtName_, false).isOpen();
}

// The engine reported a lost connection since this one opened. Errors are not traced back to
// the attachment that gave them, so a server's other attachments in this process reconnect too,
// needlessly but harmlessly.
bool SqlConnection::lost() const {
    return remote_ && DatabaseError::connectionsLost() != lostSeen_;
}

bool SqlConnection::connected() const {
    return attached() && !lost();
}

void SqlConnection::reconnect() {
    const quint64 seen = lostSeen_;
    close(); // the driver lets go of the dead attachment; the server has dropped its side
    try {
        open();
    } catch (const DatabaseError& e) {
        lostSeen_ = seen; // still lost: the next command tries again
        throw DatabaseError(DatabaseError::connectionLostMessage(), e.detail(), e.sqlCode());
    }
}

QSqlDatabase SqlConnection::database() {
    // Inside a transaction the failed command is still unwinding: it reconnects nothing.
    if (lost() && !inTransaction_)
        reconnect();
    if (!attached())
        throw DatabaseError(QStringLiteral("O banco de dados não está aberto."));
    return QSqlDatabase::database(qtName_, false);
}

unsigned int SqlConnection::nativeHandle() {
    const QVariant handle = database().driver()->handle();
    // The driver hands out the attachment as isc_db_handle, a plain unsigned int in Firebird 3.
    if (!handle.isValid() || (handle.metaType() != QMetaType::fromType<isc_db_handle>() &&
                              qstrcmp(handle.typeName(), "isc_db_handle") != 0))
        throw DatabaseError(QStringLiteral("O driver do Firebird não expõe a conexão."));
    return *static_cast<const isc_db_handle*>(handle.constData());
}

void SqlConnection::beginTransaction() {
    if (inTransaction_)
        throw DatabaseError(QStringLiteral("Já há uma transação aberta nesta conexão."));
    QSqlDatabase db = database();
    if (!db.transaction())
        throw DatabaseError::fromFirebird(db.lastError().databaseText(), 0,
                                          QStringLiteral("Não foi possível iniciar a transação."));
    inTransaction_ = true;
    ++transactionSerial_;
}

void SqlConnection::commit() {
    if (!inTransaction_)
        throw DatabaseError(QStringLiteral("Não há transação aberta para gravar."));
    QSqlDatabase db = database();
    if (!db.commit())
        throw DatabaseError::fromFirebird(db.lastError().databaseText(), 0,
                                          QStringLiteral("Não foi possível gravar as alterações."));
    inTransaction_ = false;
}

void SqlConnection::rollback() {
    if (!inTransaction_)
        throw DatabaseError(QStringLiteral("Não há transação aberta para desfazer."));
    // The transaction is over whatever the driver says: a failed rollback leaves nothing to retry.
    inTransaction_ = false;
    // A lost attachment took its transaction with it: the server undoes it. The driver is still
    // told, only so that it lets go of the dead handle, and what it answers does not matter.
    if (lost()) {
        QSqlDatabase::database(qtName_, false).rollback();
        return;
    }
    QSqlDatabase db = database();
    if (!db.rollback())
        throw DatabaseError::fromFirebird(
            db.lastError().databaseText(), 0,
            QStringLiteral("Não foi possível desfazer as alterações."));
}

SqlConnection::Transaction::Transaction(SqlConnection& connection) : connection_(connection) {
    connection_.beginTransaction();
    serial_ = connection_.transactionSerial_;
}

SqlConnection::Transaction::~Transaction() {
    // Only this object's transaction: after close() there is none, or a later one of its own.
    if (done_ || !connection_.inTransaction_ || connection_.transactionSerial_ != serial_)
        return;
    try {
        connection_.rollback();
    } catch (const DataError&) {
        // Nothing left to undo; a destructor must not throw.
    }
}

void SqlConnection::Transaction::commit() {
    if (done_)
        throw DatabaseError(QStringLiteral("Esta transação já foi encerrada."));
    if (!connection_.inTransaction_ || connection_.transactionSerial_ != serial_)
        throw DatabaseError(
            QStringLiteral("A conexão foi fechada durante a gravação e nada foi gravado."));
    connection_.commit();
    done_ = true;
}

} // namespace data
