#pragma once
// The sky beside the trace, fitted column by column across the slit.
#include "numeric/Array2D.h"
#include "numeric/SigmaReject.h"
#include "reduce/ScanParam.h"

#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// The sky polynomial of one column, in powers of (row − origin) so that it
// stays well conditioned far from row 0.
struct SkyPolynomial {
    int32_t origin = 0;
    std::vector<double> coef;
    double operator()(double row) const;
};

// Fits the sky rows r + start1 … r + end1 and r + start2 … r + end2 (r the
// centre rounded half to even) with a polynomial of the record's sky order.
// Every column samples the same offsets from its r, so the least-squares
// fit is one fixed linear map of the sampled values: it is found once from
// sfLst2Fit and then applied column by column.
class SkyFitter {
public:
    // With rejection enabled every column is fitted on its own, so that
    // cosmic-ray pixels can be left out.
    explicit SkyFitter(const ScanParam& typScanParam, const RejectOptions& reject = {});
    // sfSkyFit: the fit of column x; statuses of sfLst2Fit are passed on.
    std::string fit(const SingleImage& sngImage, int32_t x, float centre, SkyPolynomial& sky);
    // For a linear functional g of the last fit's coefficients (Σ g[j]·coef[j]),
    // its weight on each sky sample and that sample's row; rejected samples
    // weigh 0. Used for the sky's share of the uncertainty.
    std::string sampleWeights(const std::vector<double>& g, std::vector<int32_t>& rows,
                              std::vector<double>& weights);
    int order() const { return order_; }
    // The last fit's coefficient covariance (row-major, (order + 1)²) for
    // sample variances given by `variance` of each sampled value.
    template <class Variance>
    std::string coefficientCovariance(Variance&& variance, std::vector<double>& cov);
    // Sky pixels the rejection left out of the last fit.
    size_t lastRejected() const { return lastRejected_; }

private:
    std::string prepare();
    std::vector<int32_t> rowsScratch_;
    std::vector<std::vector<double>> weightsScratch_;

    std::vector<float> offsets_;
    int order_;
    RejectOptions reject_;
    bool prepared_ = false;
    // projection_[j * samples + i]: weight of sample i in coefficient j.
    std::vector<double> projection_;
    std::vector<float> values_;
    std::vector<char> rejected_;
    size_t lastRejected_ = 0;
    int32_t lastOrigin_ = 0;
    bool lastUsedRejection_ = false;
};

template <class Variance>
std::string SkyFitter::coefficientCovariance(Variance&& variance, std::vector<double>& cov)
{
    const auto m = static_cast<size_t>(order_ + 1);
    const size_t n = offsets_.size();
    cov.assign(m * m, 0.0);
    const bool mapped = (!lastUsedRejection_ || lastRejected_ == 0) && (prepared_ || prepare().empty()) &&
                        projection_.size() == m * n;
    if (!mapped) {
        weightsScratch_.resize(m);
        for (size_t j = 0; j < m; ++j) {
            std::vector<double> g(m, 0.0);
            g[j] = 1.0;
            if (std::string status = sampleWeights(g, rowsScratch_, weightsScratch_[j]); !status.empty())
                return status;
        }
    }
    for (size_t k = 0; k < n; ++k) {
        const double v = variance(values_[k]);
        for (size_t a = 0; a < m; ++a) {
            const double wa = mapped ? projection_[a * n + k] : weightsScratch_[a][k];
            for (size_t b = 0; b <= a; ++b) {
                const double wb = mapped ? projection_[b * n + k] : weightsScratch_[b][k];
                cov[a * m + b] += wa * wb * v;
            }
        }
    }
    for (size_t a = 0; a < m; ++a)
        for (size_t b = a + 1; b < m; ++b)
            cov[a * m + b] = cov[b * m + a];
    return {};
}

} // namespace raylen
