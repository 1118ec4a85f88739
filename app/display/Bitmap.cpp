#include "display/Bitmap.h"

#include "numeric/Statistics.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "files/FileAccess.h"

#include <cmath>
#include <cstring>

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
        GreyImage grey;
        grey.redim(0, lngWidth - 1, 0, lngHeight - 1);
        if (sngMax - sngMin == 0.0f) {
            sngMax = 1000.0f;
            sngMin = 100.0f;
        }
        const double f = 255.0 / (static_cast<double>(sngMax) - static_cast<double>(sngMin));
        const float low = sngMin, high = sngMax;
        if (sngImage.width() < lngWidth || sngImage.height() < lngHeight)
            platform::raise(platform::errSubscript);
        for (int32_t y = 0; y < lngHeight; ++y) {
            const float* source = sngImage.row(sngImage.lowerY() + y);
            uint8_t* target = grey.row(y);
            for (int32_t x = 0; x < lngWidth; ++x) {
                float v = source[x];
                if (!(v >= low))
                    v = low;
                if (v > high)
                    v = high;
                // Halves to even, as the integer conversion rounds: adding and
                // removing 1.5·2^52 rounds in the FPU's nearest-even mode and,
                // unlike nearbyint, vectorises.
                double t = (static_cast<double>(v) - low) * f;
                target[x] = static_cast<uint8_t>((t + roundingShift) - roundingShift);
            }
        }
        return sfWriteBitMap(grey, lngWidth, lngHeight, renderFile);
    });
}

std::string sfWriteBitMap(const GreyImage& bytGrey, int32_t lngWidth, int32_t lngHeight, BitmapBytes& renderFile)
{
    return trapErrors("sfWriteBitMap", [&] {
        if (lngWidth < 0 || lngHeight < 0 || bytGrey.width() < lngWidth || bytGrey.height() < lngHeight)
            platform::raise(platform::errSubscript);
        const int32_t r = bitmapRowBytes(lngWidth);
        const uint64_t imageBytes = static_cast<uint64_t>(lngHeight) * static_cast<uint64_t>(r);
        if (imageBytes + bitmapHeaderBytes > 0xFFFFFFFFu)
            platform::raise(platform::errOverflow);
        BitmapBytes bytes(static_cast<size_t>(imageBytes) + bitmapHeaderBytes);
        uint8_t* h = bytes.data();
        h[0] = 'B';
        h[1] = 'M';
        put32(h + 2, static_cast<uint32_t>(imageBytes + bitmapHeaderBytes));
        put32(h + 10, bitmapHeaderBytes);
        put32(h + 14, 40);
        put32(h + 18, static_cast<uint32_t>(lngWidth));
        put32(h + 22, static_cast<uint32_t>(lngHeight));
        put16(h + 26, 1);
        put16(h + 28, 24);
        put32(h + 34, static_cast<uint32_t>(imageBytes));
        // Rows bottom-up: image row 0 is the top of the picture.
        uint8_t* out = bytes.data() + bitmapHeaderBytes;
        for (int32_t y = lngHeight - 1; y >= 0; --y, out += r) {
            const uint8_t* grey = bytGrey.row(bytGrey.lowerY() + y);
            for (int32_t x = 0; x < lngWidth; ++x) {
                out[3 * x] = grey[x];
                out[3 * x + 1] = grey[x];
                out[3 * x + 2] = grey[x];
            }
        }
        renderFile.swap(bytes);
    });
}

std::string saveBitmapFile(const BitmapBytes& renderFile, const std::string& strFile)
{
    return trapErrors("sfWriteBitMap", [&] { writeFileBytes(strFile, renderFile.data(), renderFile.size()); });
}

} // namespace raylen
