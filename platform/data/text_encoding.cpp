#include "platform/data/text_encoding.h"
#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace data {

namespace {
// Windows-1252 differs from Latin-1 in 0x80..0x9F only; the five bytes it leaves undefined
// read as the control characters Latin-1 has there.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

bool isUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(decoder(bytes));
    return !decoder.hasError();
}

QString fromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return text;
}

std::optional<QByteArray> toWindows1252(QStringView text, QString* unmappable) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            bytes.append(char(c));
            continue;
        }
        const auto* found = std::find(kHigh.begin(), kHigh.end(), c);
        if (found != kHigh.end()) {
            bytes.append(char(0x80 + (found - kHigh.begin())));
            continue;
        }
        if (unmappable) // a character beyond 16 bits comes whole
            *unmappable =
                text.mid(i, text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1).toString();
        return std::nullopt;
    }
    return bytes;
}

QString fromUtf8OrWindows1252(QByteArrayView bytes) {
    return isUtf8(bytes) ? QString::fromUtf8(bytes) : fromWindows1252(bytes);
}

} // namespace data
