#pragma once
// Least-squares polynomial fit y ≈ Σ a_k·x^k (sky, trace, dispersion
// solution, continuum).
#include <string>
#include <vector>

namespace raylen {

// Fits points 0 … x.size() − 1 with a polynomial of degree `order` (above
// 101 it becomes 100) and returns a_0 … a_order of x in `a`, which is left
// untouched on failure. The fit is solved in centred and scaled
// coordinates by an orthogonal factorisation, then converted back to the
// monomial coefficients of x. Fewer distinct X than order + 1 has no unique
// solution: "sfLst2Fit, 11" + description.
std::string sfLst2Fit(const std::vector<float>& x, const std::vector<float>& y, int order, std::vector<double>& a);

} // namespace raylen
