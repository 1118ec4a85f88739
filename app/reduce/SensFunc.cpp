#include "reduce/SensFunc.h"

#include "files/FileAccess.h"
#include "numeric/Polynomial.h"
#include "numeric/Resample.h"
#include "numeric/WeightedFit.h"
#include "platform/BasicError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace raylen {

namespace {

constexpr double magnitudesPerDex = 2.5;
constexpr double percent = 100.0;

// Counts a pixel at a table point: the mean over the point's band when the
// band spans more than a pixel, else the spectrum interpolated linearly.
bool countsAt(const std::vector<float>& x, const std::vector<float>& y, double lambda, double band, double& counts)
{
    if (lambda < x.front() || lambda > x.back())
        return false;
    const size_t k = static_cast<size_t>(std::lower_bound(x.begin(), x.end(), static_cast<float>(lambda)) - x.begin());
    const size_t hi = std::clamp<size_t>(k, 1, x.size() - 1);
    const double pixelStep = static_cast<double>(x[hi]) - x[hi - 1];
    const double a = lambda - 0.5 * band, b = lambda + 0.5 * band;
    if (band > pixelStep && a >= x.front() && b <= x.back()) {
        counts = integrateFlux(x, y, a, b) / band;
        return std::isfinite(counts);
    }
    const double t = (lambda - x[hi - 1]) / pixelStep;
    counts = y[hi - 1] + t * (static_cast<double>(y[hi]) - y[hi - 1]);
    return std::isfinite(counts);
}

// The standard's σ at a table point as countsAt measures the counts: read
// linearly, and for a band mean over n = band / pixel step pixels divided by √n.
double sigmaAt(const std::vector<float>& x, const std::vector<float>& sigma, double lambda, double band)
{
    const size_t k = static_cast<size_t>(std::lower_bound(x.begin(), x.end(), static_cast<float>(lambda)) - x.begin());
    const size_t hi = std::clamp<size_t>(k, 1, x.size() - 1);
    const double pixelStep = static_cast<double>(x[hi]) - x[hi - 1];
    const double t = (lambda - x[hi - 1]) / pixelStep;
    double s = sigma[hi - 1] + t * (static_cast<double>(sigma[hi]) - sigma[hi - 1]);
    const double a = lambda - 0.5 * band, b = lambda + 0.5 * band;
    if (band > pixelStep && a >= x.front() && b <= x.back())
        s *= std::sqrt(pixelStep / band);
    return s;
}

bool inMasks(const std::vector<WaveRange>& masks, double a, double b)
{
    for (const WaveRange& m : masks)
        if (b >= std::min(m.lo, m.hi) && a <= std::max(m.lo, m.hi))
            return true;
    return false;
}

} // namespace

const std::vector<WaveRange>& defaultSensMasks()
{
    static const std::vector<WaveRange> masks = {
        {4080, 4125}, {4310, 4370}, {4830, 4890}, {6530, 6600}, // H delta, gamma, beta, alpha
        {6860, 6960}, {7580, 7700},                             // O2 B and A bands
        {7150, 7350},                                           // H2O
    };
    return masks;
}

std::string sfSensFunc(const std::vector<float>& stdX, const std::vector<float>& stdY,
                       const StandardTable& standard, const ExtinctionTable* extinction,
                       const SensFuncSettings& settings, SensFuncResult& result,
                       const std::vector<float>* stdSigma)
{
    if (stdX.size() < 2 || stdY.size() != stdX.size())
        return "データ点が2点以上必要です";
    for (size_t i = 1; i < stdX.size(); ++i)
        if (!(stdX[i] > stdX[i - 1]))
            return "Xが昇順ではありません";
    if (!(settings.exptime > 0) || !std::isfinite(settings.exptime))
        return "露出時間は正の数で指定してください";
    if (!(settings.airmass >= 0) || !std::isfinite(settings.airmass))
        return "エアマスは0以上の数で指定してください";
    if (settings.order < 0)
        return "次数は0以上で指定してください";

    const bool withSigma = stdSigma != nullptr && stdSigma->size() == stdX.size();
    SensFuncResult out;
    out.unit = standard.unit;
    std::vector<float> tx, ty;
    std::vector<size_t> used;
    for (size_t j = 0; j < standard.wave.size(); ++j) {
        SensPoint p;
        p.wave = standard.wave[j];
        p.flux = standard.flux[j];
        const double band = standard.band[j];
        if (!countsAt(stdX, stdY, p.wave, band, p.counts))
            continue;
        const double transmission = extinction ? atmosphericTransmission(*extinction, p.wave, settings.airmass) : 1.0;
        p.response = p.counts / (p.flux * settings.exptime * transmission);
        if (withSigma)
            p.sigma = sigmaAt(stdX, *stdSigma, p.wave, band) / (p.flux * settings.exptime * transmission);
        p.masked = inMasks(settings.masks, p.wave - 0.5 * band, p.wave + 0.5 * band) || !(p.flux > 0) ||
                   !(p.response > 0) || !std::isfinite(p.response);
        if (!p.masked)
            used.push_back(out.points.size());
        out.points.push_back(p);
    }
    if (used.size() < static_cast<size_t>(settings.order) + 1 || used.size() < 2)
        return "感度曲線を求めるには標準星のデータ点が足りません";

    // Fitted in magnitudes over a scaled wavelength: a response spans
    // decades, and monomials of raw wavelengths lose every digit at order 7.
    const double first = out.points[used.front()].wave, last = out.points[used.back()].wave;
    const double mid = 0.5 * (first + last), half = 0.5 * (last - first);
    double reference = 0;
    for (size_t k : used)
        reference += magnitudesPerDex * std::log10(out.points[k].response);
    reference /= static_cast<double>(used.size());
    for (size_t k : used) {
        tx.push_back(static_cast<float>((out.points[k].wave - mid) / half));
        ty.push_back(static_cast<float>(magnitudesPerDex * std::log10(out.points[k].response) - reference));
    }
    std::vector<double> a;
    std::vector<char> rejected;
    // σ in magnitudes is (2.5 / ln 10)·σ_R / R.
    std::vector<double> weights;
    for (size_t k : used) {
        const SensPoint& p = out.points[k];
        const double magnitudes = magnitudesPerDex / std::log(10.0) * p.sigma / p.response;
        if (!(magnitudes > 0) || !std::isfinite(magnitudes)) {
            weights.clear();
            break;
        }
        weights.push_back(1.0 / (magnitudes * magnitudes));
    }
    std::string message;
    if (weights.empty()) {
        message = sfLst2FitReject(tx, ty, settings.order, settings.reject, a, &rejected);
    } else {
        const std::vector<double> wx(tx.begin(), tx.end()), wy(ty.begin(), ty.end());
        message = weightedPolynomialFit(wx, wy, weights, settings.order, settings.reject, a, &rejected);
    }
    if (!message.empty())
        return message;

    auto responseAt = [&](double lambda) {
        const double t = std::clamp((lambda - mid) / half, -1.0, 1.0); // constant beyond the fitted points
        return std::pow(10.0, (polynomialValue(a, t) + reference) / magnitudesPerDex);
    };
    double sum = 0;
    size_t n = 0;
    for (size_t i = 0; i < used.size(); ++i)
        out.points[used[i]].rejected = rejected.size() > i && rejected[i];
    for (SensPoint& p : out.points) {
        p.fitted = responseAt(p.wave);
        if (!p.masked && !p.rejected) {
            const double r = p.response / p.fitted - 1.0;
            sum += r * r;
            ++n;
        }
    }
    out.rms = n > 0 ? std::sqrt(sum / static_cast<double>(n)) : 0.0;
    out.sensX = stdX;
    out.sensY.resize(stdX.size());
    for (size_t i = 0; i < stdX.size(); ++i) {
        const double s = responseAt(stdX[i]);
        if (!std::isfinite(s) || s > std::numeric_limits<float>::max())
            return "感度が範囲外です";
        out.sensY[i] = static_cast<float>(s);
    }
    result = std::move(out);
    return {};
}

std::string sfWriteSensFile(const std::string& path, const std::string& unit, const std::vector<float>& sensX,
                            const std::vector<float>& sensY)
{
    return platform::trapErrors("sfWriteSensFile", [&] {
        std::string text;
        if (!unit.empty())
            text += "# unit " + unit + "\r\n";
        char line[80];
        for (size_t i = 0; i < sensX.size() && i < sensY.size(); ++i) {
            // Nine and eight significant digits read back to the same Single.
            std::snprintf(line, sizeof line, "%.9g,%.8g\r\n", sensX[i], sensY[i]);
            text += line;
        }
        AtomicFileWriter writer(path);
        writer.write(text);
        writer.commit();
    });
}

std::string sensResidualText(const SensFuncResult& result)
{
    std::string text;
    char line[160];
    for (const SensPoint& p : result.points) {
        const double residual = p.fitted > 0 ? (p.response / p.fitted - 1.0) * percent : 0.0;
        std::snprintf(line, sizeof line, "%.2f %.6g %.6g %.3f%s\n", p.wave, p.response, p.fitted, residual,
                      p.masked ? " マスク" : p.rejected ? " 棄却" : "");
        text += line;
    }
    std::snprintf(line, sizeof line, "RMS=%.3f%%\n", result.rms * percent);
    return text + line;
}

} // namespace raylen
