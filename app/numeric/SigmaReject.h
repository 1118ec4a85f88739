#pragma once
// Opt-in iterative sigma rejection around the least-squares polynomial fit:
// fit, drop the points whose residual lies below −low·σ or above +high·σ
// (σ the RMS residual of the points still in), refit, repeat.
#include <string>
#include <vector>

namespace raylen {

constexpr int defaultRejectIterations = 5;

struct RejectOptions {
    double low = 0;      // σ below the fit; 0 keeps every low point
    double high = 0;     // σ above the fit; 0 keeps every high point
    int iterations = 0;  // 0: rejection off

    bool enabled() const { return iterations > 0 && (low > 0 || high > 0); }
};

// "LOW:HIGH[:ITER]"; false when malformed (negative sigma, ITER < 1).
bool parseRejectOptions(const std::string& text, RejectOptions& options);

// With rejection off exactly sfLst2Fit. Otherwise never drops below
// order + 1 points; `rejected` (when given) gets one flag per point.
std::string sfLst2FitReject(const std::vector<float>& x, const std::vector<float>& y, int order,
                            const RejectOptions& options, std::vector<double>& a,
                            std::vector<char>* rejected = nullptr);

} // namespace raylen
