#include "platform/os/termination.h"
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace os {
namespace {

int pipeEnds[2] = {-1, -1};
std::function<void(int)> currentHandler;
QSocketNotifier* notifier = nullptr;

sigset_t endingSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&set, signal);
    return set;
}

} // namespace

void holdTerminationSignals() {
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return;
    const sigset_t set = endingSignals();
    // Every thread started from here on inherits the mask.
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set] {
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0)
                continue;
            const unsigned char number = static_cast<unsigned char>(signal);
            if (::write(pipeEnds[1], &number, 1) != 1)
                std::_Exit(128 + signal); // nobody can be told: end as the signal would
        }
    }).detach();
}

void onTerminationSignal(std::function<void(int)> handler) {
    currentHandler = std::move(handler);
    if (notifier || pipeEnds[0] < 0)
        return;
    notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        unsigned char number = 0;
        if (::read(pipeEnds[0], &number, 1) == 1 && currentHandler)
            currentHandler(number);
    });
}

} // namespace os
