#include "platform/data/database_file.h"
#include "platform/data/errors.h"
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

namespace data {

DatabaseFileInfo inspectDatabaseFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {DatabaseFileKind::Missing};
    if (!file.open(QIODevice::ReadOnly))
        return {DatabaseFileKind::Other};
    const QByteArray head = file.read(32);
    if (head.size() < 20)
        return {DatabaseFileKind::Other};
    const auto* bytes = reinterpret_cast<const uchar*>(head.constData());
    // A database begins with its header page: page type 1, the page size, then the on-disk
    // structure's version with the engine's flag in its high bit.
    const quint16 pageSize = qFromLittleEndian<quint16>(bytes + 0x10);
    const quint16 ods = qFromLittleEndian<quint16>(bytes + 0x12);
    const bool knownSize =
        pageSize >= 1024 && pageSize <= 32768 && (pageSize & (pageSize - 1)) == 0;
    if (bytes[0] == 1 && knownSize && (ods & 0x8000) && (ods & 0x7FFF) >= 8 && (ods & 0x7FFF) <= 20)
        return {DatabaseFileKind::Database, ods & 0x7FFF};
    // A gbak backup begins with its own record: the backup format's attribute, four bytes long,
    // holding a small version number.
    const quint32 format = qFromLittleEndian<quint32>(bytes + 3);
    if (bytes[0] == 0 && bytes[1] == 2 && bytes[2] == 4 && format >= 1 && format <= 32)
        return {DatabaseFileKind::GbakBackup};
    return {DatabaseFileKind::Other};
}

void restoreGbak(const QString& backup, const QString& target, const QString& user,
                 const QString& password, const std::function<bool()>& progress) {
    const QString gbak = QStandardPaths::findExecutable(QStringLiteral("gbak"));
    if (gbak.isEmpty())
        throw DatabaseError(QStringLiteral("O programa gbak, que restaura cópias de segurança do "
                                           "Firebird, não está instalado neste computador."));
    QProcess restore;
    restore.setProcessChannelMode(QProcess::MergedChannels);
    restore.start(gbak, {QStringLiteral("-c"), QStringLiteral("-user"), user,
                         QStringLiteral("-password"), password, backup, target});
    bool stopped = false;
    while (!restore.waitForFinished(100)) {
        if (restore.state() == QProcess::NotRunning)
            break;
        if (progress && !progress()) {
            restore.kill();
            restore.waitForFinished(-1);
            stopped = true;
            break;
        }
    }
    const QString said = QString::fromLocal8Bit(restore.readAll()).trimmed();
    const bool ok = !stopped && restore.exitStatus() == QProcess::NormalExit &&
                    restore.exitCode() == 0 && restore.error() != QProcess::FailedToStart;
    if (ok)
        return;
    QFile::remove(target);
    if (stopped)
        throw DatabaseError(QStringLiteral("A restauração foi interrompida; nada foi gravado."));
    throw DatabaseError(
        QStringLiteral("Não foi possível restaurar a cópia de segurança \"%1\".").arg(backup),
        said.isEmpty() ? restore.errorString() : said);
}

} // namespace data
