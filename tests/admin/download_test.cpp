// The download component and the update command, against an HTTP server of the test's own on
// 127.0.0.1.
#include "admin/download_file.h"
#include "admin/update_check.h"
#include "core/globals.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {

// Serves one file at /Quiru/Versao.txt, or "not found" when it has none; a slow server sends a
// long body a little at a time, so a download can be cancelled halfway.
class LocalServer : public QObject {
public:
    QByteArray versionFile;
    bool slow = false;

    LocalServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

private:
    void answer(QTcpSocket* socket) {
        request_[socket] += socket->readAll();
        if (!request_[socket].contains("\r\n\r\n"))
            return;
        const bool known = request_[socket].startsWith("GET /Quiru/Versao.txt ");
        if (slow) {
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 50000000\r\n\r\n");
            auto* drip = new QTimer(socket);
            connect(drip, &QTimer::timeout, socket,
                    [socket] { socket->write(QByteArray(1000, 'x')); });
            drip->start(10);
            return;
        }
        if (!known || versionFile.isNull()) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\n"
                          "not found");
        } else {
            socket->write(
                "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(versionFile.size()) +
                "\r\nConnection: close\r\n\r\n" + versionFile);
        }
        socket->disconnectFromHost();
    }
    QTcpServer server_;
    std::map<QTcpSocket*, QByteArray> request_;
};

// A port nobody listens on.
QString unreachable() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

class Download : public testing_support::DataModuleTest {
protected:
    void SetUp() override {
        DataModuleTest::SetUp();
        dialogs.setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
        download.OnError = [this](QObject*, ErrorCode code, const QString& msg) {
            errors << QStringLiteral("%1 %2").arg(int(code)).arg(msg);
        };
        download.OnFinish = [this](QObject*, bool canceled) { finishes << canceled; };
    }
    void TearDown() override {
        qunsetenv("QUIRU_UPDATE_URL");
        DataModuleTest::TearDown();
    }
    bool waitUntilIdle() {
        return QTest::qWaitFor([&] { return !download.busy(); }, 30000);
    }
    QString version() { return scalar("select VERSAO from TVERSAO").toString(); }
    void check(const QString& base) {
        qputenv("QUIRU_UPDATE_URL", base.toUtf8());
        checkForUpdate(nullptr, download);
    }
    // An updater that leaves a mark when it runs.
    void placeUpdater() {
        const QString path = folder->file("Atualizacao_Quiru");
        QFile script(path);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\ntouch \"$(dirname \"$0\")/atualizador-rodou\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }

    testing_support::ScriptedDialogs dialogs;
    TDownloadFile download;
    LocalServer server;
    QStringList errors;
    QList<bool> finishes;
};

TEST_F(Download, RefusedRequestsGiveTheirCodes) {
    download.UrlToDownload = server.base() + "/Quiru/Versao.txt";
    download.StartDownload();  // no file name
    download.CancelDownload(); // nothing running
    EXPECT_EQ(errors,
              (QStringList{"3 A URL de origem e/ou o local de destino não foi especificado.",
                           "2 Nenhum download está ativo!"}));
    EXPECT_FALSE(download.busy());

    server.slow = true;
    download.FileName = folder->file("grande.bin");
    download.StartDownload();
    download.StartDownload();
    EXPECT_EQ(errors.value(2), "1 O aplicativo está ocupado!");
    download.CancelDownload();
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(finishes, QList<bool>{true}) << "a cancelled download ends as cancelled";
    EXPECT_FALSE(QFile::exists(download.FileName)) << "half a file is no answer";
}

TEST_F(Download, AFailedTransferStillEndsAndLeavesNoFile) {
    for (const QString& url : {unreachable() + "/Quiru/Versao.txt", server.base() + "/nada"}) {
        finishes.clear();
        download.UrlToDownload = url;
        download.FileName = folder->file("Versao.txt");
        download.StartDownload();
        ASSERT_TRUE(waitUntilIdle()) << url.toStdString();
        EXPECT_EQ(finishes, QList<bool>{false});
        EXPECT_FALSE(QFile::exists(download.FileName));
    }
}

TEST_F(Download, UpdateCommandComparesAndStartsTheUpdater) {
    server.versionFile = "1.0.0\n";
    check(server.base());
    EXPECT_EQ(dialogs.messages(), QStringList{"O programa Quiru já está atualizado!"});

    // Newer: the updater runs, the version is recorded, and the next check finds it current.
    dialogs.clear();
    placeUpdater();
    server.versionFile = "2.0\r\n";
    check(server.base());
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(version(), "2.0");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QFile::exists(folder->file("atualizador-rodou")); }, 10000));
    check(server.base());
    EXPECT_EQ(dialogs.messages(), QStringList{"O programa Quiru já está atualizado!"});

    // The comparison is exact: a trailing blank is another version.
    dialogs.clear();
    QFile::remove(folder->file("Atualizacao_Quiru"));
    server.versionFile = "2.0 \n";
    check(server.base());
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].startsWith("Não foi possível iniciar o atualizador"));
    EXPECT_EQ(version(), "2.0") << "a version never installed is not recorded";
}

TEST_F(Download, NoVersionFileIsToldEvenWhenAnOldOneLies) {
    const QString told = QStringLiteral("Arquivo de Leitura não Baixado, cheque a Conexão com a "
                                        "Internet ou o Antí-Vírus/Firewall!");
    QFile old(folder->file("Versao.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("1.0.0\n"); // an earlier check's answer
    old.close();
    check(server.base()); // the server has no such file
    check(unreachable());
    EXPECT_EQ(dialogs.messages(), (QStringList{told, told}));
    EXPECT_EQ(version(), "1.0.0");
}

} // namespace
