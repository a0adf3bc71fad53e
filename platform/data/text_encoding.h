#pragma once
// Texts as older Windows programs stored them: in Windows-1252, one byte a letter. Used for the
// texts of databases whose columns hold such bytes and for start-up files written on Windows.
#include <QByteArray>
#include <QString>
#include <optional>

namespace data {

// Whether the bytes are valid UTF-8 (plain ASCII is).
bool isUtf8(QByteArrayView bytes);

QString fromWindows1252(QByteArrayView bytes);

// The text's Windows-1252 bytes; nullopt when a character has none ("≥", "✓", an emoji), the
// first such character then in *unmappable.
std::optional<QByteArray> toWindows1252(QStringView text, QString* unmappable = nullptr);

// UTF-8 when the bytes are valid UTF-8, else Windows-1252: what a text file of unknown origin
// most likely holds.
QString fromUtf8OrWindows1252(QByteArrayView bytes);

} // namespace data
