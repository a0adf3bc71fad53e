#pragma once
// What may be typed (or pasted) into a text box: upper case when asked, and no more characters
// than the column holds, counted as the database counts them (an emoji is one character, though
// Qt's own length limit would count it as two).
#include <QValidator>

class QLineEdit;

namespace ui {

enum class CharCase { Normal, Upper };

class TextValidator : public QValidator {
public:
    using QValidator::QValidator;
    void setCharCase(CharCase charCase) { charCase_ = charCase; }
    void setCharacterLimit(int limit) { limit_ = limit; } // 0: no limit
    State validate(QString& input, int& position) const override;

private:
    CharCase charCase_ = CharCase::Normal;
    int limit_ = 0;
};

// The edit's own TextValidator, attached on first use.
TextValidator* textValidator(QLineEdit* edit);

// The first count characters of text, never splitting a character beyond the 16-bit range.
QString firstCharacters(const QString& text, int count);

} // namespace ui
