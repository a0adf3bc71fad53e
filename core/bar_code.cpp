#include "core/bar_code.h"

namespace barcode {

namespace {

bool allDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

bool checks(const QString& code) {
    const std::optional<int> digit = checkDigit(code.left(code.size() - 1));
    return digit && code.back().digitValue() == *digit;
}

} // namespace

std::optional<int> checkDigit(const QString& digits) {
    if (digits.isEmpty() || !allDigits(digits))
        return std::nullopt;
    int sum = 0;
    int weight = 3; // the digit next to the check digit weighs 3
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        sum += digits.at(i).digitValue() * weight;
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10;
}

bool isValidEan13(const QString& code) {
    return code.size() == 13 && checks(code);
}

bool looksMistyped(const QString& code) {
    const auto size = code.size();
    return (size == 8 || size == 12 || size == 13) && allDigits(code) && !checks(code);
}

QString internalEan13(qint64 number) {
    const QString digits = QLatin1Char('2') + QString::number(number).rightJustified(11, '0');
    return digits + QString::number(*checkDigit(digits));
}

std::vector<QString> internalCodes(const std::vector<int>& products, QSet<QString> taken) {
    // Past every number the shop's own codes already use, so a free one is found at once.
    qint64 next = 1;
    for (const QString& code : taken)
        if (code.size() == 13 && code.startsWith(QLatin1Char('2')) && allDigits(code))
            next = std::max(next, code.mid(1, 11).toLongLong() + 1);
    std::vector<QString> codes;
    codes.reserve(products.size());
    for (int product : products) {
        QString code = product > 0 ? internalEan13(product) : QString();
        while (code.isEmpty() || taken.contains(code))
            code = internalEan13(next++);
        taken.insert(code);
        codes.push_back(code);
    }
    return codes;
}

} // namespace barcode
