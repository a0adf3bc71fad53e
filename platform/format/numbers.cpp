#include "platform/format/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace format {

namespace {

constexpr int kSignificantDigits = 15;

bool isPlaceholder(QChar c) {
    return c == '0' || c == '#';
}

// A finite, non-negative value as its 15 significant digits and the power of ten of the first
// one: 1234.5 -> {"123450000000000", 3}. Rounding to 15 digits first keeps binary noise
// (0.1 + 0.2) out of what the user sees.
struct Digits {
    std::string mantissa;
    int exponent = 0;
};

Digits significantDigits(double value) {
    char buffer[32]; // always holds "d.ddddddddddddddde+ddd"
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::scientific, kSignificantDigits - 1)
                          .ptr;
    Digits digits;
    const char* p = buffer;
    for (; p != end && *p != 'e'; ++p)
        if (*p != '.')
            digits.mantissa += *p;
    std::from_chars(p + 1 + (p[1] == '+'), end, digits.exponent);
    return digits;
}

// Adds one to a string of decimal digits, growing it on a carry out of the first digit.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The integer digits (no leading zeros, empty for zero) and exactly `decimals` fraction digits
// of a finite, non-negative value, rounded half away from zero.
struct Fixed {
    std::string integer;
    std::string fraction;
};

Fixed toFixed(double value, int decimals) {
    const Digits d = significantDigits(value);
    const int integerLength = d.exponent + 1;
    std::string all; // integer and fraction digits run together
    int pointAt;     // how many of them are integer digits
    if (integerLength <= 0) {
        all = std::string(-integerLength, '0') + d.mantissa;
        pointAt = 0;
    } else {
        all = d.mantissa;
        if (integerLength > int(all.size()))
            all.append(integerLength - all.size(), '0');
        pointAt = integerLength;
    }
    const std::size_t keep = pointAt + decimals;
    if (all.size() > keep) {
        const bool roundUp = all[keep] >= '5';
        all.resize(keep);
        if (roundUp) {
            const std::size_t before = all.size();
            incrementDigits(all);
            pointAt += int(all.size() - before);
        }
    } else {
        all.append(keep - all.size(), '0');
    }
    Fixed fixed{all.substr(0, pointAt), all.substr(pointAt)};
    fixed.integer.erase(0, fixed.integer.find_first_not_of('0'));
    return fixed;
}

QString notANumber(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

} // namespace

QString formatFloat(const QString& fullPicture, double value) {
    if (!std::isfinite(value))
        return notANumber(value);
    const QString picture = fullPicture.section(';', 0, 0);

    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < picture.size(); ++i)
        if (isPlaceholder(picture[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    if (first < 0) // no digits asked for: the picture is all literal
        return picture;

    qsizetype point = picture.indexOf('.');
    if (point > last)
        point = -1;
    const qsizetype start = point >= 0 ? std::min(first, point) : first; // where the number begins
    const qsizetype integerEnd = point >= 0 ? point : last + 1;

    bool grouping = false;
    int requiredInteger = 0;
    for (qsizetype i = first; i < integerEnd; ++i) {
        if (picture[i] == ',')
            grouping = true;
        else if (picture[i] == '0' || (requiredInteger > 0 && picture[i] == '#'))
            ++requiredInteger; // every placeholder from the first '0' on is required
    }
    int decimals = 0, requiredDecimals = 0;
    if (point >= 0)
        for (qsizetype i = point + 1; i <= last; ++i)
            if (isPlaceholder(picture[i])) {
                ++decimals;
                if (picture[i] == '0')
                    requiredDecimals = decimals; // every placeholder up to the last '0'
            }

    Fixed fixed = toFixed(std::fabs(value), decimals);
    const bool roundsToZero =
        fixed.integer.empty() && fixed.fraction.find_first_not_of('0') == std::string::npos;
    const bool negative = value < 0 && !roundsToZero;
    if (int(fixed.integer.size()) < requiredInteger)
        fixed.integer.insert(0, requiredInteger - fixed.integer.size(), '0');
    while (int(fixed.fraction.size()) > requiredDecimals && fixed.fraction.back() == '0')
        fixed.fraction.pop_back();

    // Integer part: literals between placeholders stay where they are; digits beyond the
    // placeholders go in at the first one, or before the point when there is none.
    QString integerText;
    const std::string& digits = fixed.integer;
    qsizetype next = qsizetype(digits.size()); // digits not yet placed: [0, next)
    auto placeDigit = [&](qsizetype at) {
        if (grouping && at < qsizetype(digits.size()) - 1 && (digits.size() - 1 - at) % 3 == 0)
            integerText.prepend(settings().thousandSeparator);
        integerText.prepend(QLatin1Char(digits[at]));
    };
    for (qsizetype i = integerEnd - 1; i >= start; --i) {
        const QChar c = picture[i];
        if (c == ',')
            continue;
        if (!isPlaceholder(c)) {
            integerText.prepend(c);
            continue;
        }
        if (i == first)
            while (next > 0)
                placeDigit(--next);
        else if (next > 0)
            placeDigit(--next);
    }
    while (next > 0)
        placeDigit(--next);

    QString fractionText;
    if (point >= 0) {
        std::size_t used = 0;
        for (qsizetype i = point + 1; i <= last; ++i) {
            if (picture[i] == ',')
                continue;
            if (!isPlaceholder(picture[i]))
                fractionText += picture[i];
            else if (used < fixed.fraction.size())
                fractionText += QLatin1Char(fixed.fraction[used++]);
        }
        if (!fixed.fraction.empty())
            fractionText.prepend(settings().decimalSeparator);
    }

    return (negative ? QStringLiteral("-") : QString()) + picture.left(start) + integerText +
           fractionText + picture.mid(last + 1);
}

QString floatToStr(double value) {
    if (!std::isfinite(value))
        return notANumber(value);
    if (value == 0)
        return QStringLiteral("0");
    Digits d = significantDigits(std::fabs(value));
    d.mantissa.erase(d.mantissa.find_last_not_of('0') + 1);
    const QChar comma = settings().decimalSeparator;
    QString text = value < 0 ? QStringLiteral("-") : QString();

    if (d.exponent >= kSignificantDigits || d.exponent < -4) {
        text += QLatin1Char(d.mantissa[0]);
        if (d.mantissa.size() > 1)
            text += comma + QString::fromLatin1(d.mantissa.substr(1));
        return text + 'E' + QString::number(d.exponent);
    }
    if (d.exponent < 0)
        return text + '0' + comma + QString(-d.exponent - 1, '0') + QString::fromLatin1(d.mantissa);
    const std::size_t integerLength = d.exponent + 1;
    if (d.mantissa.size() <= integerLength)
        return text + QString::fromLatin1(d.mantissa) +
               QString(integerLength - d.mantissa.size(), '0');
    return text + QString::fromLatin1(d.mantissa.substr(0, integerLength)) + comma +
           QString::fromLatin1(d.mantissa.substr(integerLength));
}

QString currencyToStr(double value) {
    const Settings& s = settings();
    QString picture = s.currencyString + QStringLiteral(" #,##0");
    if (s.currencyDecimals > 0)
        picture += '.' + QString(s.currencyDecimals, '0');
    return formatFloat(picture, value);
}

namespace {

bool allDigits(QStringView text) {
    for (QChar c : text)
        if (c < '0' || c > '9')
            return false;
    return !text.isEmpty();
}

// "1.234.567": a first group of one to three digits, then groups of exactly three.
bool validGrouping(QStringView integer) {
    const auto groups = integer.split(settings().thousandSeparator);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const qsizetype size = groups[i].size();
        if (!allDigits(groups[i]) || (i == 0 ? size > 3 : size != 3))
            return false;
    }
    return true;
}

// Separates a typed number's mantissa into integer and fraction digits, or fails.
bool splitMantissa(QStringView mantissa, QString& integer, QString& fraction) {
    const QChar comma = settings().decimalSeparator, dot = settings().thousandSeparator;
    qsizetype decimalAt = mantissa.indexOf(comma);
    if (decimalAt < 0 && mantissa.count(dot) == 1) {
        // With no comma, a lone dot groups thousands only when it looks exactly like it.
        const qsizetype at = mantissa.indexOf(dot);
        if (!(at >= 1 && at <= 3 && mantissa.size() - at - 1 == 3))
            decimalAt = at;
    }
    QStringView integerPart = decimalAt < 0 ? mantissa : mantissa.left(decimalAt);
    const QStringView fractionPart = decimalAt < 0 ? QStringView() : mantissa.mid(decimalAt + 1);
    if (!fractionPart.isEmpty() && !allDigits(fractionPart))
        return false;
    if (integerPart.contains(dot)) {
        if (!validGrouping(integerPart))
            return false;
        integer = integerPart.toString().remove(dot);
    } else {
        if (!integerPart.isEmpty() && !allDigits(integerPart))
            return false;
        integer = integerPart.toString();
    }
    fraction = fractionPart.toString();
    return !(integer.isEmpty() && fraction.isEmpty());
}

} // namespace

std::optional<double> parseFloat(const QString& typed) {
    QString text = typed.trimmed();
    QString sign;
    if (text.startsWith('-') || text.startsWith('+')) {
        sign = text.left(1);
        text = text.mid(1).trimmed();
    }
    if (text.startsWith(settings().currencyString)) {
        text = text.mid(settings().currencyString.size()).trimmed();
        if (sign.isEmpty() && (text.startsWith('-') || text.startsWith('+'))) {
            sign = text.left(1);
            text = text.mid(1);
        }
    }

    QString exponent;
    const qsizetype e = text.indexOf('E', 0, Qt::CaseInsensitive);
    if (e >= 0) {
        exponent = text.mid(e + 1);
        text.truncate(e);
        const QStringView exponentDigits = exponent.startsWith('-') || exponent.startsWith('+')
                                               ? QStringView(exponent).mid(1)
                                               : QStringView(exponent);
        if (!allDigits(exponentDigits))
            return std::nullopt;
    }
    QString integer, fraction;
    if (!splitMantissa(text, integer, fraction))
        return std::nullopt;

    QString plain = (sign == "-" ? QStringLiteral("-") : QString()) +
                    (integer.isEmpty() ? QStringLiteral("0") : integer);
    if (!fraction.isEmpty())
        plain += '.' + fraction;
    if (!exponent.isEmpty())
        plain += 'e' + exponent;
    const QByteArray latin = plain.toLatin1();
    double value = 0;
    const auto [end, ec] =
        std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    if (ec != std::errc() || end != latin.constData() + latin.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint64> parseInteger(const QString& typed) {
    const QString text = typed.trimmed();
    const bool signed_ = text.startsWith('-') || text.startsWith('+');
    const QStringView digits = signed_ ? QStringView(text).mid(1) : QStringView(text);
    if (!allDigits(digits))
        return std::nullopt;
    const QByteArray latin = (text.startsWith('-') ? "-" : "") + digits.toLatin1();
    qint64 value = 0;
    const auto [end, ec] =
        std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    if (ec != std::errc() || end != latin.constData() + latin.size())
        return std::nullopt;
    return value;
}

} // namespace format
