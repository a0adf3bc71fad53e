#include "core/startup_file.h"
#include <QFile>
#include <QStringList>

namespace startup {
namespace {
QString filePath(const QString& programFolder) {
    return programFolder + QStringLiteral("ConfiguracoesQUIRU.txt");
}
QString defaultDatabase(const QString& programFolder) {
    return programFolder + QStringLiteral("QUIRU.GDB");
}

// The file's lines without their line ends; none when it is missing.
QStringList lines(const QString& programFolder) {
    QFile file(filePath(programFolder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList read;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        read << line;
    }
    return read;
}
} // namespace

QString firstLine(const QString& programFolder) {
    return lines(programFolder).value(0);
}

std::optional<Login> mainDatabaseLogin(const QString& programFolder) {
    const QStringList read = lines(programFolder);
    if (read.size() < 2 || read.at(1).trimmed().isEmpty())
        return std::nullopt;
    return Login{read.at(1).trimmed(), read.value(2)};
}

QString mainDatabasePath(const QString& programFolder) {
    const QString line = firstLine(programFolder);
    return line.isEmpty() ? defaultDatabase(programFolder) : line;
}

bool writeDefaultWhenEmpty(const QString& programFolder) {
    if (!firstLine(programFolder).isEmpty())
        return true;
    // The lines after the first (a database user) are kept.
    QStringList written = lines(programFolder);
    if (written.isEmpty())
        written << QString();
    written[0] = defaultDatabase(programFolder);
    QFile file(filePath(programFolder));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(written.join('\n').toUtf8()) >= 0;
}

} // namespace startup
