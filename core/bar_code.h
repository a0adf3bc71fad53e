#pragma once
// The rules of retail bar codes the windows share: the check digit of EAN-13, EAN-8 and UPC-A,
// and the shop's own EAN-13 codes for products that came without one.
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace barcode {

// The check digit (0-9) that ends a code whose other digits are `digits`: weights 3 and 1 from
// the right. Null unless every character is a digit.
std::optional<int> checkDigit(const QString& digits);

// A code of 13 digits whose last digit checks.
bool isValidEan13(const QString& code);

// A code of 8, 12 or 13 digits (EAN-8, UPC-A, EAN-13) whose last digit does not check: most
// likely mistyped. Shops may still keep it as an internal code.
bool looksMistyped(const QString& code);

// The shop's own EAN-13: "2" (kept for in-store use), eleven digits of `number` and the check
// digit. number must be below 10^11.
QString internalEan13(qint64 number);

// Codes for products that have none: product code c gets internalEan13(c) unless a stored code
// (`taken`) or an earlier product of the list has it; then the next number that none has.
std::vector<QString> internalCodes(const std::vector<int>& products, QSet<QString> taken);

} // namespace barcode
