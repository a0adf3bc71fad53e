#pragma once
// Operating-system services the windows need: the program's folder, safe file copies, and
// starting another program.
#include <QString>
#include <QStringList>

namespace os {

// The folder of the running executable, with a trailing separator.
QString programFolder();

bool fileExists(const QString& path);
bool folderExists(const QString& path);

// Copies source over target. The copy is written beside the target under another name and
// renamed at the end, so a failed copy never leaves half a file where the target was. Throws
// std::runtime_error with a Portuguese message naming the file that failed.
void copyFile(const QString& source, const QString& target);

// Starts a program without waiting for it; false when it could not be started.
bool startDetached(const QString& program, const QStringList& arguments = {});

} // namespace os
