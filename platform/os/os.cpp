#include "platform/os/os.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
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

} // namespace os
