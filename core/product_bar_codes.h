#pragma once
// The products' bar codes in the database: which products hold a code (read through the index
// over CODIGOBARRAS, so the answer is what is stored now, whatever the shared products hold), and
// the shop's own codes given to products that have none. The index is not unique: a file an
// older program filled may hold a code twice, and must still open.
#include <QString>
#include <vector>

namespace data {
class SqlConnection;
}

struct BarCodeOwner {
    int code;
    QString description;
    QString label() const; // "12 - ARROZ TIPO 1", as messages name a product
};

// The products whose bar code is `code` as read, or as the products window stores typed codes
// (upper case), by product code.
std::vector<BarCodeOwner> barCodeOwners(data::SqlConnection& connection, const QString& code);

// Gives each product that still has no bar code the shop's own EAN-13 (barcode::internalCodes,
// never one another product holds), all in one transaction. Returns product code and bar code
// of each product given one.
std::vector<std::pair<int, QString>> giveInternalCodes(data::SqlConnection& connection,
                                                       const std::vector<int>& products);
