#include "platform/os/os.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThread>
#include <stdexcept>

namespace os {

QString programFolder() {
    return QDir(QCoreApplication::applicationDirPath()).absolutePath() + '/';
}

bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

bool folderExists(const QString& path) {
    return QFileInfo(path).isDir();
}

namespace {
[[noreturn]] void fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}
} // namespace

void copyFile(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                 .arg(source, in.errorString()));
    // QSaveFile writes beside the target and renames only on commit.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        fail(
            QStringLiteral("Não foi possível gravar em \"%1\": %2").arg(target, out.errorString()));
    char buffer[1 << 16];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 || out.write(buffer, n) != n) {
            const QString why = n < 0 ? in.errorString() : out.errorString();
            out.cancelWriting();
            fail(QStringLiteral("A cópia de \"%1\" para \"%2\" falhou: %3")
                     .arg(source, target, why));
        }
    }
    if (!out.commit())
        fail(QStringLiteral("A cópia de \"%1\" para \"%2\" falhou: %3")
                 .arg(source, target, out.errorString()));
}

bool startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

bool startWatched(const QString& program, const QStringList& arguments, int watchMs) {
    // A detached program's exit status is lost to us: a shell around it writes it into a folder
    // of ours, if the folder is still there when the program ends.
    QTemporaryDir folder;
    if (!folder.isValid())
        return startDetached(program, arguments);
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments(
        QStringList{
            QStringLiteral("-c"),
            // Builtins only: the program's PATH may hold nothing else.
            QStringLiteral("\"$0\" \"$@\"; s=$?; if [ -d \"$QUIRU_WATCH\" ]; then echo $s > "
                           "\"$QUIRU_WATCH/s\"; fi"),
            program} +
        arguments);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUIRU_WATCH"), folder.path());
    process.setProcessEnvironment(environment);
    if (!process.startDetached())
        return false;
    QElapsedTimer watched;
    watched.start();
    while (watched.elapsed() < watchMs) {
        QFile status(folder.filePath(QStringLiteral("s")));
        if (status.open(QIODevice::ReadOnly)) {
            const QByteArray code = status.readAll().trimmed();
            if (!code.isEmpty()) // else caught half written
                return code == "0";
        }
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(20);
    }
    return true; // still running, as a spreadsheet program does
}

} // namespace os
