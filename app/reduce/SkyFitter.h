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
    // Sky pixels the rejection left out of the last fit.
    size_t lastRejected() const { return lastRejected_; }

private:
    std::string prepare();

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

} // namespace raylen
