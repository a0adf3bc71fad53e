#pragma once
// One database connection: the parameter list (Database, User_name, Password, SQLDialect), a
// connection name, open and close. Statements run on it through SqlQuery and ClientDataSet.
#include <QObject>
#include <QSqlDatabase>
#include <QStringList>

namespace data {

class SqlConnection : public QObject {
    Q_OBJECT
public:
    explicit SqlConnection(QObject* parent = nullptr);
    ~SqlConnection() override;

    // "Name=Value" lines, as the data module sets them.
    QStringList& params() { return params_; }
    QString param(const QString& name) const;
    QString connectionName() const { return connectionName_; }
    void setConnectionName(const QString& name) { connectionName_ = name; }

    // Opens with the parameters; throws DatabaseError naming the file when it cannot.
    void open();
    void close();
    // Open, and not known to be lost.
    bool connected() const;

    // The Qt connection, for statements; and the fbclient attachment, for fast bulk reads.
    // After a lost connection (the server restarted, the network fell) the first of them,
    // outside a transaction, reconnects once with the same parameters instead of failing for
    // ever on a dead attachment; when that fails it throws the lost-connection error, and the
    // next command tries again.
    QSqlDatabase database();
    unsigned int nativeHandle(); // isc_db_handle

    // One plain transaction at a time: statements run inside it from begin to commit or
    // rollback. Beginning a second one, or committing or rolling back when none is open, throws
    // DatabaseError; close() rolls back an open one.
    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return inTransaction_; }

    // Begins on construction; rolls back on destruction unless committed.
    class Transaction {
    public:
        explicit Transaction(SqlConnection& connection);
        ~Transaction();
        void commit();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;

    private:
        SqlConnection& connection_;
        quint64 serial_; // which transaction of the connection this one is
        bool done_ = false;
    };

    // Points the embedded engine's lock folder at one of the current user's, unless FIREBIRD_LOCK
    // is set, so any user can run the program. Called before the first attachment.
    static void prepareEngineEnvironment();

signals:
    void afterConnect();
    void beforeDisconnect();

private:
    bool attached() const;
    bool lost() const;
    void reconnect();

    QStringList params_;
    QString connectionName_;
    QString qtName_; // unique per object: tests open several modules in one process
    bool inTransaction_ = false;
    quint64 transactionSerial_ = 0; // counts begun transactions
    bool remote_ = false;           // the database is reached through a server
    quint64 lostSeen_ = 0;          // DatabaseError::connectionsLost() when last opened or closed
};

} // namespace data
