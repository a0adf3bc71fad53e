#include "tests/support/program_folder.h"
#include "core/globals.h"
#include <QFile>
#include <QProcess>

namespace testing_support {

ProgramFolder::ProgramFolder() {
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder");
    path_ = dir_.path() + '/';
    for (const char* name : {"QUIRU.GDB", "CONFIG.GDB"}) {
        const QString from = QStringLiteral(QUIRU_TEMPLATE_DIR "/") + name;
        if (!QFile::copy(from, path_ + name))
            throw std::runtime_error(("cannot copy template " + from).toStdString());
        QFile(path_ + name).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    writeStartupFile({});
}

ProgramFolder::~ProgramFolder() = default;

void ProgramFolder::writeStartupFile(const QByteArray& content) const {
    QFile f(path_ + "ConfiguracoesQUIRU.txt");
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write start-up file");
    f.write(content);
}

int exec(data::SqlConnection* connection, const QString& sql) {
    data::SqlQuery query(connection);
    query.sql() << sql;
    return query.exec();
}

QVariant scalar(data::SqlConnection* connection, const QString& sql) {
    data::SqlQuery query(connection);
    query.sql() << sql;
    query.open();
    return query.value(0);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(content), content.size());
}

QString databaseCheck(const QString& path) {
    QProcess gfix;
    gfix.setProcessChannelMode(QProcess::MergedChannels);
    gfix.start(QStringLiteral("gfix"), {QStringLiteral("-v"), QStringLiteral("-full"),
                                        QStringLiteral("-user"), QStringLiteral("SYSDBA"), path});
    if (!gfix.waitForFinished(120000))
        return QStringLiteral("gfix did not end");
    const QString said = QString::fromUtf8(gfix.readAll()).trimmed();
    if (gfix.exitStatus() != QProcess::NormalExit || gfix.exitCode() != 0)
        return said.isEmpty() ? QStringLiteral("gfix failed") : said;
    return said;
}

void DataModuleTest::SetUp() {
    folder = std::make_unique<ProgramFolder>();
    caminho_sistema = folder->path();
    dm = std::make_unique<TDM>();
    DM = dm.get();
}

void DataModuleTest::TearDown() {
    DM = nullptr;
    dm.reset();
    folder.reset();
}

void DataModuleTest::reopen() {
    DM = nullptr;
    dm.reset();
    dm = std::make_unique<TDM>();
    DM = dm.get();
}

} // namespace testing_support
