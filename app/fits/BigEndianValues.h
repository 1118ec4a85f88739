#pragma once
// FITS data are big-endian: stored values to scaled floats, for the readers
// that take an image a band of rows at a time.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace raylen::bigendian {

inline uint16_t swapBytes(uint16_t v) { return __builtin_bswap16(v); }
inline uint32_t swapBytes(uint32_t v) { return __builtin_bswap32(v); }
inline uint64_t swapBytes(uint64_t v) { return __builtin_bswap64(v); }

// count values of type Stored (held as the unsigned Bits of its size) times
// scale plus zero.
template <class Stored, class Bits>
void toFloats(const char* bytes, size_t count, double scale, double zero, float* out)
{
    static_assert(sizeof(Stored) == sizeof(Bits));
    for (size_t k = 0; k < count; ++k) {
        Bits raw;
        std::memcpy(&raw, bytes + k * sizeof(Bits), sizeof(Bits));
        if constexpr (std::endian::native == std::endian::little)
            raw = swapBytes(raw);
        out[k] = static_cast<float>(static_cast<double>(std::bit_cast<Stored>(raw)) * scale + zero);
    }
}

} // namespace raylen::bigendian
