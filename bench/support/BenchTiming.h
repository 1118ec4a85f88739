#pragma once
// Timing and failure helpers shared by the benchmark drivers.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

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

// The fastest run of each work, the works taking turns within every round:
// a ratio of two of them then compares runs made under the same load.
inline std::vector<double> bestEach(int runs, const std::vector<std::function<void()>>& works)
{
    std::vector<double> fastest(works.size(), 1e30);
    for (int r = 0; r < runs; ++r)
        for (size_t w = 0; w < works.size(); ++w) {
            const auto start = std::chrono::steady_clock::now();
            works[w]();
            fastest[w] =
                std::min(fastest[w], std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
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
