#pragma once
// The printed trail of changes: one block per change, its old values above its new ones.
#include "platform/report/report.h"
#include "stock/change_history.h"

class QWidget;

class ChangeHistoryReport : private report::RowSource {
public:
    ChangeHistoryReport(const std::vector<ChangeHistoryRow>& rows,
                        const ChangeHistoryFilter& filter);

    void preview(QWidget* parent); // preview, print and PDF
    report::Report& layout() { return report_; }

    // "Quantidade: 4   |   Data: 01/12/2026": the values a change moved (every value a deletion
    // took), as they were before or after it.
    static QString comparedText(const ChangeHistoryRow& row, bool after);

private:
    int rowCount() const override { return int(rows_.size()); }
    void moveTo(int row) override { current_ = row; }
    const ChangeHistoryRow& row() const { return rows_[size_t(current_)]; }

    const std::vector<ChangeHistoryRow>& rows_;
    int current_ = 0;
    report::Report report_;
};
