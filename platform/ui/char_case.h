#pragma once
// Text forced to upper case as it is typed (or pasted); text set by the program is left as is.
#include "platform/ui/text_validator.h"

namespace ui {

class UpperCaseValidator : public TextValidator {
public:
    explicit UpperCaseValidator(QObject* parent = nullptr) : TextValidator(parent) {
        setCharCase(CharCase::Upper);
    }
};

} // namespace ui
