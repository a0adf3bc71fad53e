#include "platform/data/text_order.h"
#include <QString>
#include <array>

namespace data {

namespace {
std::array<char16_t, 65536> makeFoldTable() {
    std::array<char16_t, 65536> table{};
    for (int c = 0; c < 65536; ++c) {
        const QChar ch{char16_t(c)};
        char16_t base = char16_t(c);
        if (ch.decompositionTag() == QChar::Canonical) {
            const QString parts = ch.decomposition();
            if (!parts.isEmpty())
                base = parts.at(0).unicode();
        }
        table[c] = QChar(base).toUpper().unicode();
    }
    return table;
}
} // namespace

char16_t foldForOrder(char16_t c) {
    static const auto table = makeFoldTable();
    return table[c];
}

int compareText(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x == y)
            continue;
        const char16_t fx = foldForOrder(x), fy = foldForOrder(y);
        if (fx != fy)
            return fx < fy ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

QString foldForOrderSql(const QString& column) {
    static const struct {
        const char16_t* accented;
        char16_t base;
    } letters[] = {{u"ÁÀÂÃÄ", u'A'}, {u"ÉÈÊË", u'E'}, {u"ÍÌÎÏ", u'I'}, {u"ÓÒÔÕÖ", u'O'},
                   {u"ÚÙÛÜ", u'U'},  {u"Ç", u'C'},    {u"Ñ", u'N'}};
    QString folded = QStringLiteral("UPPER(%1)").arg(column);
    for (const auto& letter : letters)
        for (const char16_t* c = letter.accented; *c; ++c)
            folded = QStringLiteral("REPLACE(%1, '%2', '%3')")
                         .arg(folded, QChar(*c), QChar(letter.base));
    // A text of plain ASCII, most of them, skips the replacing: each one costs on every row.
    return QStringLiteral("IIF(OCTET_LENGTH(%1) = CHAR_LENGTH(%1), UPPER(%1), %2)")
        .arg(column, folded);
}

} // namespace data
