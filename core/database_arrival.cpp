#include "core/database_arrival.h"
#include "core/startup_file.h"
#include "platform/data/database_file.h"
#include "platform/data/errors.h"
#include "platform/os/os.h"
#include "platform/ui/dialogs.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

const QString kAtencao = QStringLiteral("Atenção");

void settleWindowsLocation(const QString& programFolder, QWidget* parent) {
    const QString named = startup::firstLine(programFolder);
    if (!startup::isWindowsLocation(named))
        return;
    const QString beside = startup::defaultDatabase(programFolder);
    const QString told =
        QStringLiteral("O arquivo de configuração ConfiguracoesQUIRU.txt indica o banco de dados "
                       "em \"%1\", um local do Windows, que não existe neste computador.")
            .arg(named);
    if (os::fileExists(beside)) {
        if (ui::dialogs().question(
                parent, kAtencao,
                told + QStringLiteral("\n\nHá um banco de dados QUIRU.GDB na pasta do programa "
                                      "(%1). Deseja usá-lo? O arquivo de configuração passará a "
                                      "indicá-lo.")
                           .arg(QDir::toNativeSeparators(programFolder)))) {
            if (!startup::rewriteFirstLine(programFolder, beside))
                throw data::DatabaseError(
                    QStringLiteral("Não foi possível gravar o arquivo de configuração "
                                   "ConfiguracoesQUIRU.txt na pasta do programa."));
            return;
        }
    }
    throw data::DatabaseError(
        told + QStringLiteral(" Escreva na primeira linha desse arquivo o caminho do banco de "
                              "dados neste computador, ou coloque o QUIRU.GDB na pasta do "
                              "programa e deixe a linha vazia."));
}

// Where the backup is kept: beside the database, under a name no file has yet.
QString keptBackupName(const QString& database) {
    QString name = database + QStringLiteral(".fbk");
    for (int copy = 2; QFile::exists(name); ++copy)
        name = database + QStringLiteral(".%1.fbk").arg(copy);
    return name;
}

void settleBackupInPlace(const QString& programFolder, QWidget* parent) {
    const QString path = startup::mainDatabasePath(programFolder);
    if (data::inspectDatabaseFile(path).kind != data::DatabaseFileKind::GbakBackup)
        return;
    const QString kept = keptBackupName(path);
    const QString told = QStringLiteral("O arquivo \"%1\" é uma cópia de segurança do Firebird "
                                        "(feita pelo gbak), não um banco de dados.")
                             .arg(path);
    if (!ui::dialogs().question(parent, kAtencao,
                                told + QStringLiteral("\n\nDeseja restaurá-la neste mesmo lugar? "
                                                      "A cópia de segurança será guardada como "
                                                      "\"%1\".")
                                           .arg(kept)))
        throw data::DatabaseError(told + QStringLiteral(" Restaure-a para abrir o programa."));
    if (!QFile::rename(path, kept))
        throw data::DatabaseError(told + QStringLiteral(" Não foi possível renomeá-la para "
                                                        "\"%1\"; nada foi alterado.")
                                             .arg(kept));
    const startup::Login login =
        startup::mainDatabaseLogin(programFolder).value_or(startup::programLogin());
    try {
        data::restoreGbak(kept, path, login.user, login.password, [] {
            QCoreApplication::processEvents();
            return true;
        });
    } catch (...) {
        QFile::rename(kept, path); // as it was found
        throw;
    }
}

} // namespace

void settleMainDatabase(const QString& programFolder, QWidget* parent) {
    settleWindowsLocation(programFolder, parent);
    settleBackupInPlace(programFolder, parent);
}
