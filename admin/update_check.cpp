#include "admin/update_check.h"
#include "admin/download_file.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/os/os.h"
#include "platform/ui/dialogs.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProgressDialog>

namespace {
const char kUpdateServer[] = "http://www.quiru.com.br";

// The first line as written, without its line end: a trailing blank is part of the version.
QString firstLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

// Waits for the download's end, showing how far it got; the dialog's button cancels it.
void downloadAndWait(QWidget* parent, TDownloadFile& download) {
    QEventLoop loop;
    bool ended = false;
    QProgressDialog progress(QStringLiteral("Baixando informações da atualização..."),
                             QStringLiteral("Cancelar"), 0, 0, parent);
    progress.setWindowTitle(QStringLiteral("Baixar Atualização"));
    progress.setMinimumDuration(500);
    QObject::connect(&progress, &QProgressDialog::canceled, &download, [&] {
        if (download.busy())
            download.CancelDownload();
    });
    download.OnProgress = [&](QObject*, quint32 received, quint32 expected) {
        progress.setMaximum(int(std::min<quint32>(expected, INT_MAX)));
        progress.setValue(int(std::min<quint32>(received, INT_MAX)));
    };
    download.OnFinish = [&](QObject*, bool) {
        ended = true;
        loop.quit();
    };
    download.StartDownload();
    if (download.busy() && !ended)
        loop.exec();
    download.OnProgress = nullptr;
    download.OnFinish = nullptr;
}
} // namespace

QString versionFileUrl() {
    const QString base = qEnvironmentVariableIsSet("QUIRU_UPDATE_URL")
                             ? qEnvironmentVariable("QUIRU_UPDATE_URL")
                             : QString::fromLatin1(kUpdateServer);
    return base + QStringLiteral("/Quiru/Versao.txt");
}

void checkForUpdate(QWidget* parent, TDownloadFile& download) {
    const QString versionFile = caminho_sistema + QStringLiteral("Versao.txt");
    QFile::remove(versionFile); // an old answer must not pass for today's
    download.UrlToDownload = versionFileUrl();
    download.FileName = versionFile;
    downloadAndWait(parent, download);
    if (!os::fileExists(versionFile)) {
        ui::dialogs().message(parent, QStringLiteral("Arquivo de Leitura não Baixado, cheque a "
                                                     "Conexão com a Internet ou o "
                                                     "Antí-Vírus/Firewall!"));
        return;
    }
    const QString newest = firstLine(versionFile);
    data::ClientDataSet* versions = DM->TBVERSAO;
    versions->open();
    if (newest == versions->field(QStringLiteral("VERSAO")).asString()) {
        ui::dialogs().message(parent, QStringLiteral("O programa Quiru já está atualizado!"));
        return;
    }
    if (newest.trimmed().isEmpty() || newest.size() > 10) {
        ui::dialogs().message(parent, QStringLiteral("O arquivo de versão baixado não traz um "
                                                     "número de versão válido. Tente mais "
                                                     "tarde."));
        return;
    }
    // The new version is recorded only once its updater runs: recorded without it, the update
    // would be hidden for ever.
    const QString updater = caminho_sistema + QStringLiteral("Atualizacao_Quiru");
    if (!os::startDetached(updater)) {
        ui::dialogs().message(parent, QStringLiteral("Não foi possível iniciar o atualizador "
                                                     "\"%1\". O programa continua na versão "
                                                     "instalada.")
                                          .arg(updater));
        return;
    }
    QCoreApplication::quit(); // takes effect once this command is over
    versions->edit();
    versions->postAndApply([&] { versions->field(QStringLiteral("VERSAO")).setAsString(newest); });
}
