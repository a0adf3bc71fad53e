#pragma once
// Reference ("golden") files kept beside the tests: what a report drew, one line per band. A test
// compares its lines with the file; run with QUIRU_UPDATE_GOLDEN=1 to write the files afresh
// when a change is intended, then read the difference before committing it.
#include <QStringList>

namespace testing_support {

// path is relative to the tests folder, e.g. "reports/golden/movement_empty.txt".
void expectGolden(const QStringList& lines, const QString& path);

} // namespace testing_support
