#include "reduce/ApertureSum.h"

#include "numeric/Lst2Fit.h"
#include "numeric/Polynomial.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"

#include <algorithm>
#include <cmath>

namespace raylen {

namespace {

// Sample patterns up to this size are fitted through the precomputed map;
// wider ones (never met in practice) are fitted column by column, which
// costs less than building the map.
constexpr size_t kMaxMappedSamples = 512;

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

double SkyPolynomial::operator()(double row) const
{
    return polynomialValue(coef, row - origin);
}

SkyFitter::SkyFitter(const ScanParam& p, const RejectOptions& reject) : order_(p.intSkyFitOrder), reject_(reject)
{
    for (int32_t o = p.intSkyStart1; o <= p.intSkyEnd1; ++o)
        offsets_.push_back(static_cast<float>(o));
    for (int32_t o = p.intSkyStart2; o <= p.intSkyEnd2; ++o)
        offsets_.push_back(static_cast<float>(o));
    values_.resize(offsets_.size());
}

std::string SkyFitter::prepare()
{
    // The fit is linear in the values: fitting each unit vector gives the
    // weights of that sample in every coefficient.
    const size_t n = offsets_.size();
    std::vector<float> unit(n, 0.0f);
    std::vector<double> coef;
    for (size_t i = 0; i < n; ++i) {
        unit[i] = 1.0f;
        std::string status = sfLst2Fit(offsets_, unit, order_, coef);
        if (!status.empty())
            return status;
        unit[i] = 0.0f;
        if (projection_.empty())
            projection_.assign(coef.size() * n, 0.0);
        for (size_t j = 0; j < coef.size(); ++j)
            projection_[j * n + i] = coef[j];
    }
    prepared_ = true;
    return {};
}

std::string SkyFitter::fit(const SingleImage& sngImage, int32_t x, float centre, SkyPolynomial& sky)
{
    lastRejected_ = 0;
    std::string status = platform::trapErrors("sfSkyFit", [&] {
        const double rounded = platform::roundHalfEven(centre);
        if (!(rounded >= INT32_MIN && rounded <= INT32_MAX))
            platform::raise(platform::errOverflow);
        sky.origin = static_cast<int32_t>(rounded);
        for (size_t i = 0; i < offsets_.size(); ++i)
            values_[i] = sngImage.at(x, static_cast<int64_t>(sky.origin) + static_cast<int64_t>(offsets_[i]));
    });
    if (!status.empty())
        return status;
    bool finite = true;
    for (float v : values_)
        finite = finite && std::isfinite(v);
    // Values the fit refuses, and patterns too wide to map, go to the fit
    // itself, which also gives its own message.
    if (!finite || offsets_.empty() || offsets_.size() > kMaxMappedSamples)
        return sfLst2Fit(offsets_, values_, order_, sky.coef);
    if (reject_.enabled()) {
        status = sfLst2FitReject(offsets_, values_, order_, reject_, sky.coef, &rejected_);
        if (status.empty())
            lastRejected_ = static_cast<size_t>(std::count(rejected_.begin(), rejected_.end(), 1));
        return status;
    }
    if (!prepared_) {
        status = prepare();
        if (!status.empty())
            return status;
    }
    const size_t n = offsets_.size(), m = projection_.size() / n;
    sky.coef.assign(m, 0.0);
    for (size_t j = 0; j < m; ++j) {
        const double* weights = &projection_[j * n];
        double c = 0.0;
        for (size_t i = 0; i < n; ++i)
            c += weights[i] * values_[i];
        sky.coef[j] = c;
    }
    return {};
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
