#pragma once
// Evaluation of the system's polynomials Σ a_k·x^k (a_0 first): traces, sky,
// dispersion, continuum and normalisation all go through here so that the
// sum is accumulated in double and only the result is rounded to Single.
#include <span>

namespace raylen {

// Σ a_k·x^k over all coefficients, by Horner's rule in double.
double polynomialValue(std::span<const double> a, double x);
// The same, rounded to Single as the callers store it.
float evalPolynomial(std::span<const double> a, double x);
// Only a_0 … a_order of a longer array (the trace keeps 51 coefficients);
// an order outside the array raises the subscript error.
float evalPolynomial(std::span<const double> a, int order, double x);

} // namespace raylen
