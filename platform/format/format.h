#pragma once
// How numbers, money, dates and times are shown and read. The program always uses the Brazilian
// conventions below, whatever the machine's locale says.
#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

namespace format {

struct Settings {
    QChar decimalSeparator = ',';
    QChar thousandSeparator = '.';
    QString currencyString = "R$";
    int currencyDecimals = 2;
    QString shortDateFormat = "dd/MM/yyyy";
    QString longTimeFormat = "hh:mm:ss";
    QString shortTimeFormat = "hh:mm";
};
const Settings& settings();

// Formats by a picture: '0' is a digit always shown, '#' a digit shown only when significant, a
// ',' among the integer placeholders turns on thousands grouping, the first '.' marks the decimal
// point; anything else is copied as it stands. Output uses the separators above; rounding is half
// away from zero on the value's 15 significant digits, so 1.005 shows as "1,01". A negative value
// gets its '-' in front of everything ("-R$1.000,50"), unless it rounds to zero. Only the first
// ';'-separated section of a picture is used. NaN and infinities come out as "NAN", "INF", "-INF".
QString formatFloat(const QString& picture, double value);

// The general form: up to 15 significant digits, no trailing zeros, no grouping ("1,5", "10").
// From 1E15 up and below 0,0001 the exponent form is used ("1E20", "-2,5E-7").
QString floatToStr(double value);

// A money value as a money field shows it: "R$ 1.234,50", "-R$ 1.234,50", "R$ 0,00".
QString currencyToStr(double value);

// "DD/MM/YYYY", "HH:MM:SS", "HH:MM" and "DD/MM/YYYY HH:MM:SS"; an invalid value gives "".
QString dateToStr(const QDate& date);

// A month as a period's two date fields show it: its first and last day, "DD/MM/YYYY".
struct PeriodTexts {
    QString first;
    QString last;
};
PeriodTexts monthPeriod(const QDate& dayOfTheMonth);
QString timeToStr(const QTime& time);
QString shortTimeToStr(const QTime& time);
QString dateTimeToStr(const QDateTime& dateTime);

// What a user typed, or nullopt when it is not a value; the caller words the message.
// Numbers: ',' is the decimal separator and '.' groups thousands ("1.234,56"); a currency prefix
// is allowed; with no ',' a single '.' not followed by exactly three digits is read as the
// decimal point, as typed on a numeric keypad ("12.5"). The exponent form of floatToStr is read.
std::optional<double> parseFloat(const QString& text);
// Plain digits with an optional sign; no range check beyond qint64.
std::optional<qint64> parseInteger(const QString& text);
// "DD/MM/YYYY", "D/M/YYYY" or "DD/MM/YY" (00-49 are the 2000s, 50-99 the 1900s).
std::optional<QDate> parseDate(const QString& text);
// "HH:MM" or "HH:MM:SS".
std::optional<QTime> parseTime(const QString& text);

} // namespace format
