#pragma once
// A temporary program folder with fresh databases copied from the templates built from db/,
// and the data module opened on it. Tests check what was stored with direct queries.
#include "core/data_module.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

class ProgramFolder {
public:
    ProgramFolder(); // copies QUIRU.GDB and CONFIG.GDB and an empty start-up file
    ~ProgramFolder();
    const QString& path() const { return path_; } // with trailing '/'
    QString file(const QString& name) const { return path_ + name; }
    void writeStartupFile(const QByteArray& content) const;

private:
    QTemporaryDir dir_;
    QString path_;
};

// Runs a statement or reads one value through its own connection-level query.
int exec(data::SqlConnection* connection, const QString& sql);
QVariant scalar(data::SqlConnection* connection, const QString& sql);

// The database engine's full check of a closed file (gfix -v -full): "" when it found nothing,
// else what it reported.
QString databaseCheck(const QString& path);

// A file's whole content ("" when it cannot be read), and a file written whole (the test fails
// when it cannot be).
QByteArray fileBytes(const QString& path);
void writeFile(const QString& path, const QByteArray& content);

class DataModuleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Closes and reopens the data module (e.g. after changing the start-up file).
    void reopen();
    int exec(const QString& sql) { return testing_support::exec(dm->SQLConnection1, sql); }
    QVariant scalar(const QString& sql) { return testing_support::scalar(dm->SQLConnection1, sql); }

    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<TDM> dm;
};

} // namespace testing_support
