#include "tests/support/private_server.h"
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTcpServer>
#include <QThread>
#include <signal.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <unistd.h>

namespace testing_support {
namespace {

constexpr const char* kSystemConf = "/etc/firebird/3.0";
constexpr const char* kSystemIntl = "/usr/lib/x86_64-linux-gnu/firebird/3.0/intl";

[[noreturn]] void fail(const QString& what) {
    throw std::runtime_error(("private Firebird server: " + what).toStdString());
}

// A port nobody listens on right now. The server may still lose it to someone else before it
// binds; then another one is tried.
int freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        fail("no free loopback port");
    return probe.serverPort();
}

// The inodes of the sockets listening on 127.0.0.1:port, whoever owns them.
QSet<QString> listeningSockets(int port) {
    QSet<QString> inodes;
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return inodes;
    const QString local = QStringLiteral("0100007F:%1").arg(port, 4, 16, QChar('0')).toUpper();
    table.readLine(); // the column titles
    while (!table.atEnd()) {
        const QStringList columns =
            QString::fromLatin1(table.readLine()).split(' ', Qt::SkipEmptyParts);
        if (columns.size() > 9 && columns[1] == local && columns[3] == QLatin1String("0A"))
            inodes.insert(columns[9]);
    }
    return inodes;
}

} // namespace

PrivateServer::PrivateServer() {
    if (!dir_.isValid())
        fail("no temporary folder");
    conf_ = dir_.path() + "/conf";
    for (const char* sub : {"conf", "lock", "tmp"})
        QDir().mkpath(dir_.path() + '/' + sub);
    if (!QFile::copy(QString(kSystemConf) + "/plugins.conf", conf_ + "/plugins.conf") ||
        !QFile::link(kSystemIntl, conf_ + "/intl"))
        fail("cannot prepare the configuration folder");
    for (int attempt = 0; attempt < 5; ++attempt) {
        port_ = freePort();
        writeConfiguration();
        if (attempt == 0)
            makeSecurityDatabase();
        if (launch())
            return;
    }
    fail("the server never listened; its log:\n" + [&] {
        QFile log(conf_ + "/firebird.log");
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll().right(2000))
                                             : QString();
    }());
}

PrivateServer::~PrivateServer() {
    stop();
}

QString PrivateServer::remotePath(const QString& file) const {
    // The address itself: a fresh system root may have no /etc/hosts to name "localhost".
    return QStringLiteral("127.0.0.1/%1:%2").arg(port_).arg(file);
}

void PrivateServer::writeConfiguration() const {
    QFile conf(conf_ + "/firebird.conf");
    if (!conf.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail("cannot write firebird.conf");
    conf.write(QStringLiteral("RemoteServicePort = %1\n"
                              "RemoteBindAddress = 127.0.0.1\n"
                              "SecurityDatabase = %2/security3.fdb\n"
                              "ServerMode = Super\n")
                   .arg(port_)
                   .arg(conf_)
                   .toUtf8());
}

QProcessEnvironment PrivateServer::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FIREBIRD", conf_);
    env.insert("FIREBIRD_LOCK", dir_.path() + "/lock");
    env.insert("FIREBIRD_TMP", dir_.path() + "/tmp");
    return env;
}

void PrivateServer::makeSecurityDatabase() const {
    // isql-fb's embedded engine, reading the same configuration, makes the security database.
    QProcess isql;
    isql.setProcessEnvironment(environment());
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(QStringLiteral(QUIRU_ISQL), {"-q", "-user", "SYSDBA"});
    isql.write(QStringLiteral("create database '%1/security3.fdb';\n"
                              "create user SYSDBA password 'pelicanos';\ncommit;\n")
                   .arg(conf_)
                   .toUtf8());
    isql.closeWriteChannel();
    if (!isql.waitForFinished(60000) || isql.exitCode() != 0 ||
        !QFile::exists(conf_ + "/security3.fdb"))
        fail("isql-fb could not make the security database: " + QString::fromUtf8(isql.readAll()));
}

bool PrivateServer::listening() const {
    const QSet<QString> sockets = listeningSockets(port_);
    if (sockets.isEmpty())
        return false;
    // Ours, not another server's that took the port first.
    const QString fds = QStringLiteral("/proc/%1/fd/").arg(process_->processId());
    for (const QString& fd : QDir(fds).entryList(QDir::AllEntries | QDir::System)) {
        char target[64] = {};
        if (readlink(QFile::encodeName(fds + fd).constData(), target, sizeof target - 1) <= 0)
            continue;
        const QString name = QString::fromLatin1(target); // "socket:[inode]"
        if (name.startsWith(QLatin1String("socket:[")) &&
            sockets.contains(name.mid(8, name.size() - 9)))
            return true;
    }
    return false;
}

bool PrivateServer::launch() {
    process_ = std::make_unique<QProcess>();
    process_->setProcessEnvironment(environment());
    process_->setProcessChannelMode(QProcess::MergedChannels);
    // The server dies with the test, even when the test itself is killed.
    process_->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process_->start(QStringLiteral(QUIRU_FIREBIRD_SERVER), {});
    if (!process_->waitForStarted(10000))
        fail("cannot run " QUIRU_FIREBIRD_SERVER);
    // Ready once it listens; a server that lost the port to someone else ends at once.
    for (int i = 0; i < 500; ++i) {
        if (process_->state() != QProcess::Running) {
            process_.reset();
            return false;
        }
        if (listening())
            return true;
        QThread::msleep(20);
    }
    stop();
    return false;
}

void PrivateServer::start() {
    if (process_)
        return;
    if (!launch())
        fail(QStringLiteral("cannot listen again on port %1").arg(port_));
}

void PrivateServer::stop() {
    if (!process_)
        return;
    // Under load SIGTERM sometimes never ends the server.
    process_->terminate();
    if (!process_->waitForFinished(1000)) {
        process_->kill();
        process_->waitForFinished(-1);
    }
    process_.reset();
}

} // namespace testing_support
