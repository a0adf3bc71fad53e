// Copies used by backup and restore: a failed copy must never leave half a file behind.
#include "platform/os/os.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(CopyFile, OverwritesTheTargetWhole) {
    QTemporaryDir dir;
    const QByteArray big(300000, 'x');
    writeAll(dir.filePath("a.gdb"), big);
    writeAll(dir.filePath("b.gdb"), "old and longer than nothing");
    os::copyFile(dir.filePath("a.gdb"), dir.filePath("b.gdb"));
    EXPECT_EQ(readAll(dir.filePath("b.gdb")), big);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no temporary file left";
}

TEST(CopyFile, FailureLeavesTheTargetAsItWas) {
    QTemporaryDir dir;
    writeAll(dir.filePath("b.gdb"), "keep me");
    EXPECT_THROW(os::copyFile(dir.filePath("missing.gdb"), dir.filePath("b.gdb")),
                 std::runtime_error);
    EXPECT_EQ(readAll(dir.filePath("b.gdb")), "keep me");
    writeAll(dir.filePath("a.gdb"), "data");
    EXPECT_THROW(os::copyFile(dir.filePath("a.gdb"), dir.filePath("no/such/folder/b.gdb")),
                 std::runtime_error);
}

} // namespace
