#pragma once
// What the extraction asks of the plot window. The core never calls a
// window: the wizard passes the plot window's implementation, raylen-cli and
// the tests pass one that does nothing or collects.
#include <string>
#include <vector>

namespace raylen {

class ScanPlotter {
public:
    virtual ~ScanPlotter() = default;
    // Shows the plot window and plots the arrays as its spectrum.
    virtual std::string plotLin(const std::vector<float>& x, const std::vector<float>& y) = 0;
    // Shows the plot window and draws the arrays as its second line.
    virtual std::string plotLinClone(const std::vector<float>& x, const std::vector<float>& y) = 0;
    // Marks the points a sigma rejection left out (empty: none).
    virtual std::string plotRejected(const std::vector<float>& x, const std::vector<float>& y) = 0;
};

// For batch runs: nothing is shown.
class NoScanPlotter : public ScanPlotter {
public:
    std::string plotLin(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string plotLinClone(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string plotRejected(const std::vector<float>&, const std::vector<float>&) override { return {}; }
};

} // namespace raylen
