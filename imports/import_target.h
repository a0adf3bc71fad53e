#pragma once
// What a sheet may be imported into: the products, the suppliers or the customers, each with the
// fields a column can fill, the header names that mean each field, the fields that find a stored
// row again, and those no two rows may share. Text sizes are the data module's.
#include <QString>
#include <QStringList>
#include <vector>

namespace imports {

enum class Register { Products, Suppliers, Customers };

enum class ValueKind {
    Code,       // the row's CODIGO: a whole number from 1
    Text,       // up to `size` characters, on one line
    Memo,       // up to `size` characters, line breaks kept, case as written
    Number,     // a quantity or an amount, "R$ 1.234,50" as well as 1234.5
    Date,       // a date cell, "DD/MM/YYYY" or "YYYY-MM-DD"
    State,      // a UF code
    PersonType, // "FÍSICA" or "JURÍDICA"
    Reference,  // a product's group, subgroup or supplier, by its description (or its code)
};

struct TargetField {
    QString column; // the table's column (a Reference: the column holding the referred code)
    QString label;  // as the mapping shows it
    ValueKind kind = ValueKind::Text;
    int size = 0;      // characters, for Text and Reference (the referred description's)
    bool upper = true; // Text: stored upper case, as the register window types it
    QStringList names; // header names meaning the field, the label and the column first
};

struct Target {
    Register what;
    QString table;
    QString nameColumn; // a new row needs it: DESCRICAO or NOME
    std::vector<TargetField> fields;
    QStringList keyColumns;    // that may find a stored row again, in the order they are tried
    QStringList uniqueColumns; // no two rows may share a value of these (empty values aside)

    int fieldIndex(const QString& column) const; // -1 when none
    const TargetField& field(const QString& column) const;
};

// Needs the data module (DM): the sizes are its fields'.
Target targetOf(Register what);

// "produtos", "fornecedores", "clientes": the words a message puts the register in.
QString registerWords(Register what);

} // namespace imports
