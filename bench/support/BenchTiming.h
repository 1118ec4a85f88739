#pragma once
// Timing and failure helpers shared by the benchmark drivers.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace benchsupport {

// The fastest of runs calls of work, in seconds: the least disturbed by the
// other jobs of a shared machine.
inline double best(int runs, const std::function<void()>& work)
{
    double fastest = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        fastest = std::min(fastest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return fastest;
}

// A routine's error text ends the run: a benchmark of a failing step means nothing.
inline void check(const std::string& message)
{
    if (!message.empty()) {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::exit(1);
    }
}

} // namespace benchsupport
