#pragma once
// Runs one measurement in a forked child, so each starts from a fresh process: nothing cached by
// an earlier run, and the memory a run grows by is its own. The parent never loads the database
// engine, whose threads would not survive a fork.
#include <functional>
#include <string>

namespace bench {

struct Sample {
    double seconds = 0;
    long rows = 0;
    long values = 0; // non-null values read, where the work counts them
    // Resident memory growth over the timed work: the peak (VmHWM, reset at the start through
    // /proc/self/clear_refs) and what is still held when it ends (VmRSS), in bytes.
    long peakBytes = 0;
    long heldBytes = 0;
};

// Inside the child: the body does its set-up (attach, open the connection), calls start(), does
// the timed work and calls stop() while its result is still alive.
class Probe {
public:
    void start();
    void stop(long rows, long values = 0);
    const Sample& sample() const { return sample_; }

private:
    Sample sample_;
    long startRss_ = 0;
    double startTime_ = 0;
};

// Throws std::runtime_error with the child's message when the body throws or the child dies.
Sample measureInChild(const std::function<void(Probe&)>& body);

} // namespace bench
