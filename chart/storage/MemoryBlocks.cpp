#include "storage/MemoryBlocks.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <new>

#include "lumigra/MemoryBlocks.h"
#include "module/Module.h"

namespace lumigra {

namespace {

struct BlockTable {
    std::map<int32_t, std::vector<uint8_t>> blocks;
    int32_t last = 0;
};

BlockTable& table()
{
    static auto* t = new BlockTable; // outlives controls destroyed at exit
    return *t;
}

} // namespace

int32_t allocateBlock(std::vector<uint8_t> bytes)
{
    std::lock_guard guard(moduleLock());
    BlockTable& t = table();
    // Handles are positive and never 0; a handle is not reused while live.
    for (int tries = 0; tries < 1 << 20; ++tries) {
        t.last = t.last >= 0x7FFFFFFF || t.last < 0 ? 1 : t.last + 1;
        if (!t.blocks.count(t.last)) {
            t.blocks.emplace(t.last, std::move(bytes));
            return t.last;
        }
    }
    return 0;
}

std::optional<std::vector<uint8_t>> blockBytes(int32_t handle)
{
    std::lock_guard guard(moduleLock());
    auto found = table().blocks.find(handle);
    if (found == table().blocks.end())
        return std::nullopt;
    return found->second;
}

bool freeBlock(int32_t handle)
{
    std::lock_guard guard(moduleLock());
    return table().blocks.erase(handle) > 0;
}

size_t liveBlockCount()
{
    std::lock_guard guard(moduleLock());
    return table().blocks.size();
}

} // namespace lumigra

extern "C" {

__attribute__((visibility("default"))) int32_t LgGlobalAlloc(const void* bytes, uint32_t size)
{
    try {
        auto* p = static_cast<const uint8_t*>(bytes);
        std::vector<uint8_t> block(size);
        if (size && p)
            std::memcpy(block.data(), p, size);
        return lumigra::allocateBlock(std::move(block));
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

__attribute__((visibility("default"))) uint32_t LgGlobalSize(int32_t handle)
{
    std::lock_guard guard(lumigra::moduleLock());
    auto found = lumigra::table().blocks.find(handle);
    return found == lumigra::table().blocks.end() ? 0 : static_cast<uint32_t>(found->second.size());
}

__attribute__((visibility("default"))) uint32_t LgGlobalRead(int32_t handle, void* out, uint32_t capacity)
{
    std::lock_guard guard(lumigra::moduleLock());
    auto found = lumigra::table().blocks.find(handle);
    if (found == lumigra::table().blocks.end() || !out)
        return 0;
    uint32_t n = static_cast<uint32_t>(std::min<size_t>(capacity, found->second.size()));
    if (n)
        std::memcpy(out, found->second.data(), n);
    return n;
}

__attribute__((visibility("default"))) int32_t LgGlobalFree(int32_t handle)
{
    return lumigra::freeBlock(handle) ? 0 : handle;
}

} // extern "C"
