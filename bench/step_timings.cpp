#include "bench/step_timings.h"
#include <algorithm>

namespace bench {

double StepTimings::median() const {
    if (samples_.empty())
        return 0;
    std::vector<double> sorted = samples_;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double StepTimings::worst() const {
    return samples_.empty() ? 0 : *std::max_element(samples_.begin(), samples_.end());
}

} // namespace bench
