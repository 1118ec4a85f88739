#pragma once
// Allocator for image-sized buffers. Large blocks come straight from mmap,
// aligned for transparent huge pages: on virtual machines a page fault per
// 4 KiB costs more than reading the data, and fresh mmap memory is already
// zero, so elements are not value-initialised a second time.
#include <cstddef>
#include <cstring>
#include <new>
#include <vector>

namespace raylen {

void* allocateLargeBuffer(size_t bytes);
void releaseLargeBuffer(void* block, size_t bytes) noexcept;
// Blocks from this size on are mapped; smaller ones use operator new.
constexpr size_t largeBufferThreshold = size_t(1) << 21;

template <class T>
struct LargeBufferAllocator {
    using value_type = T;
    LargeBufferAllocator() = default;
    template <class U>
    LargeBufferAllocator(const LargeBufferAllocator<U>&) noexcept
    {
    }

    T* allocate(size_t n)
    {
        if (n > static_cast<size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        size_t bytes = n * sizeof(T);
        if (bytes >= largeBufferThreshold)
            return static_cast<T*>(allocateLargeBuffer(bytes));
        T* p = static_cast<T*>(::operator new(bytes));
        std::memset(static_cast<void*>(p), 0, bytes);
        return p;
    }
    void deallocate(T* p, size_t n) noexcept
    {
        size_t bytes = n * sizeof(T);
        if (bytes >= largeBufferThreshold)
            releaseLargeBuffer(p, bytes);
        else
            ::operator delete(p);
    }
    // Elements start as the zero bytes the allocation already holds.
    template <class U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <class U>
    bool operator==(const LargeBufferAllocator<U>&) const noexcept
    {
        return true;
    }
};

// Zero-filled on creation, like a vector of T.
template <class T>
using LargeVector = std::vector<T, LargeBufferAllocator<T>>;

} // namespace raylen
