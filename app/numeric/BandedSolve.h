#pragma once
// Symmetric positive definite banded systems A·x = b by Cholesky
// factorisation in band storage: O(n·p²) for half-bandwidth p.
#include <cstddef>
#include <vector>

namespace raylen {

class BandedSystem {
public:
    BandedSystem(size_t n, size_t halfBandwidth);
    size_t size() const { return n_; }
    // A(i, j) += value for |i − j| ≤ half-bandwidth (i ≥ j is stored).
    void add(size_t i, size_t j, double value);
    double diagonal(size_t i) const { return band_[i * (p_ + 1)]; }
    // Solves in place of b; false when A is not positive definite.
    bool solve(std::vector<double>& b) const;

private:
    size_t n_, p_;
    // band_[i·(p + 1) + d] = A(i, i − d).
    std::vector<double> band_;
};

} // namespace raylen
