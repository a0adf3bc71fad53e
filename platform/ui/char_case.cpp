#include "platform/ui/char_case.h"

namespace ui {

QValidator::State UpperCaseValidator::validate(QString& input, int&) const {
    // Upper-casing keeps the length of Portuguese text, so the cursor stays where it was.
    const QString upper = input.toUpper();
    if (upper.size() == input.size())
        input = upper;
    return Acceptable;
}

} // namespace ui
