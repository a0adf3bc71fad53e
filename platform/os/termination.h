#pragma once
// A desktop logout, a shutdown, `kill` or Ctrl+C in a terminal must end the program cleanly, not
// leave its windows open on a connection the database client has dropped. The signal is turned
// into a call on the event loop's thread, where the program may close its files safely.
#include <functional>

namespace os {

// Calls handler(signal) on the calling thread's event loop when SIGTERM, SIGINT or SIGHUP
// arrives. Installed once; a later call replaces the handler.
void onTerminationSignal(std::function<void(int)> handler);

} // namespace os
