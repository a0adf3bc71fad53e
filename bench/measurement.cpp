#include "bench/measurement.h"
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

namespace {

double now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

long statusBytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t keyLength = std::strlen(key);
    while (std::getline(status, line))
        if (line.compare(0, keyLength, key) == 0)
            return std::stol(line.substr(keyLength + 1)) * 1024; // "VmHWM:   1234 kB"
    return 0;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// What travels through the pipe: the sample, or the error text.
struct Report {
    bool ok = false;
    Sample sample;
    char error[1024] = {};
};

} // namespace

void Probe::start() {
    resetPeak();
    startRss_ = statusBytes("VmRSS:");
    startTime_ = now();
}

void Probe::stop(long rows, long values) {
    sample_.seconds = now() - startTime_;
    sample_.rows = rows;
    sample_.values = values;
    sample_.peakBytes = statusBytes("VmHWM:") - startRss_;
    sample_.heldBytes = statusBytes("VmRSS:") - startRss_;
}

Sample measureInChild(const std::function<void(Probe&)>& body) {
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        close(fds[0]);
        Report report;
        try {
            Probe probe;
            body(probe);
            report.sample = probe.sample();
            report.ok = true;
        } catch (const std::exception& e) {
            std::snprintf(report.error, sizeof report.error, "%s", e.what());
        }
        const ssize_t written = write(fds[1], &report, sizeof report);
        std::fflush(stdout);
        // Skips the engine's and Qt's exit handlers: the child's work is done.
        _exit(written == ssize_t(sizeof report) ? 0 : 1);
    }
    close(fds[1]);
    Report report;
    std::size_t got = 0;
    while (got < sizeof report) {
        const ssize_t n = read(fds[0], reinterpret_cast<char*>(&report) + got, sizeof report - got);
        if (n <= 0)
            break;
        got += std::size_t(n);
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got != sizeof report)
        throw std::runtime_error("the measurement process died");
    if (!report.ok)
        throw std::runtime_error(report.error);
    return report.sample;
}

} // namespace bench
