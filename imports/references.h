#pragma once
// The groups, subgroups and suppliers that product rows name, found by description (case and
// surrounding spaces aside; a whole number that is no description but a stored code is that
// code), and those an import must create because none has the description.
#include <QHash>
#include <QSet>
#include <QString>
#include <vector>

namespace data {
class SqlConnection;
}

namespace imports {

// An existing row's code, or the index of a row the import creates; neither: none.
struct Reference {
    int code = 0;
    int created = -1;
    bool none() const { return code == 0 && created < 0; }
    bool operator==(const Reference&) const = default;
};

struct NewReference {
    enum class Kind { Group, Subgroup, Supplier };
    Kind kind;
    QString description;
    Reference group; // a subgroup's
};

class References {
public:
    explicit References(data::SqlConnection& connection); // reads the three tables

    // `description` as stored: trimmed and upper case.
    Reference group(const QString& description);
    Reference subgroup(const QString& description, Reference group);
    Reference supplier(const QString& description);

    const std::vector<NewReference>& toCreate() const { return created_; }
    // "Grupo BEBIDAS", "Subgrupo REFRIGERANTES (grupo BEBIDAS)", "Fornecedor X".
    QString describe(const NewReference& row) const;

private:
    struct Stored {
        int code;
        int group;
    };
    Reference find(NewReference::Kind kind, const QString& description,
                   const QMultiHash<QString, Stored>& byName, Reference group);

    QMultiHash<QString, Stored> groups_, subgroups_, suppliers_;
    QHash<int, QString> groupNames_;
    QSet<int> codes_[3]; // stored codes per kind
    std::vector<NewReference> created_;
};

} // namespace imports
