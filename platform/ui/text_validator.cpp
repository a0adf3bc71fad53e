#include "platform/ui/text_validator.h"
#include "platform/data/field_def.h"
#include <QLineEdit>

namespace ui {

QValidator::State TextValidator::validate(QString& input, int& position) const {
    // Upper-casing keeps the length of Portuguese text, so the cursor stays where it was.
    if (charCase_ == CharCase::Upper) {
        const QString upper = input.toUpper();
        if (upper.size() == input.size())
            input = upper;
    }
    // Like a length limit, a paste that is too long keeps what fits.
    if (limit_ > 0 && data::characterCount(input) > limit_) {
        input = firstCharacters(input, limit_);
        position = std::min(position, int(input.size()));
    }
    return Acceptable;
}

TextValidator* textValidator(QLineEdit* edit) {
    if (auto* own = dynamic_cast<TextValidator*>(const_cast<QValidator*>(edit->validator())))
        return own;
    auto* validator = new TextValidator(edit);
    edit->setValidator(validator);
    return validator;
}

QString firstCharacters(const QString& text, int count) {
    qsizetype units = 0;
    for (int taken = 0; units < text.size() && taken < count; ++taken)
        units += text.at(units).isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
    return text.left(units);
}

} // namespace ui
