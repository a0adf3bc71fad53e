#include "platform/ui/edit_mask.h"
#include <QStringList>

namespace ui {

namespace {

// The mask's sections are separated by ';' not escaped by '\'.
QStringList sections(const QString& mask) {
    QStringList parts(QString{});
    for (qsizetype i = 0; i < mask.size(); ++i) {
        if (mask[i] == '\\' && i + 1 < mask.size()) {
            parts.last() += mask.mid(i, 2);
            ++i;
        } else if (mask[i] == ';') {
            parts << QString();
        } else {
            parts.last() += mask[i];
        }
    }
    return parts;
}

// Characters with a meaning in Qt's masks, to be escaped where ours are plain literals.
bool qtMeta(QChar c) {
    return QStringLiteral("AaNnXx90Dd#HhBb><!;[]{}\\").contains(c);
}

void addLiteral(InputMask& out, QChar c) {
    if (qtMeta(c))
        out.qtMask += '\\';
    out.qtMask += c;
    out.blankText += c;
}

void addPlace(InputMask& out, QChar qtChar) {
    out.qtMask += qtChar;
    out.blankText += ' ';
}

} // namespace

InputMask convertEditMask(const QString& editMask) {
    const QStringList parts = sections(editMask);
    const QString mask = parts.value(0);
    if (mask.isEmpty())
        return {};
    // Only the first ';'-part is the mask; the literal-saving flag has no Qt counterpart (the
    // text keeps its literals), the last part is the blank character.
    const QString blank = parts.size() >= 3 ? parts.last() : QString();
    const QChar blankChar = blank.isEmpty() ? QChar('_') : blank[0];

    InputMask out;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case '!': // leading blanks for optional places: Qt has no such switch
            break;
        case '>':
            out.qtMask += '>';
            break;
        case '<':
            if (i + 1 < mask.size() && mask[i + 1] == '>') {
                out.qtMask += '!'; // "<>": case conversion off
                ++i;
            } else {
                out.qtMask += '<';
            }
            break;
        case '\\':
            if (i + 1 < mask.size())
                addLiteral(out, mask[++i]);
            break;
        case '0':
            addPlace(out, '9');
            break;
        case '9':
            addPlace(out, '0');
            break;
        case '#':
            addPlace(out, '#');
            break;
        case 'L':
            addPlace(out, 'A');
            break;
        case 'l':
            addPlace(out, 'a');
            break;
        case 'A':
            addPlace(out, 'N');
            break;
        case 'a':
            addPlace(out, 'n');
            break;
        case 'C':
            addPlace(out, 'X');
            break;
        case 'c':
            addPlace(out, 'x');
            break;
        case '_': // a space that is part of the text
            addLiteral(out, ' ');
            break;
        default:
            addLiteral(out, c);
            break;
        }
    }
    out.qtMask += ';';
    out.qtMask += blankChar;
    return out;
}

} // namespace ui
