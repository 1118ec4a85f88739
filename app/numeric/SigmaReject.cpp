#include "numeric/SigmaReject.h"

#include "numeric/Lst2Fit.h"
#include "numeric/Polynomial.h"

#include <charconv>
#include <cmath>

namespace raylen {

namespace {

bool parseNumber(const std::string& text, double& value)
{
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && std::isfinite(value);
}

} // namespace

bool parseRejectOptions(const std::string& text, RejectOptions& options)
{
    size_t first = text.find(':');
    if (first == std::string::npos)
        return false;
    size_t second = text.find(':', first + 1);
    RejectOptions parsed;
    parsed.iterations = defaultRejectIterations;
    if (!parseNumber(text.substr(0, first), parsed.low) ||
        !parseNumber(text.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1),
                     parsed.high) ||
        parsed.low < 0 || parsed.high < 0)
        return false;
    if (second != std::string::npos) {
        double iterations = 0;
        if (!parseNumber(text.substr(second + 1), iterations) || iterations < 1 || iterations > 1000 ||
            iterations != std::floor(iterations))
            return false;
        parsed.iterations = static_cast<int>(iterations);
    }
    options = parsed;
    return true;
}

std::string sfLst2FitReject(const std::vector<float>& x, const std::vector<float>& y, int order,
                            const RejectOptions& options, std::vector<double>& a, std::vector<char>* rejected)
{
    if (!options.enabled()) {
        if (rejected != nullptr)
            rejected->assign(x.size(), 0);
        return sfLst2Fit(x, y, order, a);
    }
    std::vector<char> out(x.size(), 0);
    std::vector<double> coef;
    std::string message = sfLst2Fit(x, y, order, coef);
    if (!message.empty())
        return message;
    const size_t minimumKept = static_cast<size_t>(order < 0 ? 0 : order) + 1;
    for (int pass = 0; pass < options.iterations; ++pass) {
        double sumSquares = 0;
        size_t kept = 0;
        for (size_t i = 0; i < x.size(); ++i) {
            if (out[i])
                continue;
            double r = y[i] - polynomialValue(coef, x[i]);
            sumSquares += r * r;
            ++kept;
        }
        if (kept == 0)
            break;
        const double sigma = std::sqrt(sumSquares / static_cast<double>(kept));
        std::vector<char> next = out;
        size_t removed = 0;
        for (size_t i = 0; i < x.size(); ++i) {
            if (out[i])
                continue;
            double r = y[i] - polynomialValue(coef, x[i]);
            if ((options.low > 0 && r < -options.low * sigma) || (options.high > 0 && r > options.high * sigma)) {
                next[i] = 1;
                ++removed;
            }
        }
        if (removed == 0 || kept - removed < minimumKept)
            break;
        std::vector<float> keptX, keptY;
        for (size_t i = 0; i < x.size(); ++i)
            if (!next[i]) {
                keptX.push_back(x[i]);
                keptY.push_back(y[i]);
            }
        std::vector<double> refit;
        // Too few distinct X left: keep the last good fit.
        if (!sfLst2Fit(keptX, keptY, order, refit).empty())
            break;
        out.swap(next);
        coef.swap(refit);
    }
    a.swap(coef);
    if (rejected != nullptr)
        rejected->swap(out);
    return {};
}

} // namespace raylen
