#include "raylen_ext.h"

#include <cstring>

namespace {

template <size_t Size>
void swapElements(void* first, int32_t count)
{
    if (first == nullptr || count <= 0)
        return;
    unsigned char* bytes = static_cast<unsigned char*>(first);
    for (int32_t i = 0; i < count; ++i, bytes += Size) {
        if constexpr (Size == 2) {
            uint16_t v;
            std::memcpy(&v, bytes, 2);
            v = __builtin_bswap16(v);
            std::memcpy(bytes, &v, 2);
        } else {
            uint32_t v;
            std::memcpy(&v, bytes, 4);
            v = __builtin_bswap32(v);
            std::memcpy(bytes, &v, 4);
        }
    }
}

} // namespace

extern "C" {

void VB_ffswap2(int16_t* first, int32_t count) { swapElements<2>(first, count); }
void VB_ffswap4(float* first, int32_t count) { swapElements<4>(first, count); }
void VB_ffswap4Lng(int32_t* first, int32_t count) { swapElements<4>(first, count); }

}
