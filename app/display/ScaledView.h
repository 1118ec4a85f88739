#pragma once
// The part of a zoomed picture that is on screen, sampled from a grey
// source pixel by pixel (each screen pixel takes the image pixel under its
// centre), so that a repaint costs what it shows, not what the image holds.
#include "display/ViewScale.h"

#include <cstddef>
#include <cstdint>

namespace raylen {

// Grey levels of an image: pixel (x, y) is origin[y·rowStep + x·pixelStep].
struct GreySource {
    const uint8_t* origin = nullptr;
    ptrdiff_t rowStep = 0, pixelStep = 1;
    int32_t width = 0, height = 0;
};

// The render bytes (24-bit, bottom-up, grey in every channel) as a source;
// an empty source when the bytes are not such a bitmap.
GreySource bitmapSource(const uint8_t* bytes, size_t size);

// Screen pixels left … left + width − 1, top … top + height − 1 of the
// picture at the scale into target (rows targetStride bytes apart). Pixels
// beyond the image repeat its edge.
void sampleView(const GreySource& source, const ViewScale& scale, int32_t left, int32_t top, int32_t width,
                int32_t height, uint8_t* target, ptrdiff_t targetStride);

} // namespace raylen
