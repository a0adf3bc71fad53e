#include "imports/import_plan.h"
#include "imports/cell_values.h"
#include "imports/stored_rows.h"
#include <QHash>
#include <algorithm>
#include <optional>

namespace imports {

namespace {

QString rowNumber(int sheetRow) {
    return QString::number(sheetRow + 1);
}

// Works out one sheet's plan; the state of the rows seen so far lives here.
class Planner {
public:
    Planner(ImportPlan& plan, const PlanOptions& options, data::SqlConnection& connection)
        : plan_(plan), t_(plan.target), stored_(readStored(plan.target, options, connection)) {
        for (const QString& key : t_.keyColumns)
            if (options.keyColumns.contains(key) && plan_.planFieldOf(key) >= 0)
                keys_.push_back(plan_.planFieldOf(key));
        for (const QString& column : t_.uniqueColumns)
            if (plan_.planFieldOf(column) >= 0)
                unique_.push_back(plan_.planFieldOf(column));
        if (anyReference())
            references_.emplace(connection);
    }

    PlannedRow plan(const spreadsheet::Sheet& sheet, int sheetRow) {
        PlannedRow row;
        row.sheetRow = sheetRow;
        const std::size_t n = plan_.fields.size();
        row.values.resize(n);
        row.references.resize(n);
        for (std::size_t pf = 0; pf < n; ++pf) {
            const PlanField& f = plan_.fields[pf];
            CellValue v = convertCell(sheet.cell(sheetRow, f.column), field(int(pf)));
            row.values[pf] = std::move(v.value);
            if (!v.problem.isEmpty())
                row.problems.emplace_back(int(pf), std::move(v.problem));
        }
        QStringList reasons;
        const int match = row.problems.empty() ? check(row, reasons) : -1;
        if (!row.problems.empty() || !reasons.isEmpty()) {
            QStringList all;
            for (const auto& [pf, problem] : row.problems)
                all << field(pf).label + ": " + problem;
            row.reason = (all + reasons).join(QStringLiteral("; "));
            row.status = RowStatus::Refused;
            return row;
        }
        accept(row, match);
        return row;
    }

    // Codes for the new rows that bring none: after every code stored or brought.
    void numberNewRows() {
        int next = stored_.maxCode();
        for (const PlannedRow& row : plan_.rows)
            if (row.status == RowStatus::New)
                next = std::max(next, row.code);
        for (PlannedRow& row : plan_.rows)
            if (row.status == RowStatus::New && row.code == 0)
                row.code = ++next;
        if (references_) {
            plan_.toCreate = references_->toCreate();
            // Listed groups first, then subgroups, then suppliers.
            for (const auto kind : {NewReference::Kind::Group, NewReference::Kind::Subgroup,
                                    NewReference::Kind::Supplier})
                for (const NewReference& r : plan_.toCreate)
                    if (r.kind == kind)
                        plan_.toCreateText << references_->describe(r);
        }
    }

private:
    static StoredRows readStored(const Target& target, const PlanOptions& options,
                                 data::SqlConnection& connection) {
        QStringList columns, indexed;
        for (const QString& column : options.mapping)
            if (!column.isEmpty() && column != QLatin1String("CODIGO") && !columns.contains(column))
                columns << column;
        // A subgroup is looked for in the group of the product the row changes.
        if (columns.contains(QLatin1String("SUBGRUPO")) &&
            !columns.contains(QLatin1String("GRUPO")))
            columns << QStringLiteral("GRUPO");
        for (const QString& column : target.keyColumns + target.uniqueColumns)
            if (column != QLatin1String("CODIGO") && columns.contains(column))
                indexed << column;
        indexed.removeDuplicates();
        return StoredRows(connection, target.table, columns, indexed);
    }

    const TargetField& field(int pf) const {
        return t_.fields[std::size_t(plan_.fields[std::size_t(pf)].field)];
    }
    const QString& column(int pf) const { return field(pf).column; }
    bool isUnique(int pf) const {
        return std::find(unique_.begin(), unique_.end(), pf) != unique_.end();
    }

    bool anyReference() const {
        for (std::size_t pf = 0; pf < plan_.fields.size(); ++pf)
            if (field(int(pf)).kind == ValueKind::Reference)
                return true;
        return false;
    }

    // The stored rows holding a value of the column.
    QList<int> storedWith(int pf, const QVariant& value) const {
        if (column(pf) == QLatin1String("CODIGO")) {
            const int found = stored_.findCode(value.toInt());
            return found < 0 ? QList<int>() : QList<int>{found};
        }
        return stored_.findText(column(pf), value.toString());
    }

    QString seenKey(int pf, const QVariant& value) const {
        return column(pf) + QChar(0x1F) + value.toString();
    }

    // The stored row the row changes (-1: a new one); what refuses it goes into reasons.
    int check(const PlannedRow& row, QStringList& reasons) const {
        int match = -1;
        int matchedBy = -1;
        for (const int pf : keys_) {
            const QVariant& v = row.values[std::size_t(pf)];
            if (v.isNull())
                continue;
            const QList<int> found = storedWith(pf, v);
            if (found.size() > 1) {
                std::vector<int> codes;
                for (int s : found)
                    codes.push_back(stored_.code(s));
                std::sort(codes.begin(), codes.end());
                QStringList listed;
                for (int code : codes)
                    listed << QString::number(code);
                reasons << QStringLiteral("%1 igual à de %2 registros cadastrados (códigos %3); "
                                          "escolha outra chave")
                               .arg(field(pf).label)
                               .arg(found.size())
                               .arg(listed.join(QStringLiteral(", ")));
                return -1;
            }
            if (found.size() == 1) {
                match = found.front();
                matchedBy = pf;
                break;
            }
        }
        const int codeField = plan_.planFieldOf(QStringLiteral("CODIGO"));
        if (match >= 0) {
            const QVariant& code = codeField >= 0 ? row.values[std::size_t(codeField)] : QVariant();
            if (!code.isNull() && code.toInt() != stored_.code(match))
                reasons << QStringLiteral("o código %1 não é o do registro encontrado pela chave "
                                          "%2 (código %3)")
                               .arg(code.toInt())
                               .arg(field(matchedBy).label)
                               .arg(stored_.code(match));
            // Said alone: what else the row repeats of that line follows from it.
            if (const auto earlier = claimed_.constFind(match); earlier != claimed_.cend()) {
                reasons = QStringList{
                    QStringLiteral("é o mesmo registro da linha %1").arg(rowNumber(*earlier))};
                return match;
            }
        } else {
            const int name = plan_.planFieldOf(t_.nameColumn);
            if (name < 0 || row.values[std::size_t(name)].isNull())
                reasons << QStringLiteral("%1 vazia; um registro novo precisa dela")
                               .arg(t_.field(t_.nameColumn).label);
        }
        // Two rows of the sheet may not end up as two records with one key.
        for (const int pf : keys_) {
            const QVariant& v = row.values[std::size_t(pf)];
            if (isUnique(pf) || v.isNull())
                continue; // said below
            if (const auto earlier = keysSeen_.constFind(seenKey(pf, v));
                earlier != keysSeen_.cend())
                reasons << QStringLiteral("%1 igual à da linha %2")
                               .arg(field(pf).label, rowNumber(*earlier));
        }
        for (const int pf : unique_) {
            const QVariant& v = row.values[std::size_t(pf)];
            if (v.isNull())
                continue;
            for (const int s : storedWith(pf, v))
                if (s != match) {
                    reasons << QStringLiteral("%1 %2 já cadastrado no registro de código %3")
                                   .arg(field(pf).label, shownValue(v))
                                   .arg(stored_.code(s));
                    break;
                }
            if (const auto earlier = uniqueSeen_.constFind(seenKey(pf, v));
                earlier != uniqueSeen_.cend())
                reasons << QStringLiteral("%1 %2 repetido da linha %3")
                               .arg(field(pf).label, shownValue(v), rowNumber(*earlier));
        }
        reasons.removeDuplicates();
        return match;
    }

    void accept(PlannedRow& row, int match) {
        for (const int pf : keys_)
            if (!row.values[std::size_t(pf)].isNull())
                keysSeen_.insert(seenKey(pf, row.values[std::size_t(pf)]), row.sheetRow);
        for (const int pf : unique_)
            if (!row.values[std::size_t(pf)].isNull())
                uniqueSeen_.insert(seenKey(pf, row.values[std::size_t(pf)]), row.sheetRow);
        if (match >= 0)
            claimed_.insert(match, row.sheetRow);
        resolveReferences(row, match);

        if (match < 0) {
            const int codeField = plan_.planFieldOf(QStringLiteral("CODIGO"));
            row.code = codeField >= 0 ? row.values[std::size_t(codeField)].toInt() : 0;
            row.status = RowStatus::New;
            return;
        }
        row.code = stored_.code(match);
        for (std::size_t pf = 0; pf < row.values.size(); ++pf) {
            if (column(int(pf)) == QLatin1String("CODIGO"))
                continue;
            const QVariant storedValue = stored_.value(match, column(int(pf)));
            const bool changed =
                field(int(pf)).kind == ValueKind::Reference
                    ? !row.references[pf].none() && (row.references[pf].created >= 0 ||
                                                     row.references[pf].code != storedValue.toInt())
                    : !row.values[pf].isNull() && row.values[pf] != storedValue;
            if (changed)
                row.before.emplace_back(int(pf), storedValue);
        }
        row.status = row.before.empty() ? RowStatus::Unchanged : RowStatus::Changed;
    }

    void resolveReferences(PlannedRow& row, int match) {
        if (!references_)
            return;
        Reference group;
        const int groupField = plan_.planFieldOf(QStringLiteral("GRUPO"));
        if (groupField >= 0)
            group = references_->group(row.values[std::size_t(groupField)].toString());
        if (group.none() && match >= 0)
            group.code = stored_.value(match, QStringLiteral("GRUPO")).toInt();
        for (std::size_t pf = 0; pf < row.values.size(); ++pf) {
            const QString text = row.values[pf].toString();
            if (row.values[pf].isNull())
                continue;
            if (column(int(pf)) == QLatin1String("GRUPO"))
                row.references[pf] = group;
            else if (column(int(pf)) == QLatin1String("SUBGRUPO"))
                row.references[pf] = references_->subgroup(text, group);
            else if (column(int(pf)) == QLatin1String("FORNECEDOR"))
                row.references[pf] = references_->supplier(text);
        }
    }

    ImportPlan& plan_;
    const Target& t_;
    StoredRows stored_;
    std::vector<int> keys_;   // plan fields
    std::vector<int> unique_; // plan fields
    std::optional<References> references_;
    QHash<int, int> claimed_;        // stored row -> the sheet row that changes it
    QHash<QString, int> keysSeen_;   // a key value -> the sheet row that brings it
    QHash<QString, int> uniqueSeen_; // a unique value -> the sheet row that brings it
};

} // namespace

QString PlannedRow::problem(int planField) const {
    for (const auto& [pf, text] : problems)
        if (pf == planField)
            return text;
    return {};
}

const QVariant* PlannedRow::valueBefore(int planField) const {
    for (const auto& [pf, value] : before)
        if (pf == planField)
            return &value;
    return nullptr;
}

int ImportPlan::planFieldOf(const QString& column) const {
    for (std::size_t pf = 0; pf < fields.size(); ++pf)
        if (target.fields[std::size_t(fields[pf].field)].column == column)
            return int(pf);
    return -1;
}

ImportPlan planImport(const spreadsheet::Sheet& sheet, const spreadsheet::SheetTable& table,
                      const PlanOptions& options, data::SqlConnection& connection,
                      const PlanProgress& progress) {
    ImportPlan plan{targetOf(options.what), {}, {}, {}, {}, {}};
    for (std::size_t f = 0; f < plan.target.fields.size(); ++f) {
        const qsizetype column = options.mapping.indexOf(plan.target.fields[f].column);
        if (column >= 0)
            plan.fields.push_back({int(f), int(column)});
    }
    Planner planner(plan, options, connection);
    const int total = int(table.rows.size());
    plan.rows.reserve(std::size_t(total));
    for (int i = 0; i < total; ++i) {
        if (progress && i % 1000 == 0 && !progress(i, total))
            throw spreadsheet::ReadCancelled();
        plan.rows.push_back(planner.plan(sheet, table.rows[std::size_t(i)]));
        ++plan.counts[int(plan.rows.back().status)];
    }
    planner.numberNewRows();
    return plan;
}

QString statusText(RowStatus status) {
    switch (status) {
    case RowStatus::New:
        return QStringLiteral("Novo");
    case RowStatus::Changed:
        return QStringLiteral("Alterado");
    case RowStatus::Unchanged:
        return QStringLiteral("Sem alteração");
    case RowStatus::Refused:
        break;
    }
    return QStringLiteral("Recusado");
}

} // namespace imports
