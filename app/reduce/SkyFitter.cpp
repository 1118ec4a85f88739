#include "reduce/SkyFitter.h"

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

} // namespace

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
        lastOrigin_ = sky.origin;
        lastUsedRejection_ = false;
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
        lastUsedRejection_ = true;
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

std::string SkyFitter::sampleWeights(const std::vector<double>& g, std::vector<int32_t>& rows,
                                    std::vector<double>& weights)
{
    const size_t n = offsets_.size();
    rows.resize(n);
    weights.assign(n, 0.0);
    for (size_t i = 0; i < n; ++i)
        rows[i] = lastOrigin_ + static_cast<int32_t>(offsets_[i]);
    std::vector<char> kept(n, 1);
    if (lastUsedRejection_ && lastRejected_ > 0)
        for (size_t i = 0; i < n && i < rejected_.size(); ++i)
            kept[i] = rejected_[i] == 0;
    // The fit is linear in the kept values: each unit vector's fit gives
    // that sample's weight.
    std::vector<float> x, unit;
    std::vector<size_t> index;
    for (size_t i = 0; i < n; ++i)
        if (kept[i]) {
            x.push_back(offsets_[i]);
            index.push_back(i);
        }
    if (!lastUsedRejection_ || lastRejected_ == 0) {
        if (!prepared_ && n <= kMaxMappedSamples) {
            if (std::string status = prepare(); !status.empty())
                return status;
        }
        if (prepared_) {
            const size_t m = projection_.size() / n;
            for (size_t i = 0; i < n; ++i)
                for (size_t j = 0; j < m && j < g.size(); ++j)
                    weights[i] += projection_[j * n + i] * g[j];
            return {};
        }
    }
    unit.assign(x.size(), 0.0f);
    std::vector<double> coef;
    for (size_t k = 0; k < x.size(); ++k) {
        unit[k] = 1.0f;
        std::string status = sfLst2Fit(x, unit, order_, coef);
        if (!status.empty())
            return status;
        unit[k] = 0.0f;
        for (size_t j = 0; j < coef.size() && j < g.size(); ++j)
            weights[index[k]] += coef[j] * g[j];
    }
    return {};
}

} // namespace raylen
