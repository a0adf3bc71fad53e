#include "tests/support/golden_file.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace testing_support {

void expectGolden(const QStringList& lines, const QString& path) {
    const QString file = QStringLiteral(QUIRU_TEST_DATA_DIR) + '/' + path;
    const QString actual = lines.join('\n') + '\n';
    if (qEnvironmentVariableIntValue("QUIRU_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
        out.write(actual.toUtf8());
        return;
    }
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly))
        << "no reference file " << file.toStdString() << " (QUIRU_UPDATE_GOLDEN=1 writes it)";
    const QString expected = QString::fromUtf8(in.readAll());
    if (expected == actual)
        return;
    const QStringList want = expected.split('\n');
    const QStringList got = actual.split('\n');
    for (int i = 0; i < std::max(want.size(), got.size()); ++i) {
        const QString w = i < want.size() ? want[i] : QStringLiteral("<end>");
        const QString g = i < got.size() ? got[i] : QStringLiteral("<end>");
        if (w != g) {
            ADD_FAILURE() << path.toStdString() << " differs first at line " << i + 1
                          << "\n  expected: " << w.toStdString()
                          << "\n  drawn:    " << g.toStdString();
            return;
        }
    }
}

} // namespace testing_support
