#include "numeric/Polynomial.h"

#include "platform/BasicError.h"

#include <cstddef>

namespace raylen {

double polynomialValue(std::span<const double> a, double x)
{
    double sum = 0.0;
    for (size_t k = a.size(); k-- > 0;)
        sum = sum * x + a[k];
    return sum;
}

float evalPolynomial(std::span<const double> a, double x)
{
    return static_cast<float>(polynomialValue(a, x));
}

float evalPolynomial(std::span<const double> a, int order, double x)
{
    if (order < -1 || static_cast<size_t>(order + 1) > a.size())
        platform::raise(platform::errSubscript);
    return static_cast<float>(polynomialValue(a.first(static_cast<size_t>(order + 1)), x));
}

} // namespace raylen
