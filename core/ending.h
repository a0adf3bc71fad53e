#pragma once
// How the program ends when told to by the system (logout, shutdown, kill, Ctrl+C).

// From then on a held ending signal drops any unsaved edit, closes the databases of DM and ends
// the process at once with 128 + the signal: leaving at once keeps the code after a window's
// modal loop from running against closed databases. Needs os::holdTerminationSignals() first.
void closeDatabasesOnTerminationSignal();
