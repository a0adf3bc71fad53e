#pragma once
// The preview grid's rows: every row of the sheet as it will be stored, its line, what happens
// to it and why; a refused cell shows what the sheet holds and says why in its tip, a changed
// one what the record held. Shows all rows or those of one outcome.
#include "imports/import_plan.h"
#include <QAbstractTableModel>
#include <optional>

namespace imports {

class PreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Both must outlive the model's use of them (the window keeps them).
    void setPlan(const ImportPlan* plan, const spreadsheet::Sheet* sheet);
    void showOnly(std::optional<RowStatus> status); // nullopt: every row

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void rebuild();
    QString cellText(const PlannedRow& row, int planField) const;
    QString cellTip(const PlannedRow& row, int planField) const;

    const ImportPlan* plan_ = nullptr;
    const spreadsheet::Sheet* sheet_ = nullptr;
    std::optional<RowStatus> only_;
    std::vector<int> rows_; // the plan's rows shown
};

} // namespace imports
