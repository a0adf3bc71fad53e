#include "app/app_setup.h"
#include "platform/data/sql_connection.h"
#include "platform/ui/translations.h"
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLocale>
#include <QPalette>

void setUpApplication(QApplication& app) {
    Q_INIT_RESOURCE(app); // the pictures live in a static library
    // No display name: Qt would append it to every caption (" — Quiru").
    app.setApplicationName(QStringLiteral("Quiru"));
    // Brazilian Portuguese whatever the machine's locale: month names, Qt's own dialogs.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    ui::installPortugueseTranslations(app);
    // The windows were laid out for Arial at 8 points; Liberation Sans has Arial's metrics and
    // is installed with the program, so the designed sizes hold on any desktop.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    app.setFont(font);
    // A browsed record's fields are disabled but must stay readable, and look alike in every
    // window: dark text on one light grey.
    QPalette palette = app.palette();
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     palette.color(QPalette::Active, QPalette::Text));
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(0xf0, 0xf0, 0xf0));
    app.setPalette(palette);
    // Outside a desktop session Qt picks no icon theme; the installed one has every icon we use.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    data::SqlConnection::prepareEngineEnvironment();
}
