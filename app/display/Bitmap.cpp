#include "display/Bitmap.h"

#include "numeric/ParallelFor.h"
#include "numeric/Statistics.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "files/FileAccess.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

using platform::trapErrors;

namespace raylen {

namespace {

constexpr double roundingShift = 6755399441055744.0;

void put16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// A row of 24-bit pixels, blue = green = red = grey. The rows never
// overlap, which lets the compiler vectorise the interleaving.
__attribute__((target_clones("avx2", "default"))) void tripleRow(const uint8_t* __restrict grey, int32_t width,
                                                                   uint8_t* __restrict out)
{
    for (int32_t x = 0; x < width; ++x) {
        out[3 * x] = grey[x];
        out[3 * x + 1] = grey[x];
        out[3 * x + 2] = grey[x];
    }
}

// The grey level of one row between the limits. Written without branches
// so that the compiler vectorises it; the AVX2 copy does the same
// arithmetic (no fused multiply-add) and so gives the same bytes.
__attribute__((target_clones("avx2", "default"))) void greyRow(const float* source, int32_t width, float low,
                                                                 float high, double f, uint8_t* target)
{
    for (int32_t x = 0; x < width; ++x) {
        float v = source[x];
        v = v >= low ? v : low; // NaN goes to the lower limit
        v = v > high ? high : v;
        // Halves to even, as the integer conversion rounds: adding and
        // removing 1.5·2^52 rounds in the FPU's nearest-even mode and,
        // unlike nearbyint, vectorises.
        const double t = (static_cast<double>(v) - low) * f;
        target[x] = static_cast<uint8_t>(static_cast<int32_t>((t + roundingShift) - roundingShift));
    }
}

// Rows per block: about a megapixel, so small images stay on one core.
constexpr size_t pixelsPerBlock = size_t(1) << 20;
size_t rowsPerBlock(int32_t width)
{
    return std::max<size_t>(1, pixelsPerBlock / static_cast<size_t>(std::max(width, 1)));
}

// A bitmap file of the size with its header filled in and the pixels not
// yet written. Raises the overflow error past the 32-bit size field.
BitmapBytes bitmapFile(int32_t width, int32_t height)
{
    const int32_t r = bitmapRowBytes(width);
    const uint64_t imageBytes = static_cast<uint64_t>(height) * static_cast<uint64_t>(r);
    if (imageBytes + bitmapHeaderBytes > 0xFFFFFFFFu)
        platform::raise(platform::errOverflow);
    BitmapBytes bytes(static_cast<size_t>(imageBytes) + bitmapHeaderBytes);
    uint8_t* h = bytes.data();
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, static_cast<uint32_t>(imageBytes + bitmapHeaderBytes));
    put32(h + 10, bitmapHeaderBytes);
    put32(h + 14, 40);
    put32(h + 18, static_cast<uint32_t>(width));
    put32(h + 22, static_cast<uint32_t>(height));
    put16(h + 26, 1);
    put16(h + 28, 24);
    put32(h + 34, static_cast<uint32_t>(imageBytes));
    return bytes;
}

} // namespace

int32_t bitmapRowBytes(int32_t width)
{
    int32_t bytes = 3 * width;
    return bytes % 4 == 0 ? bytes : bytes / 4 * 4 + 4;
}

std::string sfCreateBitMap(const SingleImage& sngImage, int32_t lngWidth, int32_t lngHeight, float& sngMax,
                           float& sngMin, BitmapBytes& renderFile, bool blnAuto)
{
    return trapErrors("sfCreateBitMap", [&]() -> std::string {
        if (blnAuto) {
            std::string message = sfMinMax2D(sngImage, sngMin, sngMax);
            if (!message.empty())
                return message;
            if (!(sngMin >= 0.0f))
                sngMin = 0.0f;
            sngMax = sngMin + (sngMax - sngMin) / 10.0f;
        }
        if (lngWidth < 1 || lngHeight < 1)
            platform::raise(platform::errSubscript);
        if (sngMax - sngMin == 0.0f) {
            sngMax = 1000.0f;
            sngMin = 100.0f;
        }
        const double f = 255.0 / (static_cast<double>(sngMax) - static_cast<double>(sngMin));
        const float low = sngMin, high = sngMax;
        if (sngImage.width() < lngWidth || sngImage.height() < lngHeight)
            platform::raise(platform::errSubscript);
        BitmapBytes bytes = bitmapFile(lngWidth, lngHeight);
        const int32_t r = bitmapRowBytes(lngWidth);
        // Rows are independent and each is written by one block, so the
        // bytes do not depend on how many cores share the work.
        parallelFor(static_cast<size_t>(lngHeight), rowsPerBlock(lngWidth), [&](size_t first, size_t end) {
            std::vector<uint8_t> grey(static_cast<size_t>(lngWidth));
            for (size_t y = first; y < end; ++y) {
                greyRow(sngImage.row(sngImage.lowerY() + static_cast<int32_t>(y)), lngWidth, low, high, f,
                        grey.data());
                // Bottom-up: image row 0 is the last stored row.
                uint8_t* out = bytes.data() + bitmapHeaderBytes +
                    static_cast<size_t>(lngHeight - 1 - static_cast<int32_t>(y)) * static_cast<size_t>(r);
                tripleRow(grey.data(), lngWidth, out);
            }
        });
        renderFile.swap(bytes);
        return std::string();
    });
}

std::string sfWriteBitMap(const GreyImage& bytGrey, int32_t lngWidth, int32_t lngHeight, BitmapBytes& renderFile)
{
    return trapErrors("sfWriteBitMap", [&] {
        if (lngWidth < 0 || lngHeight < 0 || bytGrey.width() < lngWidth || bytGrey.height() < lngHeight)
            platform::raise(platform::errSubscript);
        BitmapBytes bytes = bitmapFile(lngWidth, lngHeight);
        const int32_t r = bitmapRowBytes(lngWidth);
        uint8_t* out = bytes.data() + bitmapHeaderBytes;
        for (int32_t y = lngHeight - 1; y >= 0; --y, out += r)
            tripleRow(bytGrey.row(bytGrey.lowerY() + y), lngWidth, out);
        renderFile.swap(bytes);
    });
}

std::string saveBitmapFile(const BitmapBytes& renderFile, const std::string& strFile)
{
    return trapErrors("sfWriteBitMap", [&] { writeFileBytes(strFile, renderFile.data(), renderFile.size()); });
}

} // namespace raylen
