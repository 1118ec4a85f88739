#pragma once
// Weighted least-squares polynomial fit y ≈ Σ a_k·x^k, each point weighted
// by w = 1/σ², with the sigma rejection of SigmaReject.h applied to the
// residuals in units of their σ. For X already scaled to about [−1, 1]:
// the normal equations are solved by Cholesky factorisation.
#include "numeric/SigmaReject.h"

#include <string>
#include <vector>

namespace raylen {

// `a` is left untouched on failure; `rejected` (when given) gets one flag
// per point. Weights must be positive and finite.
std::string weightedPolynomialFit(const std::vector<double>& x, const std::vector<double>& y,
                                  const std::vector<double>& w, int order, const RejectOptions& options,
                                  std::vector<double>& a, std::vector<char>* rejected = nullptr);

} // namespace raylen
