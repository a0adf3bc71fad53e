#include "imports/references.h"
#include "platform/data/sql_query.h"
#include <functional>

namespace imports {

namespace {

void read(data::SqlConnection& connection, const QString& select,
          const std::function<void(data::SqlQuery&)>& row) {
    data::SqlQuery query(&connection);
    query.sql() << select;
    for (query.open(); !query.eof(); query.next())
        row(query);
}

} // namespace

References::References(data::SqlConnection& connection) {
    using Kind = NewReference::Kind;
    auto keep = [&](Kind kind, QMultiHash<QString, Stored>& byName) {
        return [&, kind](data::SqlQuery& q) {
            const int code = q.value(0).toInt();
            const int group = q.columnCount() > 2 ? q.value(2).toInt() : 0;
            byName.insert(q.value(1).toString().trimmed().toUpper(), {code, group});
            codes_[int(kind)].insert(code);
            if (kind == Kind::Group)
                groupNames_.insert(code, q.value(1).toString().trimmed());
        };
    };
    // Lowest codes first, so that of two rows with one description the older is taken.
    read(connection, QStringLiteral("select CODIGO, DESCRICAO from TGRUPO order by CODIGO desc"),
         keep(Kind::Group, groups_));
    read(connection,
         QStringLiteral("select CODIGO, DESCRICAO, GRUPO from TSUBGRUPO order by CODIGO desc"),
         keep(Kind::Subgroup, subgroups_));
    read(connection,
         QStringLiteral("select CODIGO, DESCRICAO from TFORNECEDOR order by CODIGO desc"),
         keep(Kind::Supplier, suppliers_));
}

Reference References::find(NewReference::Kind kind, const QString& description,
                           const QMultiHash<QString, Stored>& byName, Reference group) {
    if (description.isEmpty())
        return {};
    // QMultiHash gives the values inserted last first: the lowest code comes first.
    const bool anyGroup = kind != NewReference::Kind::Subgroup || group.none();
    for (auto it = byName.constFind(description); it != byName.cend() && it.key() == description;
         ++it)
        if (anyGroup || (group.code != 0 && it->group == group.code))
            return {it->code, -1};
    bool whole = false;
    const int code = description.toInt(&whole);
    if (whole && anyGroup && codes_[int(kind)].contains(code))
        return {code, -1};
    for (std::size_t i = 0; i < created_.size(); ++i)
        if (created_[i].kind == kind && created_[i].description == description &&
            (kind != NewReference::Kind::Subgroup || created_[i].group == group))
            return {0, int(i)};
    created_.push_back({kind, description, group});
    return {0, int(created_.size()) - 1};
}

Reference References::group(const QString& description) {
    return find(NewReference::Kind::Group, description, groups_, {});
}

Reference References::subgroup(const QString& description, Reference group) {
    return find(NewReference::Kind::Subgroup, description, subgroups_, group);
}

Reference References::supplier(const QString& description) {
    return find(NewReference::Kind::Supplier, description, suppliers_, {});
}

QString References::describe(const NewReference& row) const {
    switch (row.kind) {
    case NewReference::Kind::Group:
        return QStringLiteral("Grupo %1").arg(row.description);
    case NewReference::Kind::Supplier:
        return QStringLiteral("Fornecedor %1").arg(row.description);
    case NewReference::Kind::Subgroup:
        break;
    }
    if (row.group.none())
        return QStringLiteral("Subgrupo %1").arg(row.description);
    const QString group = row.group.created >= 0
                              ? created_[std::size_t(row.group.created)].description
                              : groupNames_.value(row.group.code);
    return QStringLiteral("Subgrupo %1 (grupo %2)").arg(row.description, group);
}

} // namespace imports
