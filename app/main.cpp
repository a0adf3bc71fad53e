#include "app/data_module.h"
#include "app/globals.h"
#include "platform/data/errors.h"
#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Quiru"));
    caminho_sistema = QDir(QCoreApplication::applicationDirPath()).absolutePath() + '/';
    try {
        TDM dm;
        DM = &dm;
        std::printf("Bancos de dados abertos.\n");
        DM = nullptr;
        return 0;
    } catch (const data::DataError& e) {
        std::fprintf(stderr, "%s\n", e.fullText().toUtf8().constData());
        return 1;
    }
}
