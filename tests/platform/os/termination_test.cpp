// Ending signals reach the program as a call on its event loop, one call per signal.
#include "platform/os/termination.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(TerminationSignal, EachEndingSignalCallsTheHandlerOnTheEventLoop) {
    std::vector<int> received;
    os::onTerminationSignal([&](int signal) { received.push_back(signal); });
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const size_t before = received.size();
        ::raise(signal);
        EXPECT_EQ(received.size(), before) << "called from the event loop, not the signal handler";
        QElapsedTimer waited;
        waited.start();
        while (received.size() == before && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
}

} // namespace
