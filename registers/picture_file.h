#pragma once
// Pictures chosen for a product or the company logo: the dialog, and the file's bytes.
#include <QByteArray>
#include <QString>

class QWidget;

// Largest picture stored: bigger files would weigh on every read of the record.
inline constexpr qint64 kMaxPictureBytes = 1024 * 1024;

// The picture dialog (every format the program can show); "" when the user cancels it.
QString choosePictureFile(QWidget* parent);

// The whole file, byte for byte. Throws std::runtime_error with a message for the user when the
// file cannot be read, is larger than kMaxPictureBytes or is not a picture.
QByteArray readPictureFile(const QString& path);
