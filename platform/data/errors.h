#pragma once
// Errors thrown by the data layer. Every message is a sentence the user can read; the database's
// own text, where there is one, is kept as detail.
#include <QString>
#include <exception>

namespace data {

class DataError : public std::exception {
public:
    explicit DataError(QString message, QString detail = {});
    const QString& message() const { return message_; }
    const QString& detail() const { return detail_; }
    // Message and detail together, as an error box shows them.
    QString fullText() const;
    const char* what() const noexcept override { return what_.constData(); }

private:
    QString message_;
    QString detail_;
    QByteArray what_;
};

// The database refused or failed: cannot open, a statement failed, a change matched no row.
class DatabaseError : public DataError {
public:
    DatabaseError(QString message, QString detail = {}, int sqlCode = 0);
    int sqlCode() const { return sqlCode_; }
    // What the user is told when the server went away under the connection (restarted, network
    // down), whatever the command was doing.
    static QString connectionLostMessage();
    // How many lost connections the engine has reported in this process, wherever the error was
    // met (a statement, a bulk read): a connection compares it to tell that it must reconnect.
    static quint64 connectionsLost();

    // Turns Firebird's text (truncation, duplicate key, lock conflict, file not found...) into a
    // Portuguese sentence, keeping the original as detail.
    static DatabaseError fromFirebird(const QString& firebirdText, int sqlCode = 0,
                                      const QString& context = {});

private:
    int sqlCode_ = 0;
};

// A change refused because the stored row is no longer the one it was made from: another station
// (another copy of the program on the same server) changed or deleted it in between.
class ConflictError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

// A value that does not fit its field: required and empty, out of range, too long, not a number
// or not a date. Raised before anything reaches the database.
class FieldError : public DataError {
public:
    using DataError::DataError;
};

} // namespace data
