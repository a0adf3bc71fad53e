#pragma once
// Edit masks as the designers wrote them ("!99/99/0000;1;_": mask, literal-saving flag, blank
// character) turned into Qt's input masks. The two systems differ: here '0' is a required digit
// and '9' an optional one; in Qt it is the other way round.
#include <QString>

namespace ui {

struct InputMask {
    QString qtMask;    // for QLineEdit::setInputMask; "" for no mask
    QString blankText; // the text of the empty mask, blanks as spaces ("  /  /    ")
};

InputMask convertEditMask(const QString& editMask);

} // namespace ui
