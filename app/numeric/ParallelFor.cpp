#include "numeric/ParallelFor.h"

#include <sched.h>

namespace raylen {

unsigned availableCores()
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

namespace detail {

bool& insideParallelBlock()
{
    thread_local bool inside = false;
    return inside;
}

} // namespace detail

} // namespace raylen
