#include "app/app_setup.h"
#include "platform/data/sql_connection.h"
#include "platform/ui/translations.h"
#include <QApplication>
#include <QIcon>

void setUpApplication(QApplication& app) {
    Q_INIT_RESOURCE(app); // the pictures live in a static library
    app.setApplicationName(QStringLiteral("Quiru"));
    app.setApplicationDisplayName(QStringLiteral("Quiru"));
    ui::installPortugueseTranslations(app);
    // Outside a desktop session Qt picks no icon theme; the installed one has every icon we use.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    data::SqlConnection::prepareEngineEnvironment();
}
