#include "numeric/LargeBuffer.h"

#include <cstdint>
#include <sys/mman.h>

namespace raylen {

namespace {

constexpr size_t hugePage = size_t(2) << 20;

} // namespace

void* allocateLargeBuffer(size_t bytes)
{
    // Map one huge page more than asked so the block can start on a huge
    // page boundary; the unused head and tail are returned at once.
    size_t total = bytes + hugePage;
    void* mapped = ::mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
    uintptr_t aligned = (start + hugePage - 1) & ~(hugePage - 1);
    size_t head = aligned - start;
    if (head > 0)
        ::munmap(mapped, head);
    size_t tail = total - head - bytes;
    size_t pageTail = tail & ~static_cast<size_t>(4095);
    uintptr_t end = aligned + bytes;
    uintptr_t tailStart = (end + 4095) & ~static_cast<uintptr_t>(4095);
    if (pageTail > 0 && tailStart < start + total)
        ::munmap(reinterpret_cast<void*>(tailStart), start + total - tailStart);
    ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void releaseLargeBuffer(void* block, size_t bytes) noexcept
{
    size_t rounded = (bytes + 4095) & ~static_cast<size_t>(4095);
    ::munmap(block, rounded);
}

} // namespace raylen
