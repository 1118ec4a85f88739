#include "raylen_ext.h"


namespace {

// The callers pass arrays of their own element type; these aliases let one
// loop of plain shifts (which the compiler vectorises) serve all of them.
typedef uint16_t __attribute__((may_alias)) AliasU16;
typedef uint32_t __attribute__((may_alias)) AliasU32;

void swap2(void* first, int32_t count)
{
    if (first == nullptr || count <= 0)
        return;
    AliasU16* p = static_cast<AliasU16*>(first);
    for (int32_t i = 0; i < count; ++i)
        p[i] = static_cast<uint16_t>((p[i] >> 8) | (p[i] << 8));
}

void swap4(void* first, int32_t count)
{
    if (first == nullptr || count <= 0)
        return;
    AliasU32* p = static_cast<AliasU32*>(first);
    for (int32_t i = 0; i < count; ++i)
        p[i] = __builtin_bswap32(p[i]);
}

} // namespace

extern "C" {

void VB_ffswap2(int16_t* first, int32_t count) { swap2(first, count); }
void VB_ffswap4(float* first, int32_t count) { swap4(first, count); }
void VB_ffswap4Lng(int32_t* first, int32_t count) { swap4(first, count); }

}
