#pragma once
// Copies of database files: the manual backup, the restore and the automatic backup. A live
// Firebird file copied while it is open is corrupt more often than not, and half a file copied
// over a good backup loses both, so every copy here is taken of a closed file, written beside
// its target, proved to open as a database, and only then renamed over the target.
#include <QString>
#include <functional>

namespace data {
class SqlConnection;
}

namespace admin {

// A path the engine reaches over the network ("servidor:/dados/QUIRU.GDB",
// "servidor/3050:/dados/QUIRU.GDB"): no file of this machine that could be copied.
bool isServerPath(const QString& path);

// The same file, however the two paths are written.
bool samePath(const QString& a, const QString& b);

// Whether the file is a database the engine opens and reads through, table by table, with the
// user and password of `like`. When it is not, `why` says so in Portuguese.
bool opensAsDatabase(const data::SqlConnection& like, const QString& path, QString* why = nullptr);

// Copies source to target through a temporary file beside the target, which must open as a
// database (user and password of `like`) before it replaces the target. A gbak backup given as
// source is restored through the engine into that file instead. `copied` runs as soon
// as the source has been read, before the check. Throws std::runtime_error in Portuguese; the
// target is then as it was.
void copyDatabase(const data::SqlConnection& like, const QString& source, const QString& target,
                  const std::function<void()>& copied = {});

// Copies the database `main` has open: the attachment is closed for the copy and opened again
// at once, even when the copy fails.
void copyOpenDatabase(data::SqlConnection& main, const QString& target);

// One tick of the automatic backup: copies source to target, closing `main` around the copy when
// source is the file it has open. Silent, as a timer must be: false when nothing was copied.
bool automaticBackup(data::SqlConnection& main, const QString& source, const QString& target);

// The message for a main database on a server, which this machine cannot copy.
QString serverDatabaseMessage();

} // namespace admin
