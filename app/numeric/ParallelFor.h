#pragma once
// Splits an index range into contiguous blocks, one per core, and runs a
// block function on each: the caller's thread takes the first block. Every
// index is visited exactly once and the split depends only on the count,
// the grain and the worker count, so work that writes index i's result to
// slot i gives the same bytes on one core as on many.
#include <algorithm>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

namespace raylen {

// Cores this process may run on (its affinity mask), at least one, and no
// more than the worker limit.
unsigned availableCores();

// Caps the workers of later parallelFor calls in this process; 0 lifts the
// cap. The first cap comes from RAYLEN_JOBS in the environment, so that a
// batch running frames side by side can keep each process to its share.
void setWorkerLimit(unsigned limit);
unsigned workerLimit();

namespace detail {
// True inside a block run by parallelFor: nested calls run in line rather
// than start threads of their own.
bool& insideParallelBlock();
} // namespace detail

// Calls block(begin, end) over [0, count) in at most `workers` blocks of at
// least `grain` indices. The first exception (in block order) is rethrown
// once every block has ended.
template <class Block>
void parallelFor(size_t count, size_t grain, Block&& block, unsigned workers = availableCores())
{
    if (count == 0)
        return;
    grain = std::max<size_t>(grain, 1);
    size_t blocks = std::min<size_t>(std::max(workers, 1u), (count + grain - 1) / grain);
    if (blocks <= 1 || detail::insideParallelBlock()) {
        block(size_t(0), count);
        return;
    }
    const size_t base = count / blocks, extra = count % blocks;
    auto bounds = [&](size_t k) { return k * base + std::min(k, extra); };
    std::vector<std::exception_ptr> errors(blocks);
    auto run = [&](size_t k) {
        bool& inside = detail::insideParallelBlock();
        const bool outer = inside;
        inside = true;
        try {
            block(bounds(k), bounds(k + 1));
        } catch (...) {
            errors[k] = std::current_exception();
        }
        inside = outer;
    };
    std::vector<std::thread> threads;
    threads.reserve(blocks - 1);
    for (size_t k = 1; k < blocks; ++k)
        threads.emplace_back(run, k);
    run(0);
    for (std::thread& t : threads)
        t.join();
    for (const std::exception_ptr& e : errors)
        if (e)
            std::rethrow_exception(e);
}

} // namespace raylen
