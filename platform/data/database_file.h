#pragma once
// What a file offered as a database is, told by its first bytes, not by its name: a database
// (and the on-disk structure it was written in), a backup made by the engine's gbak, or
// something else. And the restore of such a backup through gbak.
#include <QString>
#include <functional>

namespace data {

enum class DatabaseFileKind { Missing, Database, GbakBackup, Other };

struct DatabaseFileInfo {
    DatabaseFileKind kind = DatabaseFileKind::Missing;
    int ods = 0; // the on-disk structure's major version, for a database
};

// The on-disk structure the engine here opens; older files need a gbak backup and restore.
inline constexpr int kEngineOds = 12;

DatabaseFileInfo inspectDatabaseFile(const QString& path);

// Restores a gbak backup into a new database file `target` (which must not exist yet) through
// the engine's own gbak, as `user`. `progress` is asked now and then whether to go on; false
// stops the restore. Throws DatabaseError in Portuguese, gbak's words as detail; a stopped or
// failed restore leaves no target behind.
void restoreGbak(const QString& backup, const QString& target, const QString& user,
                 const QString& password, const std::function<bool()>& progress = {});

} // namespace data
