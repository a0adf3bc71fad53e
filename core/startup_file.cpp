#include "core/startup_file.h"
#include <QFile>

namespace startup {
namespace {
QString filePath(const QString& programFolder) {
    return programFolder + QStringLiteral("ConfiguracoesQUIRU.txt");
}
QString defaultDatabase(const QString& programFolder) {
    return programFolder + QStringLiteral("QUIRU.GDB");
}
} // namespace

QString firstLine(const QString& programFolder) {
    QFile file(filePath(programFolder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString line = QString::fromUtf8(file.readLine());
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return line;
}

QString mainDatabasePath(const QString& programFolder) {
    const QString line = firstLine(programFolder);
    return line.isEmpty() ? defaultDatabase(programFolder) : line;
}

bool writeDefaultWhenEmpty(const QString& programFolder) {
    if (!firstLine(programFolder).isEmpty())
        return true;
    QFile file(filePath(programFolder));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(defaultDatabase(programFolder).toUtf8()) >= 0;
}

} // namespace startup
