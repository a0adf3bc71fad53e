#include "platform/os/termination.h"
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace os {
namespace {

int pipeEnds[2] = {-1, -1};
std::function<void(int)> currentHandler;

// Only async-signal-safe work here: the number goes down a pipe the event loop watches.
void forward(int signal) {
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
}

} // namespace

void onTerminationSignal(std::function<void(int)> handler) {
    currentHandler = std::move(handler);
    if (pipeEnds[0] >= 0)
        return;
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // no pipe: the signals keep their default effect, which also ends the program
    auto* notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        unsigned char number = 0;
        while (::read(pipeEnds[0], &number, 1) == 1)
            if (currentHandler)
                currentHandler(number);
    });
    struct sigaction action = {};
    action.sa_handler = forward;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

} // namespace os
