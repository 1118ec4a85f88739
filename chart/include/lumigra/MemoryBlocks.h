#pragma once
// Movable memory blocks handed between the component and its host, such as
// the chart saved by SaveToMemory. A block is known by a 32-bit handle; the
// holder of a handle owns the block and frees it.
#include <cstdint>

extern "C" {

// A new block holding a copy of size bytes; 0 when it cannot be made.
int32_t LgGlobalAlloc(const void* bytes, uint32_t size);
// The block's size in bytes; 0 for an unknown handle.
uint32_t LgGlobalSize(int32_t handle);
// Copies up to capacity bytes of the block; returns the number copied.
uint32_t LgGlobalRead(int32_t handle, void* out, uint32_t capacity);
// Frees the block; returns 0 when it was freed, the handle itself when it
// was not a live block.
int32_t LgGlobalFree(int32_t handle);

} // extern "C"
