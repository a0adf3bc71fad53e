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

// Starts a program that should keep running or hand its work on (an opener such as xdg-open),
// and watches it for a moment: false when it could not start or ended at once with a failure
// (no program for the file, a broken installation). The program is never stopped by ours.
bool startWatched(const QString& program, const QStringList& arguments = {}, int watchMs = 1500);

} // namespace os
