#pragma once
// The start-up file beside the program: its first line is the main database's path; a second
// and third line, when present, name the database user and password for it (a user a shop
// makes on its server with rights on its own database only). Only the login window writes it,
// on the first run; the data module reads it.
#include <QString>
#include <optional>

namespace startup {

// The file's first line without its line end; "" when the file is missing or empty. A file from
// Windows reads the same: a UTF-8 mark at its start, CR LF line ends and lines in Windows-1252.
QString firstLine(const QString& programFolder);

// A path of a Windows machine ("C:\Quiru\QUIRU.GDB", "\\servidor\pasta\QUIRU.GDB"), which
// this machine has not; "servidor:C:\Quiru\QUIRU.GDB" names a server and is not one.
bool isWindowsLocation(const QString& path);

// The default database, QUIRU.GDB in the program folder.
QString defaultDatabase(const QString& programFolder);

// Makes the first line name `path`, keeping the other lines and the file's line ends. False when
// the file cannot be written.
bool rewriteFirstLine(const QString& programFolder, const QString& path);

// The main database's path: the first line, or QUIRU.GDB in the program folder when it is empty.
QString mainDatabasePath(const QString& programFolder);

struct Login {
    QString user;
    QString password;
};

// The user the program itself connects as when the file names none.
Login programLogin();

// The second and third lines; nullopt when there is no second line (the program's own user).
std::optional<Login> mainDatabaseLogin(const QString& programFolder);

// First run: when the first line is empty, writes the default path (no line end). Returns false
// when the file cannot be written; the program then still opens the default database.
bool writeDefaultWhenEmpty(const QString& programFolder);

} // namespace startup
