#pragma once
// A desktop logout, a shutdown, `kill` or Ctrl+C in a terminal must end the program cleanly, not
// leave its windows open on a connection the database client has dropped.
#include <functional>

namespace os {

// Call first thing in main, before any thread starts. SIGTERM, SIGINT and SIGHUP are then held
// in every thread and taken by one thread of ours, so that none interrupts a database engine
// thread in a wait, and the database client's own handlers never run.
void holdTerminationSignals();

// Calls handler(signal) on the calling thread's event loop for each held signal, including one
// that arrived before this call. A later call replaces the handler.
void onTerminationSignal(std::function<void(int)> handler);

} // namespace os
