#include "reduce/OptimalExtract.h"

#include "numeric/BandedSolve.h"
#include "numeric/ParallelFor.h"

#include <algorithm>
#include <cmath>

namespace raylen {

namespace {

// The profile is a piecewise-linear function of the offset from the trace
// centre with knots this far apart: pixel values sampled at many sub-pixel
// phases along a tilted trace fill it in.
constexpr double knotStep = 0.25;
// Columns per block of the profile fit; blocks are joined linearly, so the
// profile varies smoothly along the dispersion.
constexpr size_t blockColumns = 100;
// Curvature penalty relative to the mean data weight per knot: it only
// fills knots between sampled phases, never pulls on sampled ones.
constexpr double curvaturePenalty = 1e-3;
constexpr double ridge = 1e-9;
// Rejection rounds of the profile fit.
constexpr int profileRounds = 5;
// A column keeps at least this many pixels however many are rejected.
constexpr int minimumPixels = 3;
// Half-width of the running median that estimates each column's flux for
// the first profile fit, so a cosmic ray does not inflate its column's weight.
constexpr size_t medianHalfWidth = 2;
// Columns a worker takes at least: the per-column work is a few hundred
// nanoseconds, a thread start some tens of microseconds.
constexpr size_t columnGrain = 256;

// One value per pixel of every column, in one block of memory.
template <class T>
class PixelTable {
public:
    explicit PixelTable(const std::vector<ExtractColumn>& columns, T fill = T())
    {
        start_.reserve(columns.size() + 1);
        size_t total = 0;
        for (const ExtractColumn& c : columns) {
            start_.push_back(total);
            total += c.rows();
        }
        start_.push_back(total);
        values_.assign(total, fill);
    }
    T* operator[](size_t column) { return values_.data() + start_[column]; }
    const T* operator[](size_t column) const { return values_.data() + start_[column]; }
    void fill(const std::vector<ExtractColumn>& columns, size_t column, T value)
    {
        std::fill_n((*this)[column], columns[column].rows(), value);
    }

private:
    std::vector<size_t> start_;
    std::vector<T> values_;
};

class Profile {
public:
    Profile(double apertureWidth, size_t columns)
        : origin_(-apertureWidth / 2 - 1 - knotStep),
          knots_(static_cast<size_t>(std::ceil((apertureWidth + 2 + 2 * knotStep) / knotStep)) + 2),
          blocks_(std::max<size_t>(1, (columns + blockColumns / 2) / blockColumns)),
          columns_(columns), coef_(blocks_, std::vector<double>(knots_, 0.0))
    {
    }

    size_t blocks() const { return blocks_; }
    size_t blockOf(size_t column) const { return std::min(blocks_ - 1, column * blocks_ / columns_); }

    // The knot below the offset and the fraction towards the next.
    bool locate(double offset, size_t& k, double& f) const
    {
        const double t = (offset - origin_) / knotStep;
        if (!(t >= 0) || t >= static_cast<double>(knots_ - 1))
            return false;
        k = static_cast<size_t>(t);
        f = t - static_cast<double>(k);
        return true;
    }

    // The profile at every pixel of columns [begin, end): linear in the
    // column between the centres of the two nearest blocks, one knot
    // search a pixel for both.
    void evaluate(const std::vector<ExtractColumn>& columns, PixelTable<double>& at, size_t begin, size_t end) const
    {
        for (size_t c = begin; c < end; ++c) {
            const double position = (static_cast<double>(c) + 0.5) * static_cast<double>(blocks_) /
                                        static_cast<double>(columns_) - 0.5;
            size_t b0 = 0, b1 = 0;
            double g = 0;
            if (blocks_ > 1 && position >= static_cast<double>(blocks_ - 1)) {
                b0 = b1 = blocks_ - 1;
            } else if (blocks_ > 1 && position > 0) {
                b0 = static_cast<size_t>(position);
                b1 = b0 + 1;
                g = position - static_cast<double>(b0);
            }
            const double* lo = coef_[b0].data();
            const double* hi = coef_[b1].data();
            const ExtractColumn& col = columns[c];
            double* out = at[c];
            for (size_t i = 0; i < col.rows(); ++i) {
                size_t k = 0;
                double f = 0;
                if (!locate(col.offset(i), k, f)) {
                    out[i] = 0.0;
                    continue;
                }
                const double a = (1 - f) * lo[k] + f * lo[k + 1];
                const double b = (1 - f) * hi[k] + f * hi[k + 1];
                out[i] = (1 - g) * a + g * b;
            }
        }
    }

    // Least squares of D − S ≈ F·P(offset) with weights 1/V in one block.
    bool fitBlock(size_t block, const std::vector<ExtractColumn>& columns, const std::vector<double>& flux,
                  const PixelTable<double>& variance, const PixelTable<char>& use)
    {
        BandedSystem a(knots_, 2);
        std::vector<double> b(knots_, 0.0);
        const size_t first = block * columns_ / blocks_, end = (block + 1) * columns_ / blocks_;
        for (size_t c = first; c < end; ++c) {
            const ExtractColumn& col = columns[c];
            const double fc = flux[c];
            for (size_t i = 0; i < col.rows(); ++i) {
                size_t k = 0;
                double f = 0;
                if (!use[c][i] || !locate(col.offset(i), k, f))
                    continue;
                const double w = fc * fc / variance[c][i];
                const double target = (col.counts[i] - col.sky[i]) * fc / variance[c][i];
                a.add(k, k, w * (1 - f) * (1 - f));
                a.add(k + 1, k, w * (1 - f) * f);
                a.add(k + 1, k + 1, w * f * f);
                b[k] += target * (1 - f);
                b[k + 1] += target * f;
            }
        }
        double mean = 0;
        for (size_t k = 0; k < knots_; ++k)
            mean += a.diagonal(k);
        mean /= static_cast<double>(knots_);
        if (!(mean > 0) || !std::isfinite(mean))
            return false;
        const double lambda = curvaturePenalty * mean;
        for (size_t k = 1; k + 1 < knots_; ++k) {
            const double e[3] = {1, -2, 1};
            for (size_t p = 0; p < 3; ++p)
                for (size_t q = 0; q <= p; ++q)
                    a.add(k - 1 + p, k - 1 + q, lambda * e[p] * e[q]);
        }
        for (size_t k = 0; k < knots_; ++k)
            a.add(k, k, ridge * mean);
        if (!a.solve(b))
            return false;
        coef_[block] = b;
        return true;
    }

private:
    double origin_;
    size_t knots_, blocks_, columns_;
    std::vector<std::vector<double>> coef_;
};

// Pixel variances never fall below one electron: a noise-free pixel would
// otherwise weigh infinitely.
double floored(const NoiseModel& noise, double variance)
{
    return std::max(variance, 1.0 / (noise.gain * noise.gain));
}

std::vector<double> runningMedian(const std::vector<ExtractColumn>& columns)
{
    std::vector<double> out(columns.size());
    std::vector<double> window;
    for (size_t c = 0; c < columns.size(); ++c) {
        window.clear();
        const size_t lo = c > medianHalfWidth ? c - medianHalfWidth : 0;
        const size_t hi = std::min(columns.size(), c + medianHalfWidth + 1);
        for (size_t k = lo; k < hi; ++k)
            window.push_back(columns[k].box);
        std::nth_element(window.begin(), window.begin() + static_cast<long>(window.size() / 2), window.end());
        out[c] = window[window.size() / 2];
    }
    return out;
}

// Every column, split over the cores; the work of column c writes only
// what belongs to c.
template <class Work>
void forColumns(size_t count, Work&& work)
{
    parallelFor(count, columnGrain, [&](size_t begin, size_t end) {
        for (size_t c = begin; c < end; ++c)
            work(c);
    });
}

// The blocks flagged in `which` (all when empty) fitted anew; false when
// none could be.
bool fitBlocks(Profile& profile, const std::vector<ExtractColumn>& columns, const std::vector<double>& flux,
               const PixelTable<double>& variance, const PixelTable<char>& use, const std::vector<char>& which)
{
    std::vector<char> fitted(profile.blocks(), 0);
    parallelFor(profile.blocks(), 1, [&](size_t begin, size_t end) {
        for (size_t block = begin; block < end; ++block)
            if (which.empty() || which[block])
                fitted[block] = profile.fitBlock(block, columns, flux, variance, use) ? 1 : 0;
    });
    return std::find(fitted.begin(), fitted.end(), 1) != fitted.end();
}

// Fits the profile to every block with rejection of outlying pixels; the
// pixels in `use` that are off stay off. On success `at` holds the final
// profile at every pixel.
bool fitProfile(Profile& profile, const std::vector<ExtractColumn>& columns, const std::vector<double>& flux,
                const NoiseModel& noise, double crSigma, PixelTable<char> use, PixelTable<double>& at)
{
    PixelTable<double> variance(columns);
    forColumns(columns.size(), [&](size_t c) {
        for (size_t i = 0; i < columns[c].rows(); ++i)
            variance[c][i] = floored(noise, noise.pixelVariance(columns[c].counts[i]));
    });
    if (!fitBlocks(profile, columns, flux, variance, use, {}))
        return false;
    std::vector<char> lost(columns.size()), changed(profile.blocks());
    for (int round = 0;; ++round) {
        parallelFor(columns.size(), columnGrain,
                    [&](size_t begin, size_t end) { profile.evaluate(columns, at, begin, end); });
        if (round == profileRounds)
            break;
        forColumns(columns.size(), [&](size_t c) {
            const ExtractColumn& col = columns[c];
            const double* p = at[c];
            lost[c] = 0;
            for (size_t i = 0; i < col.rows(); ++i) {
                const double model = flux[c] * p[i];
                variance[c][i] = floored(noise, noise.pixelVariance(model + col.sky[i]));
                const double r = col.counts[i] - col.sky[i] - model;
                if (use[c][i] && r * r > crSigma * crSigma * variance[c][i]) {
                    use[c][i] = 0;
                    lost[c] = 1;
                }
            }
        });
        std::fill(changed.begin(), changed.end(), 0);
        for (size_t c = 0; c < columns.size(); ++c)
            changed[profile.blockOf(c)] |= lost[c];
        if (std::find(changed.begin(), changed.end(), 1) == changed.end())
            break;
        // Only the blocks that lost pixels are fitted again.
        fitBlocks(profile, columns, flux, variance, use, changed);
    }
    return true;
}

// Horne's steps 5-8 on one column with its normalised profile.
OptimalColumn extractColumn(const ExtractColumn& col, const std::vector<double>& p, const NoiseModel& noise,
                            double crSigma, char* kept, std::vector<double>& v, std::vector<double>& w)
{
    const size_t n = col.rows();
    std::fill_n(kept, n, 1);
    v.resize(n);
    w.resize(n);
    OptimalColumn out;
    double f = col.box;
    int keptCount = static_cast<int>(n);
    for (;;) {
        double denom = 0;
        // Two rounds bring f and the model variance together.
        for (int round = 0; round < 2; ++round) {
            double num = 0;
            denom = 0;
            for (size_t i = 0; i < n; ++i) {
                v[i] = floored(noise, noise.pixelVariance(f * p[i] + col.sky[i]));
                if (kept[i]) {
                    num += p[i] * (col.counts[i] - col.sky[i]) / v[i];
                    denom += p[i] * p[i] / v[i];
                }
            }
            if (!(denom > 0))
                break;
            f = num / denom;
        }
        if (!(denom > 0)) {
            out.fellBack = true;
            return out;
        }
        size_t worst = n;
        double worstResidual = crSigma * crSigma;
        for (size_t i = 0; i < n; ++i) {
            if (!kept[i])
                continue;
            const double r = col.counts[i] - col.sky[i] - f * p[i];
            if (r * r / v[i] > worstResidual) {
                worstResidual = r * r / v[i];
                worst = i;
            }
        }
        if (worst == n || keptCount <= minimumPixels) {
            for (size_t i = 0; i < n; ++i)
                w[i] = kept[i] ? p[i] / v[i] / denom : 0.0;
            out.flux = f;
            out.variance = col.variance(w, v);
            return out;
        }
        kept[worst] = 0;
        --keptCount;
        ++out.rejected;
    }
}

// The profile at the column's rows, not negative, normalised so that the
// box weights sum it to 1; false when nothing is left.
bool normalisedProfile(const double* at, const ExtractColumn& col, std::vector<double>& p)
{
    p.resize(col.rows());
    double total = 0;
    for (size_t i = 0; i < col.rows(); ++i) {
        p[i] = std::max(0.0, at[i]);
        total += col.boxWeights[i] * p[i];
    }
    if (!(total > 0) || !std::isfinite(total))
        return false;
    for (double& value : p)
        value /= total;
    return true;
}

// Every column writes only its own result and flags, so blocks of columns
// run on all cores with the same outcome as one.
// `at`: the profile at every pixel; null when there is none (box sums).
void extractAll(const PixelTable<double>* at, const std::vector<ExtractColumn>& columns, const NoiseModel& noise,
                double crSigma, std::vector<OptimalColumn>& result, PixelTable<char>& kept)
{
    parallelFor(columns.size(), columnGrain, [&](size_t begin, size_t end) {
        std::vector<double> p, v, w;
        for (size_t c = begin; c < end; ++c) {
            const ExtractColumn& col = columns[c];
            if (at != nullptr && normalisedProfile((*at)[c], col, p))
                result[c] = extractColumn(col, p, noise, crSigma, kept[c], v, w);
            else
                result[c].fellBack = true;
            if (result[c].fellBack) {
                kept.fill(columns, c, 1);
                v.resize(col.rows());
                for (size_t i = 0; i < col.rows(); ++i)
                    v[i] = noise.pixelVariance(col.counts[i]);
                result[c] = {col.box, col.variance(col.boxWeights, v), 0, true};
            }
        }
    });
}

} // namespace

std::string optimalExtract(const std::vector<ExtractColumn>& columns, double apertureWidth, const NoiseModel& noise,
                           double crSigma, std::vector<OptimalColumn>& result)
{
    if (!(noise.gain > 0) || !(crSigma > 0))
        return "sfScanDataPro, gain and cr-sigma must be positive";
    std::vector<OptimalColumn> out(columns.size());
    if (columns.empty()) {
        result.swap(out);
        return {};
    }
    PixelTable<char> use(columns, 1), kept(columns, 1);
    PixelTable<double> at(columns);
    Profile profile(apertureWidth, columns.size());
    // First pass: a profile from robust column fluxes; when it rejected
    // pixels, a second from its fluxes without them.
    if (fitProfile(profile, columns, runningMedian(columns), noise, crSigma, use, at)) {
        extractAll(&at, columns, noise, crSigma, out, kept);
        std::vector<double> flux(columns.size());
        bool anyRejected = false;
        for (size_t c = 0; c < columns.size(); ++c) {
            flux[c] = out[c].flux;
            anyRejected = anyRejected || out[c].rejected > 0;
        }
        if (anyRejected && fitProfile(profile, columns, flux, noise, crSigma, kept, at))
            extractAll(&at, columns, noise, crSigma, out, kept);
    } else {
        // No star to fit a profile to: every column keeps its box sum.
        extractAll(nullptr, columns, noise, crSigma, out, kept);
    }
    result.swap(out);
    return {};
}

} // namespace raylen
