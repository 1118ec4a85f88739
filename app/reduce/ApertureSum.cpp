#include "reduce/ApertureSum.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"

#include <algorithm>
#include <cmath>

namespace raylen {

namespace {

int32_t wholeRowBelow(double value)
{
    const double whole = std::floor(value);
    if (!(whole >= INT32_MIN && whole < INT32_MAX))
        platform::raise(platform::errOverflow);
    return static_cast<int32_t>(whole);
}

// The trapezoid scheme over [a, b] for any function of the row: partial
// trapezoids at both ends, whole rows between.
template <class AtRow, class LeftEnd, class RightEnd>
double trapezoidSum(const Aperture& ap, AtRow&& atRow, LeftEnd&& leftEnd, RightEnd&& rightEnd)
{
    // Both ends between the same two rows (widths below 1).
    if (ap.n2 < ap.n1)
        return (ap.b - ap.a) * (leftEnd() + rightEnd()) / 2;
    const double v1 = atRow(ap.n1), v2 = atRow(ap.n2);
    const double left = (ap.n1 - ap.a) * (v1 + leftEnd()) / 2;
    const double right = (ap.b - ap.n2) * (rightEnd() + v2) / 2;
    // The whole rows n1 … n2 span n2 − n1 rows: nothing when they are one
    // row (width 1), where halves of both ends would count that row twice.
    double middle = 0;
    if (ap.n2 > ap.n1) {
        middle = v1 / 2 + v2 / 2;
        for (int32_t y = ap.n1 + 1; y <= ap.n2 - 1; ++y)
            middle += atRow(y);
    }
    return left + middle + right;
}

} // namespace

Aperture apertureAround(int16_t intScanWidth, float centre)
{
    const double half = intScanWidth / 2.0;
    Aperture ap;
    ap.a = centre - half;
    ap.b = centre + half;
    ap.n1 = wholeRowBelow(ap.a) + 1;
    ap.n2 = wholeRowBelow(ap.b);
    return ap;
}

RowWeights apertureRowWeights(const Aperture& ap)
{
    RowWeights rw;
    rw.firstRow = ap.n1 - 1;
    rw.weights.assign(static_cast<size_t>(std::max(ap.n2 + 2 - rw.firstRow, 2)), 0.0);
    auto add = [&](int32_t row, double w) { rw.weights[static_cast<size_t>(row - rw.firstRow)] += w; };
    const double t = ap.a - rw.firstRow, u = ap.b - ap.n2;
    if (ap.n2 < ap.n1) {
        // Both ends interpolate between the rows n1 − 1 and n1.
        add(rw.firstRow, (ap.b - ap.a) / 2 * ((1 - t) + (1 - u)));
        add(ap.n1, (ap.b - ap.a) / 2 * (t + u));
        return rw;
    }
    const double leftSpan = ap.n1 - ap.a;
    add(rw.firstRow, leftSpan / 2 * (1 - t));
    add(ap.n1, leftSpan / 2 * (1 + t));
    add(ap.n2, u * (2 - u) / 2);
    add(ap.n2 + 1, u * u / 2);
    if (ap.n2 > ap.n1) {
        add(ap.n1, 0.5);
        add(ap.n2, 0.5);
        for (int32_t y = ap.n1 + 1; y <= ap.n2 - 1; ++y)
            add(y, 1.0);
    }
    return rw;
}

std::vector<double> skyBasisIntegrals(const Aperture& ap, int32_t origin, int order)
{
    std::vector<double> integrals;
    for (int j = 0; j <= order; ++j) {
        auto power = [&](double row) { return std::pow(row - origin, j); };
        integrals.push_back(trapezoidSum(
            ap, [&](int32_t y) { return power(y); }, [&] { return power(ap.a); }, [&] { return power(ap.b); }));
    }
    return integrals;
}

std::string sfIntegData(const ScanParam& typScanParam, const SingleImage& sngImage, int32_t x, float centre,
                        float& sum)
{
    return platform::trapErrors("sfIntegData", [&] {
        const Aperture ap = apertureAround(typScanParam.intScanWidth, centre);
        const int32_t below = ap.n1 - 1;
        const double vBelow = sngImage.at(x, below), v1 = sngImage.at(x, ap.n1), v2 = sngImage.at(x, ap.n2),
                     vAbove = sngImage.at(x, static_cast<int64_t>(ap.n2) + 1);
        // n1 and n2 are inside the image, so every row between them is too.
        auto atRow = [&](int32_t y) { return static_cast<double>(sngImage(x, y)); };
        auto leftEnd = [&] { return vBelow + (ap.a - below) * (v1 - vBelow); };
        auto rightEnd = [&] { return v2 + (ap.b - ap.n2) * (vAbove - v2); };
        sum = static_cast<float>(trapezoidSum(ap, atRow, leftEnd, rightEnd));
    });
}

std::string sfIntegSky(const ScanParam& typScanParam, float centre, const SkyPolynomial& sky, float& skyLevel)
{
    return platform::trapErrors("sfIntegSky", [&] {
        const Aperture ap = apertureAround(typScanParam.intScanWidth, centre);
        auto atRow = [&](int32_t y) { return sky(y); };
        auto leftEnd = [&] { return sky(ap.a); };
        auto rightEnd = [&] { return sky(ap.b); };
        skyLevel = static_cast<float>(trapezoidSum(ap, atRow, leftEnd, rightEnd));
    });
}

} // namespace raylen
