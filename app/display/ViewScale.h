#pragma once
// Screen pixels against image pixels at a zoom factor. A screen pixel shows
// the image pixel under its centre, so the mouse, the picture and the region
// box agree at every zoom; at factor 1 both are the same pixel.
#include <cstdint>

namespace raylen {

// The zoom steps the wheel walks: powers of two within these bounds.
constexpr double smallestZoom = 1.0 / 32.0;
constexpr double largestZoom = 8.0;

struct ViewScale {
    double factor = 1.0;

    // The image pixel shown by screen pixel s (s may lie outside the picture).
    int32_t imageOf(int32_t screen) const;
    // The first screen pixel that shows image pixel i or one beyond it; the
    // screen pixels of image pixel i are screenOf(i) … screenOf(i + 1) − 1.
    int32_t screenOf(int32_t image) const;
    // Screen pixels taken by an image side of imageSize pixels.
    int32_t screenSize(int32_t imageSize) const { return screenOf(imageSize); }
};

// The largest factor that shows a width × height image whole in the view
// (never above largestZoom, never below smallestZoom).
double fitFactor(int32_t width, int32_t height, int32_t viewWidth, int32_t viewHeight);

// The factor `steps` powers of two from current (positive zooms in); a
// factor between powers of two first goes to its neighbour.
double steppedZoom(double current, int steps);

// The scroll value that keeps the image point under viewport position
// `pointer` (screen pixels from the viewport's edge) in place when the
// factor changes from `from` to `to`, given the scroll value before.
int32_t anchoredScroll(int32_t scroll, int32_t pointer, double from, double to);

} // namespace raylen
