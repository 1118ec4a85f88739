#include "display/ScaledView.h"

#include "display/Bitmap.h"

#include <algorithm>
#include <vector>

namespace raylen {

namespace {

constexpr size_t widthField = 18, heightField = 22;
constexpr int bytesPerPixel = 3;

int32_t get32(const uint8_t* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

GreySource bitmapSource(const uint8_t* bytes, size_t size)
{
    if (bytes == nullptr || size < static_cast<size_t>(bitmapHeaderBytes) || bytes[0] != 'B' || bytes[1] != 'M')
        return {};
    const int32_t width = get32(bytes + widthField), height = get32(bytes + heightField);
    if (width <= 0 || height <= 0)
        return {};
    const int32_t rowBytes = bitmapRowBytes(width);
    if (size < static_cast<size_t>(bitmapHeaderBytes) + static_cast<size_t>(rowBytes) * static_cast<size_t>(height))
        return {};
    // Stored bottom-up: image row 0 is the last stored row.
    GreySource source;
    source.origin = bytes + bitmapHeaderBytes + static_cast<size_t>(rowBytes) * static_cast<size_t>(height - 1);
    source.rowStep = -static_cast<ptrdiff_t>(rowBytes);
    source.pixelStep = bytesPerPixel;
    source.width = width;
    source.height = height;
    return source;
}

void sampleView(const GreySource& source, const ViewScale& scale, int32_t left, int32_t top, int32_t width,
                int32_t height, uint8_t* target, ptrdiff_t targetStride)
{
    if (source.origin == nullptr || width <= 0 || height <= 0)
        return;
    // Column offsets once per call; each row is then a gather.
    std::vector<ptrdiff_t> column(static_cast<size_t>(width));
    for (int32_t x = 0; x < width; ++x)
        column[static_cast<size_t>(x)] =
            std::clamp(scale.imageOf(left + x), 0, source.width - 1) * source.pixelStep;
    for (int32_t y = 0; y < height; ++y) {
        const int32_t imageY = std::clamp(scale.imageOf(top + y), 0, source.height - 1);
        const uint8_t* row = source.origin + imageY * source.rowStep;
        uint8_t* out = target + y * targetStride;
        for (int32_t x = 0; x < width; ++x)
            out[x] = row[column[static_cast<size_t>(x)]];
    }
}

} // namespace raylen
