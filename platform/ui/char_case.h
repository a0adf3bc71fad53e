#pragma once
// Text forced to upper case as it is typed (or pasted); text set by the program is left as is.
#include <QValidator>

namespace ui {

enum class CharCase { Normal, Upper };

class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace ui
