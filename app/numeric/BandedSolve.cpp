#include "numeric/BandedSolve.h"

#include <algorithm>
#include <cmath>

namespace raylen {

BandedSystem::BandedSystem(size_t n, size_t halfBandwidth)
    : n_(n), p_(halfBandwidth), band_(n * (halfBandwidth + 1), 0.0)
{
}

void BandedSystem::add(size_t i, size_t j, double value)
{
    if (i < j)
        std::swap(i, j);
    if (i - j <= p_ && i < n_)
        band_[i * (p_ + 1) + (i - j)] += value;
}

bool BandedSystem::solve(std::vector<double>& b) const
{
    if (b.size() != n_)
        return false;
    // L in band storage: l[i·(p + 1) + d] = L(i, i − d).
    std::vector<double> l = band_;
    auto L = [&](size_t i, size_t j) -> double& { return l[i * (p_ + 1) + (i - j)]; };
    for (size_t i = 0; i < n_; ++i) {
        const size_t first = i > p_ ? i - p_ : 0;
        for (size_t j = first; j <= i; ++j) {
            double s = L(i, j);
            const size_t kFirst = std::max(first, j > p_ ? j - p_ : 0);
            for (size_t k = kFirst; k < j; ++k)
                s -= L(i, k) * L(j, k);
            if (j == i) {
                if (!(s > 0))
                    return false;
                L(i, i) = std::sqrt(s);
            } else {
                L(i, j) = s / L(j, j);
            }
        }
    }
    for (size_t i = 0; i < n_; ++i) {
        double s = b[i];
        for (size_t k = i > p_ ? i - p_ : 0; k < i; ++k)
            s -= L(i, k) * b[k];
        b[i] = s / L(i, i);
    }
    for (size_t i = n_; i-- > 0;) {
        double s = b[i];
        for (size_t k = i + 1; k < n_ && k <= i + p_; ++k)
            s -= L(k, i) * b[k];
        b[i] = s / L(i, i);
    }
    return true;
}

} // namespace raylen
