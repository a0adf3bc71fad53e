#include "platform/data/client_dataset.h"
#include "platform/data/errors.h"
#include "platform/format/format.h"
#include <cmath>
#include <limits>

namespace data {

QVariant Field::value() const {
    return owner_->currentValue(index_);
}
bool Field::isNull() const {
    return value().isNull();
}
qint64 Field::asInteger() const {
    const QVariant v = value();
    return v.isNull() ? 0
                      : (def_.kind == FieldKind::Float ? qint64(std::llround(v.toDouble()))
                                                       : v.toLongLong());
}
double Field::asFloat() const {
    return value().toDouble();
}
QDate Field::asDate() const {
    return value().toDate();
}
QTime Field::asTime() const {
    return value().toTime();
}
QByteArray Field::asBlob() const {
    return value().toByteArray();
}

qsizetype characterCount(const QString& text) {
    qsizetype count = 0;
    for (const QChar c : text)
        count += c.isLowSurrogate() ? 0 : 1;
    return count;
}

double roundToDecimals(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    // Half away from zero on the value as written: 4,555 is 455.49999... hundredths in binary.
    const double units = QString::number(value * scale, 'g', 15).toDouble();
    return std::round(units) / scale;
}

namespace {
// Time fields with a short mask ("!90:00") are shown and typed as HH:MM.
bool shortTime(const FieldDef& def) {
    const QString mask = def.editMask.section(';', 0, 0);
    return !mask.isEmpty() && mask.count(':') == 1;
}
} // namespace

namespace {
QString plainText(const FieldDef& def, const QVariant& v) {
    if (v.isNull())
        return {};
    switch (def.kind) {
    case FieldKind::Integer:
        return QString::number(v.toLongLong());
    case FieldKind::Float:
        return format::floatToStr(v.toDouble());
    case FieldKind::Text:
        return v.toString();
    case FieldKind::Date:
        return format::dateToStr(v.toDate());
    case FieldKind::Time:
        return shortTime(def) ? format::shortTimeToStr(v.toTime()) : format::timeToStr(v.toTime());
    case FieldKind::Blob:
        return QString::fromLatin1(v.toByteArray());
    }
    return {};
}
} // namespace

QString Field::asString() const {
    return plainText(def_, value());
}

QString Field::displayText(const FieldDef& def, const QVariant& value) {
    if (value.isNull())
        return {};
    if (def.kind == FieldKind::Float && def.currency)
        return format::currencyToStr(value.toDouble());
    if (def.kind == FieldKind::Blob)
        return QStringLiteral("(Imagem)");
    return plainText(def, value);
}

QString Field::displayText() const {
    return displayText(def_, value());
}

QString Field::editText() const {
    if (def_.kind == FieldKind::Blob)
        return {};
    return asString();
}

void Field::setAsString(const QString& text) {
    setValue(QVariant(text));
}

void Field::clear() {
    setValue(QVariant());
}

void Field::setValue(const QVariant& input) {
    owner_->requireEditing("alterar um campo");
    const QString label = def_.label();
    // "what" names the kind with its article and agreeing adjective: "uma data válida".
    auto invalid = [&](const QString& what) {
        QString text =
            QStringLiteral("'%1' não é %2 para o campo %3").arg(input.toString(), what, label);
        if (!label.endsWith('.')) // a label such as "QTD." already ends the sentence
            text += '.';
        return FieldError(text);
    };
    const bool isText = input.typeId() == QMetaType::QString;
    const QString text = isText ? input.toString() : QString();
    QVariant stored;

    if (input.isNull() || (isText && def_.kind != FieldKind::Text && text.trimmed().isEmpty())) {
        stored = QVariant();
    } else {
        switch (def_.kind) {
        case FieldKind::Integer: {
            qint64 n = 0;
            if (isText) {
                auto parsed = format::parseInteger(text);
                if (!parsed)
                    throw invalid(QStringLiteral("um número inteiro válido"));
                n = *parsed;
            } else if (input.typeId() == QMetaType::Double || input.typeId() == QMetaType::Float) {
                const double d = input.toDouble();
                if (!std::isfinite(d) || d != std::floor(d) || std::fabs(d) > 9.0e18)
                    throw invalid(QStringLiteral("um número inteiro válido"));
                n = qint64(d);
            } else {
                bool ok = false;
                n = input.toLongLong(&ok);
                if (!ok)
                    throw invalid(QStringLiteral("um número inteiro válido"));
            }
            // Qt's Firebird driver would wrap anything beyond 32 bits without a word.
            if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
                throw FieldError(
                    QStringLiteral("O valor %1 está fora do intervalo permitido para o "
                                   "campo %2 (-2147483648 a 2147483647).")
                        .arg(n)
                        .arg(label));
            stored = QVariant(int(n));
            break;
        }
        case FieldKind::Float: {
            double d = 0;
            if (isText) {
                auto parsed = format::parseFloat(text);
                if (!parsed)
                    throw invalid(QStringLiteral("um número válido"));
                d = *parsed;
            } else {
                bool ok = false;
                d = input.toDouble(&ok);
                if (!ok)
                    throw invalid(QStringLiteral("um número válido"));
            }
            if (!std::isfinite(d))
                throw invalid(QStringLiteral("um número válido"));
            if (def_.storedDecimals >= 0)
                d = roundToDecimals(d, def_.storedDecimals);
            if (def_.largest > 0 && std::fabs(d) > def_.largest)
                throw FieldError(
                    QStringLiteral("O valor %1 está fora do intervalo permitido para o "
                                   "campo %2 (de -%3 a %3).")
                        .arg(input.toString(), label, format::floatToStr(def_.largest)));
            stored = QVariant(d);
            break;
        }
        case FieldKind::Text: {
            const QString s = input.toString();
            const qsizetype length = characterCount(s);
            if (def_.size > 0 && length > def_.size)
                throw FieldError(
                    QStringLiteral("O texto do campo %1 tem %2 caracteres; o máximo é %3.")
                        .arg(label)
                        .arg(length)
                        .arg(def_.size));
            // An empty text is stored as empty (NULL), as the database reads it back.
            stored = s.isEmpty() ? QVariant() : QVariant(s);
            break;
        }
        case FieldKind::Date: {
            QDate d;
            if (isText) {
                auto parsed = format::parseDate(text);
                if (!parsed)
                    throw invalid(QStringLiteral("uma data válida"));
                d = *parsed;
            } else if (input.typeId() == QMetaType::QDateTime) {
                d = input.toDateTime().date();
            } else {
                d = input.toDate();
            }
            if (!d.isValid())
                throw invalid(QStringLiteral("uma data válida"));
            stored = QVariant(d);
            break;
        }
        case FieldKind::Time: {
            QTime t;
            if (isText) {
                auto parsed = format::parseTime(text);
                if (!parsed)
                    throw invalid(QStringLiteral("um horário válido"));
                t = *parsed;
            } else if (input.typeId() == QMetaType::QDateTime) {
                t = input.toDateTime().time();
            } else {
                t = input.toTime();
            }
            if (!t.isValid())
                throw invalid(QStringLiteral("um horário válido"));
            stored = QVariant(t);
            break;
        }
        case FieldKind::Blob:
            stored = QVariant(input.toByteArray());
            break;
        }
    }
    owner_->setCurrentValue(index_, stored);
}

} // namespace data
