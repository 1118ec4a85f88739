#include "reduce/AutoIdentify.h"

#include "numeric/Polynomial.h"
#include "platform/BasicRuntime.h"
#include "reduce/DispersionResiduals.h"
#include "reduce/LineMeasure.h"
#include "view/SpectrumView.h"

#include <cmath>

namespace raylen {

namespace {

constexpr int bracketSteps = 2048;
constexpr int bisectionSteps = 60;

// Rows used by the fit: identified, not excluded.
size_t usableRows(const std::vector<ResidualRow>& rows)
{
    size_t n = 0;
    for (const ResidualRow& r : rows)
        n += r.excluded ? 0 : 1;
    return n;
}

} // namespace

bool predictPixel(const std::vector<double>& dblA, double wave, double firstX, double lastX, double& pixel)
{
    // Bracket a sign change on a fine grid, then bisect: a polynomial of
    // higher order need not be monotonic near the ends.
    double previousX = firstX;
    double previous = polynomialValue(dblA, firstX) - wave;
    for (int k = 1; k <= bracketSteps; ++k) {
        const double x = firstX + (lastX - firstX) * k / bracketSteps;
        const double f = polynomialValue(dblA, x) - wave;
        if (previous == 0) {
            pixel = previousX;
            return true;
        }
        if ((previous < 0) != (f < 0) || f == 0) {
            double lo = previousX, hi = x, flo = previous;
            for (int i = 0; i < bisectionSteps; ++i) {
                const double mid = 0.5 * (lo + hi);
                const double fm = polynomialValue(dblA, mid) - wave;
                if ((fm < 0) == (flo < 0)) {
                    lo = mid;
                    flo = fm;
                } else {
                    hi = mid;
                }
            }
            pixel = 0.5 * (lo + hi);
            return true;
        }
        previousX = x;
        previous = f;
    }
    return false;
}

std::string sfAutoIdentify(IdentGrid& grid, const std::set<int>& excluded, const std::vector<float>& compX,
                           const std::vector<float>& compY, const AutoIdentifySettings& settings,
                           std::vector<double>& dblA, int& added)
{
    added = 0;
    std::vector<ResidualRow> rows = identifiedRows(grid, excluded);
    if (usableRows(rows) < static_cast<size_t>(minimumAutoRows) || compX.size() < 2)
        return "自動同定には3本以上の同定が必要です";
    std::vector<double> a;
    std::string message = sfDispersionFitRows(rows, settings.order, settings.reject, a);
    if (!message.empty())
        return message;
    IdentGrid work = grid;
    NullSpectrumView plotter;
    int total = 0;
    for (;;) {
        int addedThisPass = 0;
        for (int row = 1; row < work.Rows(); ++row) {
            if (excluded.count(row) || platform::leadingNumber(work.text(row, IdentGrid::colPixel)) != 0)
                continue;
            const double wave = platform::leadingNumber(work.text(row, IdentGrid::colWave));
            double predicted = 0;
            if (wave == 0 || !predictPixel(a, wave, compX.front(), compX.back(), predicted))
                continue;
            std::string cell;
            // A line whose Gaussian does not converge is simply not taken.
            if (!sfSearchGaussPeakPos(static_cast<float>(predicted), compX, compY, settings.search,
                                      settings.halfWidth, plotter, cell)
                     .empty() ||
                cell.empty())
                continue;
            const double measured = platform::leadingNumber(cell);
            if (std::fabs(measured - predicted) <= settings.tolerance && measured != 0) {
                work.setText(row, IdentGrid::colPixel, cell);
                ++addedThisPass;
            }
        }
        if (addedThisPass == 0)
            break;
        total += addedThisPass;
        rows = identifiedRows(work, excluded);
        message = sfDispersionFitRows(rows, settings.order, settings.reject, a);
        if (!message.empty())
            return message;
    }
    grid = work;
    dblA.swap(a);
    added = total;
    return {};
}

} // namespace raylen
