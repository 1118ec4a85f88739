#include "image/Combine.h"

#include "files/FileAccess.h"
#include "fits/FitsHeader.h"
#include "fits/FitsRows.h"
#include "image/ErrorExtension.h"
#include "numeric/ParallelFor.h"
#include "platform/BasicError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <numbers>
#include <utility>
#include <optional>

namespace raylen {

namespace {

// Values of one frame held per band: a few MiB for ten frames.
constexpr size_t bandValues = size_t(1) << 18;
constexpr size_t insertionSortLimit = 16;

void sortSmall(double* v, size_t n)
{
    if (n > insertionSortLimit) {
        std::sort(v, v + n);
        return;
    }
    for (size_t i = 1; i < n; ++i) {
        const double x = v[i];
        size_t j = i;
        for (; j > 0 && v[j - 1] > x; --j)
            v[j] = v[j - 1];
        v[j] = x;
    }
}

double sortedMedian(const double* v, size_t n)
{
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// The median of |v − centre| over sorted values: the deviations grow
// outwards from the centre, so merging both sides finds the middle ones.
double sortedMedianDeviation(const double* v, size_t n, double centre)
{
    size_t right = static_cast<size_t>(std::lower_bound(v, v + n, centre) - v);
    size_t left = right; // v[left − 1] is the next one below
    const size_t lowRank = (n - 1) / 2, highRank = n / 2;
    double low = 0.0, deviation = 0.0;
    for (size_t rank = 0; rank <= highRank; ++rank) {
        const bool takeLeft = right == n || (left > 0 && centre - v[left - 1] <= v[right] - centre);
        deviation = takeLeft ? centre - v[--left] : v[right++] - centre;
        if (rank == lowRank)
            low = deviation;
    }
    return (low + deviation) / 2.0;
}

// Leaves the finite values first, sorted, and returns their number.
size_t sortFinite(double* values, size_t count)
{
    size_t n = 0;
    for (size_t i = 0; i < count; ++i)
        if (std::isfinite(values[i]))
            values[n++] = values[i];
    sortSmall(values, n);
    return n;
}

// The same with each value's σ moved along with it.
size_t sortFinitePairs(double* values, double* sigmas, size_t count)
{
    thread_local std::vector<std::pair<double, double>> pairs;
    pairs.clear();
    for (size_t i = 0; i < count; ++i)
        if (std::isfinite(values[i]))
            pairs.emplace_back(values[i], sigmas[i]);
    const auto byValue = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (pairs.size() > insertionSortLimit)
        std::sort(pairs.begin(), pairs.end(), byValue);
    else
        for (size_t i = 1; i < pairs.size(); ++i)
            for (size_t j = i; j > 0 && byValue(pairs[j], pairs[j - 1]); --j)
                std::swap(pairs[j], pairs[j - 1]);
    for (size_t i = 0; i < pairs.size(); ++i) {
        values[i] = pairs[i].first;
        sigmas[i] = pairs[i].second;
    }
    return pairs.size();
}

// The values lo … hi − 1 of the sorted ones that the rejection keeps.
struct Kept {
    size_t lo = 0, hi = 0;
    size_t count() const { return hi > lo ? hi - lo : 0; }
};

Kept keptRange(const double* values, size_t n, const CombineOptions& options)
{
    size_t lo = 0, hi = n;
    if (options.reject == CombineReject::minMax) {
        lo = static_cast<size_t>(options.dropLow);
        hi = n >= static_cast<size_t>(options.dropHigh) ? n - static_cast<size_t>(options.dropHigh) : 0;
    } else if (options.reject == CombineReject::sigmaClip) {
        while (hi > lo) {
            const double centre = sortedMedian(values + lo, hi - lo);
            const double sigma = madToSigma * sortedMedianDeviation(values + lo, hi - lo, centre);
            const double lower = centre - options.low * sigma, upper = centre + options.high * sigma;
            size_t newLo = lo, newHi = hi;
            while (newLo < hi && values[newLo] < lower)
                ++newLo;
            while (newHi > newLo && values[newHi - 1] > upper)
                --newHi;
            // A pass that would reject every value is not taken.
            if ((newLo == lo && newHi == hi) || newHi <= newLo)
                break;
            lo = newLo;
            hi = newHi;
        }
    }
    return {lo, hi};
}

// A sum over fewer values is scaled to every frame, so that a rejected
// cosmic ray leaves no hole in the sum; its σ is scaled alike.
double sumScale(size_t kept, size_t frames)
{
    return kept == frames ? 1.0 : static_cast<double>(frames) / static_cast<double>(kept);
}

double combineKept(const double* values, Kept kept, size_t frames, CombineMethod method)
{
    const size_t n = kept.count();
    if (n == 0)
        return std::numeric_limits<double>::quiet_NaN();
    if (method == CombineMethod::median)
        return sortedMedian(values + kept.lo, n);
    double sum = 0.0;
    for (size_t i = kept.lo; i < kept.hi; ++i)
        sum += values[i];
    if (method == CombineMethod::mean)
        return sum / static_cast<double>(n);
    return n == frames ? sum : sum * static_cast<double>(frames) / static_cast<double>(n);
}

// Frames without their own uncertainty: the standard deviation of the kept
// values (about their mean, divided by n, as the usual combined-frame
// tools normalise it) over √n for mean and median, times √n for a sum.
// One value has no spread: NaN.
double spreadError(const double* values, Kept kept, size_t frames, CombineMethod method)
{
    const size_t n = kept.count();
    if (n < 2)
        return std::numeric_limits<double>::quiet_NaN();
    const double count = static_cast<double>(n);
    double sum = 0.0;
    for (size_t i = kept.lo; i < kept.hi; ++i)
        sum += values[i];
    const double mean = sum / count;
    double squares = 0.0;
    for (size_t i = kept.lo; i < kept.hi; ++i)
        squares += (values[i] - mean) * (values[i] - mean);
    const double deviation = std::sqrt(squares / count);
    if (method == CombineMethod::sum)
        return deviation * std::sqrt(count) * sumScale(n, frames);
    return deviation / std::sqrt(count);
}

// The median of n normal values scatters √(π/2) times more than their mean.
const double medianEfficiency = std::sqrt(std::numbers::pi / 2.0);

// Frames with their own uncertainty: √(Σσ²)/n for the mean, √(Σσ²) for a
// sum (scaled as the sum is), and the mean's times √(π/2) for the median.
double propagatedError(const double* sigmas, Kept kept, size_t frames, CombineMethod method)
{
    const size_t n = kept.count();
    if (n == 0)
        return std::numeric_limits<double>::quiet_NaN();
    double variance = 0.0;
    for (size_t i = kept.lo; i < kept.hi; ++i)
        variance += sigmas[i] * sigmas[i];
    const double root = std::sqrt(variance);
    if (method == CombineMethod::sum)
        return root * sumScale(n, frames);
    const double mean = root / static_cast<double>(n);
    return method == CombineMethod::median ? mean * medianEfficiency : mean;
}

bool validOptions(const CombineOptions& o, size_t frames, std::string& message)
{
    if (o.reject == CombineReject::sigmaClip &&
        !(std::isfinite(o.low) && o.low > 0 && std::isfinite(o.high) && o.high > 0)) {
        message = "ｼｸﾞﾏｸﾘｯﾌﾟの値が正しくありません";
        return false;
    }
    if (o.reject == CombineReject::minMax &&
        (o.dropLow < 0 || o.dropHigh < 0 || static_cast<size_t>(o.dropLow) + o.dropHigh >= frames)) {
        message = "除外する枚数がﾌﾚｰﾑ数以上です";
        return false;
    }
    return true;
}

// EXPTIME rewritten with the new value, its comment kept.
void setExposureTime(HeaderCards& header, double seconds)
{
    for (std::string& card : header) {
        if (isEndCard(card))
            return;
        if (cardKeyword(card) != "EXPTIME" || !cardHasValue(card))
            continue;
        char text[32];
        std::snprintf(text, sizeof text, "%.10G", seconds);
        std::string value = text;
        if (value.find_first_of(".E") == std::string::npos)
            value += '.';
        value.insert(0, valueField > value.size() ? valueField - value.size() : 0, ' ');
        const size_t slash = card.find('/', valueStart);
        std::string rebuilt = card.substr(0, valueStart) + value;
        if (slash != std::string::npos) {
            rebuilt += ' ';
            rebuilt.append(card, slash);
        }
        rebuilt.resize(cardLength, ' ');
        card = rebuilt;
        return;
    }
}

std::optional<double> exposureTime(const HeaderCards& header)
{
    const std::string* card = findValueCard(header, "EXPTIME");
    return card == nullptr ? std::nullopt : cardNumber(cardValue(*card));
}

const char* methodName(CombineMethod m)
{
    switch (m) {
    case CombineMethod::mean: return "mean";
    case CombineMethod::sum: return "sum";
    default: return "median";
    }
}

const char* scaleName(CombineScale s)
{
    switch (s) {
    case CombineScale::median: return "median";
    case CombineScale::exposureTime: return "exptime";
    default: return "none";
    }
}

struct Inputs {
    std::vector<std::unique_ptr<FitsRowReader>> readers;
    std::vector<ErrorExtensionReader> errors; // when every frame carries ERR
    std::vector<double> factors;
};

// The inputs' own uncertainties are propagated only when every frame has
// them; a stack with some frames without falls back to the spread of the
// values, as coadd weights equally unless every spectrum has one.
std::string openErrors(Inputs& in, bool& propagate)
{
    std::vector<ErrorExtensionReader> errors(in.readers.size());
    size_t carried = 0;
    for (size_t f = 0; f < in.readers.size(); ++f) {
        bool found = false;
        std::string message = errors[f].open(*in.readers[f], found);
        if (!message.empty())
            return message;
        carried += found ? 1 : 0;
    }
    propagate = carried == in.readers.size();
    if (propagate)
        in.errors.swap(errors);
    return {};
}

std::string openInputs(const std::vector<std::string>& files, Inputs& in)
{
    for (const std::string& file : files) {
        auto reader = std::make_unique<FitsRowReader>();
        std::string message = reader->open(file);
        if (!message.empty())
            return message + ": " + file;
        const FitsInfo& first = in.readers.empty() ? reader->info() : in.readers.front()->info();
        if (reader->info().NAXIS1 != first.NAXIS1 || reader->info().NAXIS2 != first.NAXIS2)
            return "画像サイズが違います: " + file;
        in.readers.push_back(std::move(reader));
    }
    return {};
}

std::string frameMedian(FitsRowReader& reader, double& median)
{
    const FitsInfo& info = reader.info();
    std::vector<float> all(static_cast<size_t>(info.NAXIS1) * static_cast<size_t>(info.NAXIS2));
    std::string message = reader.readRows(0, info.NAXIS2, all.data());
    if (!message.empty())
        return message;
    all.erase(std::remove_if(all.begin(), all.end(), [](float v) { return !std::isfinite(v); }), all.end());
    if (all.empty()) {
        median = std::numeric_limits<double>::quiet_NaN();
        return {};
    }
    std::vector<double> values(all.begin(), all.end());
    all = {};
    const size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
    median = values[mid];
    if (values.size() % 2 == 0)
        median = (median + *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid))) / 2;
    return {};
}

std::string scaleFactors(Inputs& in, CombineScale scale)
{
    const size_t n = in.readers.size();
    in.factors.assign(n, 1.0);
    if (scale == CombineScale::none)
        return {};
    std::vector<double> level(n);
    for (size_t f = 0; f < n; ++f) {
        FitsRowReader& reader = *in.readers[f];
        if (scale == CombineScale::exposureTime) {
            const auto t = exposureTime(reader.header());
            if (!t || *t <= 0)
                return "EXPTIME がありません: " + reader.path();
            level[f] = *t;
        } else {
            std::string message = frameMedian(reader, level[f]);
            if (!message.empty())
                return message + ": " + reader.path();
        }
    }
    for (size_t f = 0; f < n; ++f) {
        in.factors[f] = level[0] / level[f];
        if (!std::isfinite(in.factors[f]) || in.factors[f] <= 0)
            return "ﾒｼﾞｱﾝで規格化できません: " + in.readers[f]->path();
    }
    return {};
}

HeaderCards resultHeader(const Inputs& in, const std::vector<std::string>& files, const CombineOptions& options,
                         std::string& message)
{
    HeaderCards header = in.readers.front()->header();
    std::vector<double> times;
    for (const auto& reader : in.readers)
        if (auto t = exposureTime(reader->header()))
            times.push_back(*t);
    if (times.size() == in.readers.size()) {
        double total = 0;
        for (double t : times)
            total += t;
        setExposureTime(header, options.method == CombineMethod::sum ? total : total / times.size());
    }
    message = sfAddComent("Combined " + std::to_string(files.size()) + " frames: " + combineDescription(options),
                          header);
    for (size_t f = 0; f < files.size() && message.empty(); ++f)
        message = sfAddComent("Combine input " + namePart(files[f]), header);
    return header;
}

} // namespace

float combinePixel(double* values, size_t count, size_t frames, const CombineOptions& options)
{
    const size_t n = sortFinite(values, count);
    const Kept kept = keptRange(values, n, options);
    return static_cast<float>(combineKept(values, kept, frames, options.method));
}

float combinePixel(double* values, double* sigmas, size_t count, size_t frames, const CombineOptions& options,
                   float& error)
{
    const size_t n = sigmas == nullptr ? sortFinite(values, count) : sortFinitePairs(values, sigmas, count);
    const Kept kept = keptRange(values, n, options);
    error = static_cast<float>(sigmas == nullptr ? spreadError(values, kept, frames, options.method)
                                                 : propagatedError(sigmas, kept, frames, options.method));
    return static_cast<float>(combineKept(values, kept, frames, options.method));
}

std::string combineDescription(const CombineOptions& o)
{
    char reject[64] = "none";
    if (o.reject == CombineReject::sigmaClip)
        std::snprintf(reject, sizeof reject, "sigclip:%g:%g", o.low, o.high);
    else if (o.reject == CombineReject::minMax)
        std::snprintf(reject, sizeof reject, "minmax:%d:%d", o.dropLow, o.dropHigh);
    return std::string(methodName(o.method)) + ", reject " + reject + ", scale " + scaleName(o.scale);
}

std::string sfCombineFrames(const std::vector<std::string>& files, const CombineOptions& options,
                            SingleImage& result, HeaderCards& header, SingleImage* uncertainty)
{
    if (files.empty())
        return "ﾌﾚｰﾑがありません";
    std::string message;
    if (!validOptions(options, files.size(), message))
        return message;
    return platform::trapErrors("sfCombineFrames", [&]() -> std::string {
        Inputs in;
        std::string status = openInputs(files, in);
        if (status.empty())
            status = scaleFactors(in, options.scale);
        if (!status.empty())
            return status;
        HeaderCards cards = resultHeader(in, files, options, status);
        if (!status.empty())
            return status;
        bool propagate = false;
        if (uncertainty != nullptr)
            status = openErrors(in, propagate);
        if (!status.empty())
            return status;

        const int32_t width = in.readers.front()->info().NAXIS1, height = in.readers.front()->info().NAXIS2;
        const size_t frames = in.readers.size();
        const int32_t band = static_cast<int32_t>(
            std::clamp<size_t>(bandValues / static_cast<size_t>(width), 1, static_cast<size_t>(height)));
        const size_t frameBand = static_cast<size_t>(band) * static_cast<size_t>(width);
        std::vector<float> buffers(frames * frameBand), errorBuffers(propagate ? frames * frameBand : 0);
        SingleImage image(width, height), sigma;
        if (uncertainty != nullptr)
            sigma = SingleImage(width, height);
        for (int32_t y0 = 0; y0 < height; y0 += band) {
            const int32_t rows = std::min(band, height - y0);
            for (size_t f = 0; f < frames; ++f) {
                status = in.readers[f]->readRows(y0, rows, buffers.data() + f * frameBand);
                if (!status.empty())
                    return status + ": " + in.readers[f]->path();
                if (propagate)
                    status = in.errors[f].readRows(y0, rows, errorBuffers.data() + f * frameBand);
                if (!status.empty())
                    return status;
            }
            const size_t count = static_cast<size_t>(rows) * static_cast<size_t>(width);
            constexpr size_t pixelGrain = 4096;
            if (uncertainty == nullptr) {
                parallelFor(count, pixelGrain, [&](size_t begin, size_t end) {
                    std::vector<double> values(frames);
                    float* out = image.row(y0);
                    for (size_t i = begin; i < end; ++i) {
                        for (size_t f = 0; f < frames; ++f)
                            values[f] = static_cast<double>(buffers[f * frameBand + i]) * in.factors[f];
                        out[i] = combinePixel(values.data(), frames, frames, options);
                    }
                });
                continue;
            }
            parallelFor(count, pixelGrain, [&](size_t begin, size_t end) {
                std::vector<double> values(frames), sigmas(propagate ? frames : 0);
                float* out = image.row(y0);
                float* outError = sigma.row(y0);
                for (size_t i = begin; i < end; ++i) {
                    // Scaling multiplies σ by the frame's factor as it does the data.
                    for (size_t f = 0; f < frames; ++f) {
                        values[f] = static_cast<double>(buffers[f * frameBand + i]) * in.factors[f];
                        if (propagate)
                            sigmas[f] = static_cast<double>(errorBuffers[f * frameBand + i]) * in.factors[f];
                    }
                    out[i] = combinePixel(values.data(), propagate ? sigmas.data() : nullptr, frames, frames, options,
                                          outError[i]);
                }
            });
        }
        result.swap(image);
        header.swap(cards);
        if (uncertainty != nullptr)
            uncertainty->swap(sigma);
        return {};
    });
}

} // namespace raylen
