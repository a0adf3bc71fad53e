#include "platform/format/format.h"

namespace format {

// QDate/QTime::toString with a format string uses the C locale, so the machine's settings never
// leak in.
QString dateToStr(const QDate& date) {
    return date.isValid() ? date.toString(settings().shortDateFormat) : QString();
}

QString timeToStr(const QTime& time) {
    return time.isValid() ? time.toString(settings().longTimeFormat) : QString();
}

QString shortTimeToStr(const QTime& time) {
    return time.isValid() ? time.toString(settings().shortTimeFormat) : QString();
}

QString dateTimeToStr(const QDateTime& dateTime) {
    if (!dateTime.isValid())
        return {};
    return dateToStr(dateTime.date()) + ' ' + timeToStr(dateTime.time());
}

namespace {

// Splits "12/05/2024" or "8:30" into its numbers; nullopt unless there are `minParts` to
// `maxParts` parts, each of digits only (blanks a masked edit leaves around them are ignored)
// with a length allowed by `lengths`.
template <typename LengthOk>
std::optional<QList<int>> numberParts(const QString& text, QChar separator, int minParts,
                                      int maxParts, LengthOk lengthOk) {
    const QStringList parts = text.split(separator);
    if (parts.size() < minParts || parts.size() > maxParts)
        return std::nullopt;
    QList<int> numbers;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString part = parts[i].trimmed();
        if (!lengthOk(i, part.size()))
            return std::nullopt;
        for (QChar c : part)
            if (c < '0' || c > '9')
                return std::nullopt;
        numbers.append(part.toInt());
    }
    return numbers;
}

} // namespace

std::optional<QDate> parseDate(const QString& text) {
    const auto parts = numberParts(text, '/', 3, 3, [](qsizetype i, qsizetype length) {
        return i < 2 ? length >= 1 && length <= 2 : length == 2 || length == 4;
    });
    if (!parts)
        return std::nullopt;
    int year = (*parts)[2];
    if (text.section('/', 2).trimmed().size() == 2)
        year += year < 50 ? 2000 : 1900;
    const QDate date(year, (*parts)[1], (*parts)[0]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> parseTime(const QString& text) {
    const auto parts = numberParts(
        text, ':', 2, 3, [](qsizetype, qsizetype length) { return length >= 1 && length <= 2; });
    if (!parts)
        return std::nullopt;
    const QTime time((*parts)[0], (*parts)[1], parts->size() == 3 ? (*parts)[2] : 0);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

PeriodTexts monthPeriod(const QDate& dayOfTheMonth) {
    const QDate first(dayOfTheMonth.year(), dayOfTheMonth.month(), 1);
    return {dateToStr(first), dateToStr(first.addDays(dayOfTheMonth.daysInMonth() - 1))};
}

} // namespace format
