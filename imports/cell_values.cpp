#include "imports/cell_values.h"
#include "core/data_module.h"
#include "imports/header_names.h"
#include "platform/data/field_def.h"
#include "platform/format/format.h"
#include "registers/state_codes.h"
#include <cmath>
#include <limits>

namespace imports {

namespace {

using Kind = spreadsheet::ReadCell::Kind;

CellValue refused(const QString& problem) {
    return {QVariant(), problem};
}

QString quoted(const QString& text) {
    return '"' + text + '"';
}

CellValue text(const QString& shown, const TargetField& field) {
    QString value = field.kind == ValueKind::Memo ? shown.trimmed() : shown.simplified();
    if (field.kind != ValueKind::Memo && field.upper)
        value = value.toUpper();
    if (value.isEmpty())
        return {};
    const qsizetype count = data::characterCount(value);
    if (count > field.size)
        return refused(
            QStringLiteral("texto com %1 caracteres; cabem %2").arg(count).arg(field.size));
    return {value, {}};
}

std::optional<double> number(const spreadsheet::ReadCell& cell) {
    if (cell.kind == Kind::Number)
        return cell.number;
    if (cell.kind != Kind::Text)
        return std::nullopt;
    QString typed = cell.text;
    typed.remove(QChar::Nbsp).remove(' ');
    return format::parseFloat(typed);
}

CellValue code(const spreadsheet::ReadCell& cell) {
    const std::optional<double> n = number(cell);
    if (!n || *n < 1 || *n > std::numeric_limits<qint32>::max() || std::floor(*n) != *n)
        return refused(QStringLiteral("%1 não é um código: use um número inteiro de 1 a "
                                      "2147483647")
                           .arg(quoted(cell.displayText())));
    return {int(*n), {}};
}

CellValue amount(const spreadsheet::ReadCell& cell) {
    const std::optional<double> n = number(cell);
    if (!n)
        return refused(QStringLiteral("%1 não é um número").arg(quoted(cell.displayText())));
    if (std::fabs(*n) > kLargestAmount)
        return refused(
            QStringLiteral("%1 passa do maior número aceito (%2)")
                .arg(quoted(cell.displayText()),
                     format::formatFloat(QStringLiteral("###,###,##0"), kLargestAmount)));
    return {*n, {}};
}

CellValue date(const spreadsheet::ReadCell& cell) {
    QDate day;
    if (cell.kind == Kind::Date || cell.kind == Kind::Number) {
        day = spreadsheet::dateOfSerial(cell.number);
    } else if (cell.kind == Kind::Text) {
        // A date may come with its time ("15/03/1980 00:00:00"), or as ISO ("1980-03-15").
        const QString typed = cell.text.trimmed().section(' ', 0, 0);
        day = format::parseDate(typed).value_or(QDate::fromString(typed, Qt::ISODate));
    }
    if (!day.isValid())
        return refused(QStringLiteral("%1 não é uma data válida").arg(quoted(cell.displayText())));
    return {day, {}};
}

CellValue state(const QString& shown) {
    const QString code = shown.trimmed().toUpper();
    if (!stateCodes().contains(code))
        return refused(
            QStringLiteral("%1 não é a sigla de um estado (nem XX)").arg(quoted(shown.trimmed())));
    return {code, {}};
}

CellValue personType(const QString& shown) {
    static const QStringList physical = {QStringLiteral("FISICA"), QStringLiteral("F"),
                                         QStringLiteral("PF"), QStringLiteral("PESSOAFISICA")};
    static const QStringList legal = {QStringLiteral("JURIDICA"), QStringLiteral("J"),
                                      QStringLiteral("PJ"), QStringLiteral("PESSOAJURIDICA")};
    const QString key = headerKey(shown);
    if (physical.contains(key))
        return {QStringLiteral("FÍSICA"), {}};
    if (legal.contains(key))
        return {QStringLiteral("JURÍDICA"), {}};
    return refused(QStringLiteral("tipo de pessoa desconhecido: %1 (use FÍSICA ou JURÍDICA)")
                       .arg(quoted(shown.trimmed())));
}

} // namespace

CellValue convertCell(const spreadsheet::ReadCell& cell, const TargetField& field) {
    switch (cell.kind) {
    case Kind::Empty:
        return {};
    case Kind::Error:
        return refused(QStringLiteral("a célula traz um erro da planilha (%1)").arg(cell.text));
    case Kind::Formula:
        return refused(QStringLiteral("a fórmula %1 não tem o valor calculado no arquivo; abra-o "
                                      "e salve-o no programa de planilhas")
                           .arg(cell.text));
    default:
        break;
    }
    const QString shown = cell.displayText();
    if (shown.trimmed().isEmpty())
        return {};
    switch (field.kind) {
    case ValueKind::Code:
        return code(cell);
    case ValueKind::Number:
        return amount(cell);
    case ValueKind::Date:
        return date(cell);
    case ValueKind::State:
        return state(shown);
    case ValueKind::PersonType:
        return personType(shown);
    case ValueKind::Text:
    case ValueKind::Memo:
    case ValueKind::Reference:
        break;
    }
    return text(shown, field);
}

QString shownValue(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Double:
        return format::floatToStr(value.toDouble());
    case QMetaType::QDate:
        return format::dateToStr(value.toDate());
    default:
        return value.toString();
    }
}

} // namespace imports
