#include "NonFinite.h"

#include <cmath>
#include <iostream>

namespace cli {

namespace {

// One command runs per process, so the run's inputs are the process's.
bool inputHeldNonFinite = false;

} // namespace

const char* const nonFiniteXMessage = "Xに有限でない値があります";
const char* const nonFiniteResultMessage = "計算結果に有限でない値が生じました";

size_t countNonFinite(const float* values, size_t count)
{
    size_t bad = 0;
    for (size_t i = 0; i < count; ++i)
        bad += std::isfinite(values[i]) ? 0 : 1;
    return bad;
}

void noteNonFiniteInput(const std::string& path, size_t count)
{
    if (count == 0)
        return;
    inputHeldNonFinite = true;
    std::cerr << "注意: " << path << " に有限でない値 (NaN, Inf) が " << count << " 個あります\n";
}

std::string checkResult(const std::vector<float>& x, const std::vector<float>& y)
{
    if (x.empty())
        return "データがありません";
    if (countNonFinite(x) > 0)
        return nonFiniteResultMessage;
    if (!inputHeldNonFinite && countNonFinite(y) > 0)
        return nonFiniteResultMessage;
    return {};
}

std::string checkResult(const raylen::SingleImage& image)
{
    if (!inputHeldNonFinite && countNonFinite(image.data(), image.size()) > 0)
        return nonFiniteResultMessage;
    return {};
}

} // namespace cli
