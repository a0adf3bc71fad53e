#pragma once
// A small shop for the report tests: a company with a logo, two groups and subgroups, three
// suppliers and customers, two cost centres, five products (one without stock, one below zero)
// and movements in March 2024 (on both ends of the month), around it, and of a deleted product.
#include "platform/report/report.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include <QStringList>

class QComboBox;

namespace reports_test {

class ReportFixture : public testing_support::DataModuleTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Forty-five exits from 2 April 2024, one a day: enough for a second page.
    void addAprilExits();

    // What the report draws, every page, one line per band.
    static QStringList drawn(report::Report& report);
    // Compares with tests/reports/golden/<name>.txt; with QUIRU_REPORT_PDFS=<folder> it also
    // writes the report's PDF there, to be looked at.
    static void expectDrawn(report::Report& report, const QString& name);
    static void typeName(QComboBox* list, const QString& name);
    // Texts that would print over or against each other (closer than a narrow gap on the same
    // line), off the printable width, or numbers that would not print whole: one line each,
    // empty when every text of every page has its place.
    static QStringList crowded(report::Report& report);

    testing_support::ScriptedDialogs dialogs;
};

} // namespace reports_test
