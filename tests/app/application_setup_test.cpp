// The program's set-up, whatever the machine: Brazilian locale and Qt's own texts in Portuguese,
// the windows' font, and captions left as the program writes them.
#include <QApplication>
#include <QDate>
#include <QFontInfo>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

TEST(ApplicationSetUp, BrazilianPortugueseAndTheDesignedFontOnAnyMachine) {
    EXPECT_EQ(QLocale().name(), "pt_BR");
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 10), QStringLiteral("d MMM")), "10 dez.");
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), "Pasta");
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Arial"))).family(), "Liberation Sans");
    // Qt appends a display name to every caption when one is set.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
}

} // namespace
