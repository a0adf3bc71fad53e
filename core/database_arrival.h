#pragma once
// Before the main database is opened: what a shop brings from an older installation is set
// right where the user agrees. A start-up file naming a Windows location is pointed at the
// QUIRU.GDB beside the program; a gbak backup found where the database should be is restored
// there (the backup is kept beside it). Otherwise the open fails with a Portuguese reason.
class QWidget;
class QString;

// Throws data::DatabaseError (Portuguese) when the database cannot be where it must be; the
// program then ends, as for any database that does not open.
void settleMainDatabase(const QString& programFolder, QWidget* parent);
