#pragma once
// Charts written to files as the user sees them.
#include <QString>

class QWidget;

// The chosen name with ".bmp" added, unless it already ends in it (in any case).
QString bitmapFileName(const QString& chosen);

// Draws the widget on a white background and writes it as a Windows bitmap. False when the file
// cannot be written.
bool saveBitmap(QWidget* widget, const QString& path);
