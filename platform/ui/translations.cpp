#include "platform/ui/translations.h"
#include <QHash>
#include <QLibraryInfo>
#include <QTranslator>

namespace ui {
namespace {

// The file dialogs' type column, which Qt's Brazilian translation leaves in English.
class FileTypeNames final : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        static const QHash<QByteArray, QString> names = {{"Folder", QStringLiteral("Pasta")},
                                                         {"Drive", QStringLiteral("Unidade")},
                                                         {"File", QStringLiteral("Arquivo")},
                                                         {"%1 File", QStringLiteral("Arquivo %1")}};
        return names.value(QByteArray(source));
    }
};

} // namespace

bool installPortugueseTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_pt_BR"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    const bool installed = app.installTranslator(translator);
    app.installTranslator(new FileTypeNames(&app)); // searched first
    return installed;
}

} // namespace ui
