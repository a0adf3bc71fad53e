#pragma once
// A Firebird 3 server of the test's own: a child process on a free loopback port, with its own
// configuration, lock and temporary folders and security database (SYSDBA with the program's
// password). It is always stopped and its folders removed when the object goes.
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

namespace testing_support {

class PrivateServer {
public:
    PrivateServer();  // starts the server; throws std::runtime_error when it cannot
    ~PrivateServer(); // stops it
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    int port() const { return port_; }
    // The path a client gives to reach a local database file through this server.
    QString remotePath(const QString& file) const;

    void start(); // again on the same port and files, after stop()
    void stop();  // SIGTERM, SIGKILL after a second, then waits for it

private:
    void writeConfiguration() const;
    void makeSecurityDatabase() const;
    QProcessEnvironment environment() const;
    bool launch();
    bool listening() const;

    QTemporaryDir dir_;
    QString conf_;
    int port_ = 0;
    std::unique_ptr<QProcess> process_;
};

} // namespace testing_support
