#include "imports/preview_model.h"
#include "imports/cell_values.h"
#include <QColor>
#include <cmath>

namespace imports {

namespace {

enum Fixed { LineColumn, StatusColumn, ReasonColumn, FixedColumns };

QVariant statusColour(RowStatus status) {
    switch (status) {
    case RowStatus::New:
        return QColor(214, 240, 214);
    case RowStatus::Changed:
        return QColor(255, 243, 176);
    case RowStatus::Refused:
        return QColor(255, 205, 205);
    case RowStatus::Unchanged:
        break;
    }
    return {}; // the grid's own background
}

} // namespace

void PreviewModel::setPlan(const ImportPlan* plan, const spreadsheet::Sheet* sheet) {
    beginResetModel();
    plan_ = plan;
    sheet_ = sheet;
    rebuild();
    endResetModel();
}

void PreviewModel::showOnly(std::optional<RowStatus> status) {
    beginResetModel();
    only_ = status;
    rebuild();
    endResetModel();
}

void PreviewModel::rebuild() {
    rows_.clear();
    if (!plan_)
        return;
    for (std::size_t i = 0; i < plan_->rows.size(); ++i)
        if (!only_ || plan_->rows[i].status == *only_)
            rows_.push_back(int(i));
}

int PreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int PreviewModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || !plan_)
        return 0;
    return FixedColumns + int(plan_->fields.size());
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !plan_)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == LineColumn)
        return QStringLiteral("Linha");
    if (section == StatusColumn)
        return QStringLiteral("Situação");
    if (section == ReasonColumn)
        return QStringLiteral("Motivo da recusa");
    const int pf = section - FixedColumns;
    return plan_->target.fields[std::size_t(plan_->fields[std::size_t(pf)].field)].label;
}

QString PreviewModel::cellText(const PlannedRow& row, int pf) const {
    const PlanField& f = plan_->fields[std::size_t(pf)];
    if (!row.problem(pf).isEmpty())
        return sheet_->cell(row.sheetRow, f.column).displayText(); // what the sheet holds
    if (plan_->target.fields[std::size_t(f.field)].column == QLatin1String("CODIGO") &&
        row.status != RowStatus::Refused)
        return QString::number(row.code);
    return shownValue(row.values[std::size_t(pf)]);
}

QString PreviewModel::cellTip(const PlannedRow& row, int pf) const {
    if (const QString problem = row.problem(pf); !problem.isEmpty())
        return problem;
    const QVariant* before = row.valueBefore(pf);
    if (!before)
        return {};
    const TargetField& field =
        plan_->target.fields[std::size_t(plan_->fields[std::size_t(pf)].field)];
    QString tip = QStringLiteral("Antes: %1")
                      .arg(before->isNull() ? QStringLiteral("(vazio)") : shownValue(*before));
    if (field.column == QLatin1String("ESTOQUEATUAL") && plan_->target.what == Register::Products) {
        const double difference = row.values[std::size_t(pf)].toDouble() - before->toDouble();
        tip += QStringLiteral("\nLançado como %1 de %2 (ajuste por importação)")
                   .arg(difference > 0 ? QStringLiteral("entrada") : QStringLiteral("saída"),
                        shownValue(std::abs(difference)));
    } else if (field.kind == ValueKind::Reference) {
        tip = QStringLiteral("Antes: código %1")
                  .arg(before->isNull() ? QStringLiteral("(vazio)") : before->toString());
    }
    return tip;
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
    if (!plan_ || !index.isValid() || index.row() >= int(rows_.size()))
        return {};
    const PlannedRow& row = plan_->rows[std::size_t(rows_[std::size_t(index.row())])];
    const int column = index.column();
    const int pf = column - FixedColumns;
    switch (role) {
    case Qt::DisplayRole:
        if (column == LineColumn)
            return row.sheetRow + 1;
        if (column == StatusColumn)
            return statusText(row.status);
        return column == ReasonColumn ? row.reason : cellText(row, pf);
    case Qt::ToolTipRole:
        if (column < FixedColumns)
            return row.reason.isEmpty() ? QVariant() : QVariant(row.reason);
        return cellTip(row, pf);
    case Qt::BackgroundRole:
        if (column == StatusColumn)
            return statusColour(row.status);
        if (column >= FixedColumns) {
            if (!row.problem(pf).isEmpty())
                return statusColour(RowStatus::Refused);
            if (row.valueBefore(pf))
                return statusColour(RowStatus::Changed);
        }
        return {};
    default:
        return {};
    }
}

} // namespace imports
