#include "numeric/Arithmetic2D.h"

#include "platform/BasicError.h"

#include <cstdint>

namespace raylen {

namespace {

// The loop counters of these routines are 16-bit: bounds beyond that range
// overflow before anything is written.
void checkIntegerBounds(const SingleImage& a)
{
    auto fits = [](int32_t v) { return v >= INT16_MIN && v <= INT16_MAX; };
    if (!fits(a.lowerX()) || !fits(a.upperX()) || !fits(a.lowerY()) || !fits(a.upperY()))
        platform::raise(platform::errOverflow);
}

// An unallocated input or an output that does not cover the input's bounds
// is a subscript fault.
void checkShapes(const SingleImage& a, const SingleImage& out)
{
    if (a.empty() || !out.contains(a.lowerX(), a.lowerY()) || !out.contains(a.upperX(), a.upperY()))
        platform::raise(platform::errSubscript);
    checkIntegerBounds(a);
}

// Applies op to every element, row by row so that the inner loop runs over
// contiguous memory; the result of each element does not depend on the order.
template <class Op>
void forEachRow(const SingleImage& a, SingleImage& out, Op op)
{
    const int32_t width = a.width();
    for (int32_t y = a.lowerY(); y <= a.upperY(); ++y) {
        const float* in = a.row(y);
        float* dst = &out(a.lowerX(), y);
        op(in, dst, width, y);
    }
}

} // namespace

std::string sfDivisionValue2D(const SingleImage& a, float value, SingleImage& b)
{
    if (value == 0.0f)
        return "ゼロで割っています";
    return platform::trapErrors("sfDivisionValue2D", [&] {
        checkShapes(a, b);
        forEachRow(a, b, [value](const float* in, float* dst, int32_t width, int32_t) {
            for (int32_t i = 0; i < width; ++i)
                dst[i] = in[i] / value;
        });
    });
}

std::string sfSubtractData2D(const SingleImage& a, const SingleImage& b, SingleImage& c)
{
    if (!a.sameBounds(b))
        return "配列数が違います";
    return platform::trapErrors("sfSubtractData2D", [&] {
        checkShapes(a, c);
        forEachRow(a, c, [&b](const float* in, float* dst, int32_t width, int32_t y) {
            const float* sub = b.row(y);
            for (int32_t i = 0; i < width; ++i)
                dst[i] = in[i] - sub[i];
        });
    });
}

std::string sfDivisionData2D(const SingleImage& a, const SingleImage& b, SingleImage& c, float zero)
{
    if (!a.sameBounds(b))
        return "配列数が違います";
    return platform::trapErrors("sfDivisionData2D", [&] {
        checkShapes(a, c);
        forEachRow(a, c, [&b, zero](const float* in, float* dst, int32_t width, int32_t y) {
            const float* div = b.row(y);
            for (int32_t i = 0; i < width; ++i)
                dst[i] = div[i] != 0.0f ? in[i] / div[i] : zero;
        });
    });
}

} // namespace raylen
