#pragma once
// The update command: reads the newest version's number from the update server and, when it is
// not the one installed, starts the updater beside the program, records the new version and ends
// the program.
#include <QString>

class QWidget;
class TDownloadFile;

// The version file's address. The program's own server unless QUIRU_UPDATE_URL names another
// (a shop's own server, or the tests').
QString versionFileUrl();

// Returns once the command is over; the program's end is asked of the application.
void checkForUpdate(QWidget* parent, TDownloadFile& download);
