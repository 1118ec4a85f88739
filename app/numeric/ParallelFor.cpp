#include "numeric/ParallelFor.h"

#include <sched.h>

#include <atomic>
#include <cstdlib>
#include <limits>

namespace raylen {

namespace {

constexpr const char* jobsVariable = "RAYLEN_JOBS";

// A positive whole number in RAYLEN_JOBS, else no cap.
unsigned limitFromEnvironment()
{
    const char* text = std::getenv(jobsVariable);
    if (text == nullptr || *text == '\0')
        return 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end != '\0' || value == 0 || value > std::numeric_limits<unsigned>::max())
        return 0;
    return static_cast<unsigned>(value);
}

std::atomic<unsigned>& limitSlot()
{
    static std::atomic<unsigned> limit{limitFromEnvironment()};
    return limit;
}

unsigned affinityCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int n = CPU_COUNT(&set);
        if (n > 0)
            return static_cast<unsigned>(n);
    }
    return std::max(std::thread::hardware_concurrency(), 1u);
}

} // namespace

void setWorkerLimit(unsigned limit) { limitSlot().store(limit); }

unsigned workerLimit() { return limitSlot().load(); }

unsigned availableCores()
{
    const unsigned cores = affinityCores(), limit = workerLimit();
    return limit == 0 ? cores : std::min(cores, limit);
}

namespace detail {

bool& insideParallelBlock()
{
    thread_local bool inside = false;
    return inside;
}

} // namespace detail

} // namespace raylen
