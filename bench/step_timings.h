#pragma once
// The durations one step took over the repeats of a benchmark, in milliseconds.
#include <chrono>
#include <utility>
#include <vector>

namespace bench {

class StepTimings {
public:
    void add(double milliseconds) { samples_.push_back(milliseconds); }
    bool empty() const { return samples_.empty(); }
    double median() const; // 0 when empty
    double worst() const;  // 0 when empty

private:
    std::vector<double> samples_;
};

// Runs fn and returns how long it took, in milliseconds.
template <typename Fn> double millisecondsOf(Fn&& fn) {
    const auto start = std::chrono::steady_clock::now();
    std::forward<Fn>(fn)();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace bench
