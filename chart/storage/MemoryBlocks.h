#pragma once
// The module's table of movable memory blocks: handles to byte blocks.
#include <cstdint>
#include <optional>
#include <vector>

namespace lumigra {

// 0 when the table is full.
int32_t allocateBlock(std::vector<uint8_t> bytes);
// A copy of the block, or nothing for an unknown handle.
std::optional<std::vector<uint8_t>> blockBytes(int32_t handle);
bool freeBlock(int32_t handle);
size_t liveBlockCount();

} // namespace lumigra
