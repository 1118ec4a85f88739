#include "reduce/Reidentify.h"

#include "numeric/Polynomial.h"
#include "platform/BasicRuntime.h"
#include "reduce/DispersionResiduals.h"
#include "reduce/LineMeasure.h"
#include "view/SpectrumView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace raylen {

namespace {

// Width of the lines drawn for the earlier lamp when only the table is at
// hand; a lamp line spreads over a few pixels.
constexpr double templateSigma = 1.5;
constexpr double templateReach = 5.0; // sigmas
// The stretch grid moves the ends of the lamp by at most this many pixels.
constexpr double stretchStepPixels = 0.5;
constexpr double shiftFractionOfLamp = 0.25;
// Pixels below this share of the strongest (compressed) line are left out
// of the correlation: a line under 1 % of the strongest decides nothing.
constexpr double linePixelFraction = 0.1;

// Lamp counts made comparable between exposures: the floor removed and
// strong lines compressed, so that one line does not decide the match.
std::vector<double> flattened(const std::vector<float>& y)
{
    std::vector<float> sorted(y);
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(sorted.size() / 2), sorted.end());
    const double floor = sorted[sorted.size() / 2];
    std::vector<double> out(y.size());
    for (size_t i = 0; i < y.size(); ++i)
        out[i] = std::isfinite(y[i]) ? std::sqrt(std::max(0.0, y[i] - floor)) : 0.0;
    return out;
}

// The lamp's pixels that carry lines: the correlation is summed over these
// only, which keeps the search over shifts and stretches quick.
struct LinePixels {
    std::vector<double> x, value;
};

LinePixels linePixels(const std::vector<float>& x, const std::vector<double>& flat)
{
    LinePixels lines;
    const double top = flat.empty() ? 0.0 : *std::max_element(flat.begin(), flat.end());
    for (size_t i = 0; i < flat.size(); ++i)
        if (flat[i] > linePixelFraction * top) {
            lines.x.push_back(x[i]);
            lines.value.push_back(flat[i]);
        }
    return lines;
}

// The earlier lamp as a function of its pixel, sampled on whole pixels
// from `first`; linear in between, 0 outside.
struct Template {
    double first = 0;
    std::vector<double> values;

    double at(double p) const
    {
        const double t = p - first;
        if (!(t >= 0) || t >= static_cast<double>(values.size()) - 1)
            return 0.0;
        const size_t k = static_cast<size_t>(t);
        const double f = t - static_cast<double>(k);
        return values[k] * (1 - f) + values[k + 1] * f;
    }
};

Template templateFromLamp(const std::vector<float>& x, const std::vector<float>& y)
{
    Template t;
    const std::vector<double> flat = flattened(y);
    t.first = std::floor(x.front());
    const size_t n = static_cast<size_t>(std::ceil(x.back()) - t.first) + 1;
    t.values.assign(n, 0.0);
    size_t k = 0;
    for (size_t j = 0; j < n; ++j) {
        const double p = t.first + static_cast<double>(j);
        while (k + 1 < x.size() && x[k + 1] < p)
            ++k;
        if (p < x.front() || p > x.back() || k + 1 >= x.size())
            continue;
        const double f = (p - x[k]) / (static_cast<double>(x[k + 1]) - x[k]);
        t.values[j] = flat[k] * (1 - f) + flat[k + 1] * f;
    }
    return t;
}

Template templateFromTable(const std::vector<double>& oldA, const std::vector<float>& wave, double lo, double hi)
{
    Template t;
    t.first = std::floor(lo);
    t.values.assign(static_cast<size_t>(std::ceil(hi) - t.first) + 1, 0.0);
    for (float w : wave) {
        double p = 0;
        if (w == 0 || !predictPixel(oldA, w, lo, hi, p))
            continue;
        const long from = static_cast<long>(std::floor(p - templateReach * templateSigma - t.first));
        const long to = static_cast<long>(std::ceil(p + templateReach * templateSigma - t.first));
        for (long j = std::max(0L, from); j <= to && j < static_cast<long>(t.values.size()); ++j) {
            const double d = (t.first + static_cast<double>(j) - p) / templateSigma;
            t.values[static_cast<size_t>(j)] += std::exp(-0.5 * d * d);
        }
    }
    return t;
}

double correlation(const LinePixels& f, const Template& g, const LampShift& s)
{
    double sum = 0;
    for (size_t i = 0; i < f.x.size(); ++i)
        sum += f.value[i] * g.at(s.oldPixel(f.x[i]));
    return sum;
}

// Vertex of the parabola through three equally spaced values, in steps
// from the middle one (0 when they do not bend downwards).
double parabolaVertex(double left, double middle, double right)
{
    const double bend = left - 2 * middle + right;
    return bend < 0 ? std::clamp(0.5 * (left - right) / bend, -0.5, 0.5) : 0.0;
}

} // namespace

std::string findLampShift(const std::vector<float>& compX, const std::vector<float>& compY,
                          const std::vector<double>& oldA, const std::vector<float>& tableWave,
                          const PreviousLamp& previous, const ReidentifySettings& settings, LampShift& found)
{
    if (compX.size() < 2 || compY.size() != compX.size())
        return "データ点が2点以上必要です";
    if (oldA.empty())
        return "前回の分散式がありません";
    const double lo = compX.front(), hi = compX.back();
    const double halfSpan = 0.5 * (hi - lo);
    const double maxShift = settings.maxShift >= 0 ? settings.maxShift : shiftFractionOfLamp * (hi - lo);
    const double maxStretch = std::max(0.0, settings.maxStretch);
    const bool lampGiven = previous.x && previous.y && previous.x->size() >= 2 &&
                           previous.y->size() == previous.x->size();
    const double reach = maxShift + maxStretch * halfSpan + templateReach * templateSigma;
    const Template g = lampGiven ? templateFromLamp(*previous.x, *previous.y)
                                 : templateFromTable(oldA, tableWave, lo - reach, hi + reach);
    const LinePixels f = linePixels(compX, flattened(compY));

    LampShift trial;
    trial.centre = lo + halfSpan;
    const double stretchStep = halfSpan > 0 ? stretchStepPixels / halfSpan : 0.0;
    const long stretchSteps = stretchStep > 0 ? static_cast<long>(std::floor(maxStretch / stretchStep)) : 0;
    const long shiftSteps = static_cast<long>(std::floor(maxShift));
    double best = -HUGE_VAL;
    long bestStretch = 0, bestShift = 0;
    for (long s = -stretchSteps; s <= stretchSteps; ++s) {
        trial.stretch = static_cast<double>(s) * stretchStep;
        for (long d = -shiftSteps; d <= shiftSteps; ++d) {
            trial.shift = static_cast<double>(d);
            const double c = correlation(f, g, trial);
            if (c > best) {
                best = c;
                bestStretch = s;
                bestShift = d;
            }
        }
    }
    if (!(best > 0))
        return "前回の比較光源と一致する位置が見つかりません";

    // Refined between the grid points on each axis.
    auto scoreAt = [&](double stretch, double shift) {
        LampShift s = trial;
        s.stretch = stretch;
        s.shift = shift;
        return correlation(f, g, s);
    };
    const double s0 = static_cast<double>(bestStretch) * stretchStep, d0 = static_cast<double>(bestShift);
    const double dStep = parabolaVertex(scoreAt(s0, d0 - 1), best, scoreAt(s0, d0 + 1));
    const double d1 = d0 + dStep;
    const double sStep = stretchStep > 0 ? parabolaVertex(scoreAt(s0 - stretchStep, d1), scoreAt(s0, d1),
                                                          scoreAt(s0 + stretchStep, d1))
                                         : 0.0;
    trial.stretch = s0 + sStep * stretchStep;
    trial.shift = d1;
    found = trial;
    return {};
}

std::string sfReidentify(IdentGrid& grid, const std::vector<float>& compX, const std::vector<float>& compY,
                         const std::vector<double>& oldA, const PreviousLamp& previous,
                         const ReidentifySettings& settings, LampShift& found, std::vector<double>& dblA,
                         int& added)
{
    added = 0;
    std::vector<float> wave;
    for (int row = 1; row < grid.Rows(); ++row)
        wave.push_back(static_cast<float>(platform::leadingNumber(grid.text(row, IdentGrid::colWave))));
    LampShift shift;
    std::string message = findLampShift(compX, compY, oldA, wave, previous, settings, shift);
    if (!message.empty())
        return message;

    IdentGrid work = grid;
    clearPixelColumn(work);
    NullSpectrumView plotter;
    const double oldLo = shift.oldPixel(compX.front()), oldHi = shift.oldPixel(compX.back());
    for (int row = 1; row < work.Rows(); ++row) {
        const double w = wave[static_cast<size_t>(row - 1)];
        double oldPixel = 0;
        if (w == 0 || !predictPixel(oldA, w, oldLo, oldHi, oldPixel))
            continue;
        const double predicted = shift.newPixel(oldPixel);
        std::string cell;
        // A line whose Gaussian does not converge is not taken.
        if (!sfSearchGaussPeakPos(static_cast<float>(predicted), compX, compY, settings.search, settings.halfWidth,
                                  plotter, cell)
                 .empty() ||
            cell.empty())
            continue;
        const double measured = platform::leadingNumber(cell);
        if (measured != 0 && std::fabs(measured - predicted) <= settings.tolerance)
            work.setText(row, IdentGrid::colPixel, cell);
    }

    const int16_t order = settings.order >= 0 ? settings.order : static_cast<int16_t>(oldA.size() - 1);
    std::vector<ResidualRow> rows = identifiedRows(work, {});
    if (rows.size() < static_cast<size_t>(order) + 1)
        return "再同定できた輝線が足りません";
    std::vector<double> a;
    message = sfDispersionFitRows(rows, order, settings.reject, a);
    if (!message.empty())
        return message;
    if (settings.automatic) {
        AutoIdentifySettings automatic{settings.search, settings.halfWidth, order, settings.tolerance,
                                       settings.reject};
        message = sfAutoIdentify(work, {}, compX, compY, automatic, a, added);
        if (!message.empty())
            return message;
    }
    grid = work;
    dblA.swap(a);
    found = shift;
    return {};
}

std::string lampShiftText(const LampShift& found)
{
    char text[96];
    std::snprintf(text, sizeof text, "shift=%.3f\nstretch=%.6f\n", found.shift, found.stretch);
    return text;
}

} // namespace raylen
