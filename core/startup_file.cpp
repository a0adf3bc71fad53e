#include "core/startup_file.h"
#include "platform/data/text_encoding.h"
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace startup {
namespace {
QString filePath(const QString& programFolder) {
    return programFolder + QStringLiteral("ConfiguracoesQUIRU.txt");
}

struct Read {
    QStringList lines; // without their line ends
    QByteArray lineEnd = "\n";
    bool endsLast = false; // the last line has its line end too
};

// The file's lines; none when it is missing.
Read read(const QString& programFolder) {
    QFile file(filePath(programFolder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray content = file.readAll();
    if (content.startsWith("\xEF\xBB\xBF"))
        content.remove(0, 3);
    Read r;
    if (content.contains("\r\n"))
        r.lineEnd = "\r\n";
    for (QByteArray line : content.split('\n')) {
        while (line.endsWith('\r'))
            line.chop(1);
        r.lines << data::fromUtf8OrWindows1252(line);
    }
    r.endsLast = content.endsWith('\n');
    if (r.endsLast)
        r.lines.removeLast(); // the last line's end, not a line of its own
    return r;
}

QStringList lines(const QString& programFolder) {
    return read(programFolder).lines;
}

bool write(const QString& programFolder, const Read& r) {
    QFile file(filePath(programFolder));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray content = r.lines.join(QString::fromLatin1(r.lineEnd)).toUtf8();
    if (r.endsLast)
        content += r.lineEnd;
    return file.write(content) == content.size();
}
} // namespace

QString defaultDatabase(const QString& programFolder) {
    return programFolder + QStringLiteral("QUIRU.GDB");
}

bool isWindowsLocation(const QString& path) {
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
    const QString p = path.trimmed();
    return drive.match(p).hasMatch() || p.startsWith(QStringLiteral("\\\\"));
}

bool rewriteFirstLine(const QString& programFolder, const QString& path) {
    Read r = read(programFolder);
    if (r.lines.isEmpty())
        r.lines << QString();
    r.lines[0] = path;
    return write(programFolder, r);
}

QString firstLine(const QString& programFolder) {
    return lines(programFolder).value(0);
}

Login programLogin() {
    return {QStringLiteral("SYSDBA"), QStringLiteral("pelicanos")};
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
    // The lines after the first (a database user) are kept; the first run writes no line end.
    return rewriteFirstLine(programFolder, defaultDatabase(programFolder));
}

} // namespace startup
