#pragma once
// The one reference count of the chart's objects: an object starts with
// the reference of its creator and deletes itself when the last one goes.
// Self is the class that derives from it (deleted as itself, through its
// virtual destructor where kinds derive further).
#include <atomic>
#include <cstdint>

namespace lumigra {

template <class Self>
class RefCounted {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

protected:
    uint32_t addRef() { return ++refs_; }
    uint32_t release()
    {
        uint32_t n = --refs_;
        if (n == 0)
            delete static_cast<Self*>(this);
        return n;
    }

private:
    std::atomic<uint32_t> refs_{1};
};

} // namespace lumigra
