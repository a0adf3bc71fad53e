#include "platform/spreadsheet/cell_value.h"
#include <QDate>
#include <charconv>
#include <cmath>

namespace spreadsheet {

namespace {

constexpr int kMostDigitsKept = 15;     // what a double holds exactly
constexpr int kDigitsGeneralShows = 11; // beyond this a general cell turns to 1,2E+12

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A number as typed with Brazilian separators: sign, digits grouped by '.' in threes or not at
// all, a ',' and decimals, an exponent. Fills the number and whether it was a whole number of
// plain digits (for codes). False for anything else.
bool parseNumber(const QString& s, double& value, bool& plainWhole, int& digits,
                 bool& leadingZero) {
    const qsizetype n = s.size();
    qsizetype i = 0;
    std::string ascii;
    ascii.reserve(std::size_t(n));
    if (i < n && (s[i] == u'-' || s[i] == u'+')) {
        if (s[i] == u'-')
            ascii += '-';
        ++i;
    }
    const qsizetype intStart = i;
    int groupLen = -1; // digits since the last '.', -1 when no '.' seen
    int intDigits = 0;
    bool grouped = false;
    for (; i < n; ++i) {
        const QChar c = s[i];
        if (isDigit(c)) {
            ascii += char(c.unicode());
            ++intDigits;
            if (groupLen >= 0)
                ++groupLen;
        } else if (c == u'.') {
            if (intDigits == 0 || (groupLen >= 0 && groupLen != 3) || (!grouped && intDigits > 3))
                return false;
            grouped = true;
            groupLen = 0;
        } else {
            break;
        }
    }
    if (grouped && groupLen != 3)
        return false;
    int fracDigits = 0;
    if (i < n && s[i] == u',') {
        ascii += '.';
        for (++i; i < n && isDigit(s[i]); ++i) {
            ascii += char(s[i].unicode());
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0)
        return false;
    bool exponent = false;
    if (i < n && (s[i] == u'E' || s[i] == u'e')) {
        exponent = true;
        ascii += 'e';
        ++i;
        if (i < n && (s[i] == u'-' || s[i] == u'+'))
            ascii += char(s[i++].unicode());
        const qsizetype expStart = i;
        for (; i < n && isDigit(s[i]); ++i)
            ascii += char(s[i].unicode());
        if (i == expStart)
            return false;
    }
    if (i != n)
        return false;
    const char* begin = ascii.data();
    const auto [end, error] = std::from_chars(begin, begin + ascii.size(), value);
    if (error != std::errc() || end != begin + ascii.size() || !std::isfinite(value))
        return false;
    plainWhole = !grouped && fracDigits == 0 && !exponent && intStart == 0;
    digits = intDigits + fracDigits;
    leadingZero = intDigits > 1 && s[intStart] == u'0';
    return true;
}

// "DD/MM/YYYY", "D/M/YYYY" or "DD/MM/YY" (00-49 the 2000s).
bool parseDate(const QString& s, double& serial) {
    const QStringView v(s);
    const qsizetype a = v.indexOf(u'/');
    const qsizetype b = a < 0 ? -1 : v.indexOf(u'/', a + 1);
    if (a < 1 || a > 2 || b - a < 2 || b - a > 3)
        return false;
    const QStringView yearText = v.mid(b + 1);
    if (yearText.size() != 4 && yearText.size() != 2)
        return false;
    for (QStringView part : {v.left(a), v.mid(a + 1, b - a - 1), yearText})
        for (QChar c : part)
            if (!isDigit(c))
                return false;
    int year = yearText.toInt();
    if (yearText.size() == 2)
        year += year < 50 ? 2000 : 1900;
    const int month = v.mid(a + 1, b - a - 1).toInt();
    const int day = v.left(a).toInt();
    if (!QDate::isValid(year, month, day))
        return false;
    serial = serialDay(year, month, day);
    return serial > 0;
}

// "HH:MM" or "HH:MM:SS"; sets whether seconds were typed.
bool parseTime(const QString& s, double& dayFraction, bool& withSeconds) {
    if (s.size() != 5 && s.size() != 8)
        return false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const bool colon = i == 2 || i == 5;
        if (colon ? s[i] != u':' : !isDigit(s[i]))
            return false;
    }
    const int h = QStringView(s).left(2).toInt();
    const int m = QStringView(s).mid(3, 2).toInt();
    withSeconds = s.size() == 8;
    const int sec = withSeconds ? QStringView(s).mid(6, 2).toInt() : 0;
    if (h > 23 || m > 59 || sec > 59)
        return false;
    dayFraction = (h * 3600 + m * 60 + sec) / 86400.0;
    return true;
}

} // namespace

double serialDay(int year, int month, int day) {
    static const qint64 epoch = QDate(1899, 12, 30).toJulianDay();
    const QDate date(year, month, day);
    if (!date.isValid() || date < QDate(1900, 3, 1))
        return 0;
    return double(date.toJulianDay() - epoch);
}

CellValue cellValue(const QString& typed) {
    CellValue cell;
    if (typed.isEmpty())
        return cell;
    const QChar first = typed.front();
    if (isDigit(first) || first == u'-' || first == u'+' || first == u',') {
        bool plainWhole = false, leadingZero = false;
        int digits = 0;
        if (parseNumber(typed, cell.number, plainWhole, digits, leadingZero)) {
            if (plainWhole && (leadingZero || digits > kMostDigitsKept)) {
                cell.kind = CellValue::Kind::Text; // a code: keep every digit as typed
            } else {
                cell.kind = plainWhole && digits > kDigitsGeneralShows ? CellValue::Kind::WholeCode
                                                                       : CellValue::Kind::Number;
                return cell;
            }
        } else if (bool withSeconds = false; parseTime(typed, cell.number, withSeconds)) {
            cell.kind = withSeconds ? CellValue::Kind::Time : CellValue::Kind::ShortTime;
            return cell;
        } else if (parseDate(typed, cell.number)) {
            cell.kind = CellValue::Kind::Date;
            return cell;
        }
    }
    cell.kind = CellValue::Kind::Text;
    cell.number = 0;
    cell.text = typed.toStdString();
    return cell;
}

} // namespace spreadsheet
