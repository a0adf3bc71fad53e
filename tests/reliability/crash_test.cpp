// The driver works the entry and exit windows while it is killed at random moments, inside a
// save, by an ending signal, on a full disk and on a read-only file. Each time every product's
// stock must still be its initial stock plus its entries minus its exits, every save the driver
// reported must be stored, and the database's own check must find the file sound.
#include "tests/reliability/shop.h"
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <cstdio>

using reliability::Shop;

namespace {

// Starts the driver and waits until it has stored its first save.
void startWorking(QProcess& driver, Shop& shop, QStringList arguments) {
    driver.start(QStringLiteral(QUIRU_RELIABILITY_DRIVER),
                 QStringList{QStringLiteral("work"), shop.folder()} + arguments);
    ASSERT_TRUE(driver.waitForStarted());
    while (!shop.read(driver).contains(QLatin1String("done ")))
        ASSERT_TRUE(driver.waitForReadyRead(30000)) << "the driver stored nothing";
}

TEST(Crash, RandomKillsLoseNothing) {
    Shop shop;
    const int asked = qEnvironmentVariableIntValue("QUIRU_CRASH_KILLS"); // more than CI's 20
    const int n = asked > 0 ? asked : 20;
    for (int i = 0; i < n; ++i) {
        QProcess driver;
        startWorking(driver, shop, {QString::number(i)});
        QThread::msleep(QRandomGenerator::global()->bounded(500));
        ::kill(pid_t(driver.processId()), SIGKILL);
        ASSERT_TRUE(driver.waitForFinished(30000));
        shop.read(driver);
        SCOPED_TRACE("kill " + std::to_string(i + 1));
        shop.expectWhole();
        if (testing::Test::HasFailure())
            break;
    }
    EXPECT_GT(shop.savesReported(), 20) << "the driver hardly worked";
    EXPECT_GT(shop.trailRows(), 0) << "no change or deletion was made";
    std::printf("[ reliability ] %d kills, %d saves reported, %d page-mark warnings, %d checks "
                "after a sweep\n",
                n, shop.savesReported(), shop.checkWarnings(), shop.sweeps());
}

TEST(Crash, KillInsideTheSaveTransactionStoresNeitherHalf) {
    Shop shop;
    QProcess driver;
    driver.start(QStringLiteral(QUIRU_RELIABILITY_DRIVER),
                 {QStringLiteral("work"), shop.folder(), QStringLiteral("1"),
                  QStringLiteral("--kill-inside-save")});
    ASSERT_TRUE(driver.waitForFinished(30000));
    EXPECT_EQ(driver.exitStatus(), QProcess::CrashExit) << "the hook never fired";
    // "Novo" stores its blank row at once; the quantity typed must not have reached it.
    EXPECT_EQ(shop.movedQuantity(), 0) << "the movement was stored without its stock";
    shop.expectWhole();
}

// The change of a stored movement, its stock and its trail row are one transaction: killed
// between the movement's statement and the product's, none of them is kept.
TEST(Crash, KillInsideAChangeKeepsNeitherTheChangeNorItsTrail) {
    Shop shop;
    QProcess driver;
    driver.start(QStringLiteral(QUIRU_RELIABILITY_DRIVER),
                 {QStringLiteral("work"), shop.folder(), QStringLiteral("5"),
                  QStringLiteral("--kill-inside-change")});
    ASSERT_TRUE(driver.waitForFinished(60000));
    EXPECT_EQ(driver.exitStatus(), QProcess::CrashExit) << "the hook never fired";
    const QStringList said = shop.read(driver).split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(said.isEmpty());
    EXPECT_TRUE(said.last().startsWith(QLatin1String("begin ")) &&
                said.last() != QLatin1String("begin 0"))
        << "killed outside a change: " << said.last().toStdString();
    EXPECT_EQ(shop.trailRows(), 0) << "a trail row outlived its change";
    shop.expectWhole(); // the stock rule: the change did not outlive its stock either
}

TEST(Crash, EndingSignalClosesTheDatabaseBetweenTwoSaves) {
    Shop shop;
    QProcess driver;
    startWorking(driver, shop, {QStringLiteral("7")});
    ::kill(pid_t(driver.processId()), SIGTERM);
    ASSERT_TRUE(driver.waitForFinished(30000));
    EXPECT_EQ(driver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(driver.exitCode(), 128 + SIGTERM);
    shop.read(driver);
    shop.expectWhole();
}

// The manual backup and the timer's, taken while the driver saves, each copy a whole database
// that keeps the stock rule; the program saves on after each.
TEST(BackupUnderWork, EveryCopyOpensAndKeepsTheStockRule) {
    Shop shop;
    QProcess driver;
    startWorking(driver, shop,
                 {QStringLiteral("3"), QStringLiteral("--backup-every"), QStringLiteral("15")});
    while (shop.backupsReported().size() < 4) {
        ASSERT_TRUE(driver.waitForReadyRead(30000)) << "no backup came";
        shop.read(driver);
    }
    const int savedBefore = shop.savesReported();
    while (shop.savesReported() < savedBefore + 10 && driver.waitForReadyRead(30000))
        shop.read(driver); // it saves on after the last copy
    ::kill(pid_t(driver.processId()), SIGKILL);
    ASSERT_TRUE(driver.waitForFinished(30000));
    shop.read(driver);
    for (const QString& backup : shop.backupsReported())
        reliability::expectWholeCopy(backup);
    shop.expectWhole();
}

// An import stores its sheet in one transaction: killed halfway, it leaves the database as it was
// before; run again to its end, it stores every row, the stock changes booked as movements.
TEST(Crash, KillDuringAnImportStoresNoneOfIt) {
    Shop shop;
    const QString sheet = shop.folder() + QStringLiteral("importacao.csv");
    {
        QFile out(sheet);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        QByteArray text = "Código;Descrição;Estoque\n";
        for (int code = 1; code <= 6; ++code) // each 50 now: an exit of 10 each
            text += QByteArray::number(code) + ";PRODUTO " + QByteArray::number(code) + ";40\n";
        for (int code = 7; code <= 3006; ++code)
            text += QByteArray::number(code) + ";IMPORTADO " + QByteArray::number(code) + ";5\n";
        out.write(text);
    }
    const QByteArray before = shop.fileBytes();
    auto run = [&](const QStringList& extra) {
        QProcess driver;
        driver.start(QStringLiteral(QUIRU_RELIABILITY_DRIVER),
                     QStringList{QStringLiteral("import"), shop.folder(), sheet} + extra);
        EXPECT_TRUE(driver.waitForFinished(120000));
        return std::pair{driver.exitStatus(), QString::fromUtf8(driver.readAllStandardOutput())};
    };
    const auto [killed, saidKilled] = run({QStringLiteral("--kill-at"), QStringLiteral("1500")});
    EXPECT_EQ(killed, QProcess::CrashExit) << saidKilled.toStdString();
    EXPECT_TRUE(saidKilled.contains(QLatin1String("begin import")));
    EXPECT_EQ(shop.movedQuantity(), 0) << "an adjustment of the killed import was kept";
    for (int code = 1; code <= 6; ++code)
        EXPECT_EQ(shop.stock(code), 50);
    EXPECT_EQ(shop.stock(7), 0) << "a product of the killed import was kept";
    shop.expectWhole();

    const auto [ended, said] = run({});
    EXPECT_EQ(ended, QProcess::NormalExit);
    EXPECT_TRUE(said.contains(QStringLiteral("Importação concluída: 3000 novos e 6 alterados.")))
        << said.toStdString();
    EXPECT_EQ(shop.stock(3006), 5);
    EXPECT_EQ(shop.movedQuantity(), 60);
    shop.expectWhole();
    EXPECT_NE(shop.fileBytes(), before);
}

// A file system of the test's own, inside a private mount namespace: a full one, and one that
// only reads. Where the machine allows no such namespace the cases say so and are skipped.
TEST(Faults, FullDiskAndReadOnlyFileAreToldAndLoseNothing) {
    if (!reliability::privateMountsAllowed())
        GTEST_SKIP() << "this machine allows no private mount namespace (unshare -rm)";
    Shop shop;
    const QByteArray untouched = shop.fileBytes();
    const QString readOnly = shop.onSmallDisk(QStringLiteral("read-only"), 1, QStringLiteral("5"));
    EXPECT_TRUE(readOnly.contains(QStringLiteral("só permite leitura"))) << readOnly.toStdString();
    EXPECT_EQ(shop.fileBytes(), untouched);

    const QString full = shop.onSmallDisk(QStringLiteral("full"), 1, QStringLiteral("5"));
    EXPECT_TRUE(full.contains(QStringLiteral("Não há espaço livre no disco do banco de dados.")))
        << full.toStdString();
    shop.adoptFile(QStringLiteral("after.GDB")); // the database as the full disk left it
    shop.expectWhole();
    EXPECT_EQ(shop.stock(1), 50) << "a refused entry moved the stock";
}

} // namespace
