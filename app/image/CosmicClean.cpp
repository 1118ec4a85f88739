#include "image/CosmicClean.h"

#include "fits/FitsHeader.h"
#include "numeric/MedianFilter.h"
#include "numeric/ParallelFor.h"
#include "platform/BasicError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace raylen {

namespace {

// Detection runs again on the cleaned frame until nothing new is found, at
// most this often (the method's own default).
constexpr int maxPasses = 4;
// Neighbours of a cosmic ray join it above this fraction of the clip level.
constexpr double growthFraction = 0.3;
// Electrons²: keeps the noise model above zero on empty, bias-free sky.
constexpr float minimumVariance = 1e-5f;
// Fine structure in noise units never drops below this, so flat sky does
// not turn the object test into a division by zero.
constexpr float fineStructureFloor = 0.01f;
// Replacement window 5 × 5; the fine-structure medians are 3 × 3 then 7 × 7.
constexpr int replaceRadius = 2;
constexpr int smallMedianRadius = 1;
constexpr int largeMedianRadius = 3;
// The Laplacian of the image subsampled 2 × 2 is compared with twice the noise.
constexpr float subsampling = 2.0f;
constexpr size_t rowGrain = 16;

const char* const parameterMessage = "宇宙線除去のﾊﾟﾗﾒｰﾀが正しくありません";

struct Workspace {
    int32_t width = 0, height = 0;
    SingleImage electrons;       // the frame in electrons, cleaned as the passes go
    SingleImage noise;           // electrons
    SingleImage edge;            // Laplacian over noise, then its excess over its 5 × 5 median
    SingleImage scratch;
    std::vector<uint8_t> usable; // 0 for a NaN or infinite input pixel
    std::vector<uint8_t> masked;
    std::vector<uint8_t> level;  // growth stage reached in the current pass
    std::vector<size_t> maskedList;

    size_t index(int32_t x, int32_t y) const { return static_cast<size_t>(y) * width + x; }
};

template <class Rows>
void forRows(int32_t height, Rows&& rows)
{
    parallelFor(static_cast<size_t>(height), rowGrain, [&](size_t begin, size_t end) {
        for (size_t y = begin; y < end; ++y)
            rows(static_cast<int32_t>(y));
    });
}

// The median of the usable, unmasked pixels around (x, y), the window
// widened until it holds one.
float goodNeighbourMedian(const Workspace& w, int32_t x, int32_t y, std::vector<float>& values)
{
    for (int radius = replaceRadius;; ++radius) {
        values.clear();
        for (int32_t v = std::max(0, y - radius); v <= std::min(w.height - 1, y + radius); ++v)
            for (int32_t u = std::max(0, x - radius); u <= std::min(w.width - 1, x + radius); ++u) {
                const size_t i = w.index(u, v);
                if (w.usable[i] && !w.masked[i])
                    values.push_back(w.electrons(u, v));
            }
        if (!values.empty())
            return static_cast<float>(medianInPlace(values.data(), values.size()));
        if (radius > std::max(w.width, w.height))
            return 0.0f;
    }
}

void loadFrame(Workspace& w, const SingleImage& image, double gain)
{
    w.width = image.width();
    w.height = image.height();
    const size_t count = static_cast<size_t>(w.width) * w.height;
    w.electrons.redim(0, w.width - 1, 0, w.height - 1);
    w.usable.assign(count, 1);
    w.masked.assign(count, 0);
    w.level.assign(count, 0);
    std::vector<size_t> unusable;
    for (int32_t y = 0; y < w.height; ++y) {
        const float* in = image.row(image.lowerY() + y);
        float* out = w.electrons.row(y);
        for (int32_t x = 0; x < w.width; ++x) {
            if (std::isfinite(in[x]))
                out[x] = static_cast<float>(in[x] * gain);
            else {
                w.usable[w.index(x, y)] = 0;
                unusable.push_back(w.index(x, y));
            }
        }
    }
    // Unusable pixels take their neighbours' median so that they raise no
    // edge of their own; they stay out of every result.
    std::vector<float> values;
    for (size_t i : unusable) {
        const int32_t x = static_cast<int32_t>(i % w.width), y = static_cast<int32_t>(i / w.width);
        w.electrons(x, y) = goodNeighbourMedian(w, x, y, values);
    }
}

// Laplacian of the frame subsampled 2 × 2, negative values clipped, averaged
// back to the frame's pixels: for pixel c with left/right l, r and lower/upper
// d, u the four subpixels give max(0, 2c − h − v) for h ∈ {l, r}, v ∈ {d, u}.
void laplacianOverNoise(Workspace& w)
{
    forRows(w.height, [&](int32_t y) {
        const float* c = w.electrons.row(y);
        const float* d = w.electrons.row(std::max(y - 1, 0));
        const float* u = w.electrons.row(std::min(y + 1, w.height - 1));
        const float* n = w.noise.row(y);
        float* out = w.edge.row(y);
        auto at = [&](int32_t x, float l, float r) {
            const float twice = 2.0f * c[x];
            const float sum = std::max(0.0f, twice - l - d[x]) + std::max(0.0f, twice - l - u[x]) +
                              std::max(0.0f, twice - r - d[x]) + std::max(0.0f, twice - r - u[x]);
            return 0.25f * sum / (subsampling * n[x]);
        };
        const int32_t last = w.width - 1;
        out[0] = at(0, c[0], c[std::min(1, last)]);
        for (int32_t x = 1; x < last; ++x)
            out[x] = at(x, c[x - 1], c[x + 1]);
        if (last > 0)
            out[last] = at(last, c[last - 1], c[last]);
    });
}

void noiseModel(Workspace& w, double readNoise)
{
    medianFilter5(w.electrons, w.noise);
    const float readVariance = static_cast<float>(readNoise * readNoise);
    forRows(w.height, [&](int32_t y) {
        float* n = w.noise.row(y);
        for (int32_t x = 0; x < w.width; ++x)
            n[x] = std::sqrt(std::max(n[x], minimumVariance) + readVariance);
    });
}

// The edge map minus its 5 × 5 median, which removes the sampling flux of
// smooth structures.
void edgeExcess(Workspace& w)
{
    medianFilter5(w.edge, w.scratch);
    forRows(w.height, [&](int32_t y) {
        float* e = w.edge.row(y);
        const float* m = w.scratch.row(y);
        for (int32_t x = 0; x < w.width; ++x)
            e[x] -= m[x];
    });
}

std::vector<size_t> candidates(const Workspace& w, double sigmaClip)
{
    const size_t blocks = std::max<size_t>(1, std::min<size_t>(availableCores(), w.height));
    std::vector<std::vector<size_t>> found(blocks);
    // One list per fixed row band, joined in order: the same list on any core count.
    parallelFor(blocks, 1, [&](size_t first, size_t end) {
        for (size_t b = first; b < end; ++b) {
            const int32_t y0 = static_cast<int32_t>(b * w.height / blocks);
            const int32_t y1 = static_cast<int32_t>((b + 1) * w.height / blocks);
            for (int32_t y = y0; y < y1; ++y) {
                const float* e = w.edge.row(y);
                for (int32_t x = 0; x < w.width; ++x)
                    if (e[x] > sigmaClip && w.usable[w.index(x, y)])
                        found[b].push_back(w.index(x, y));
            }
        }
    });
    std::vector<size_t> all;
    for (const auto& part : found)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Fine structure at (x, y) in noise units: the 3 × 3 median minus the 7 × 7
// median of 3 × 3 medians, edges repeated.
float fineStructure(const Workspace& w, int32_t x, int32_t y)
{
    std::vector<float> around;
    around.reserve((2 * largeMedianRadius + 1) * (2 * largeMedianRadius + 1));
    for (int dy = -largeMedianRadius; dy <= largeMedianRadius; ++dy)
        for (int dx = -largeMedianRadius; dx <= largeMedianRadius; ++dx) {
            const int32_t u = std::clamp(x + dx, 0, w.width - 1), v = std::clamp(y + dy, 0, w.height - 1);
            around.push_back(medianAround(w.electrons, u, v, smallMedianRadius));
        }
    const float small = medianAround(w.electrons, x, y, smallMedianRadius);
    const float large = static_cast<float>(medianInPlace(around.data(), around.size()));
    return std::max((small - large) / w.noise(x, y), fineStructureFloor);
}

// Adds the pixels that pass the object limit to `stage`, then grows them
// twice into their 3 × 3 neighbours: first above the clip level, then above
// its growth fraction.
std::vector<size_t> detect(Workspace& w, const CleanParameters& p)
{
    const std::vector<size_t> found = candidates(w, p.sigmaClip);
    std::vector<uint8_t> passes(found.size(), 0);
    parallelFor(found.size(), 64, [&](size_t begin, size_t end) {
        for (size_t k = begin; k < end; ++k) {
            const int32_t x = static_cast<int32_t>(found[k] % w.width), y = static_cast<int32_t>(found[k] / w.width);
            passes[k] = w.edge(x, y) / fineStructure(w, x, y) > p.objectLimit;
        }
    });
    std::vector<size_t> stage;
    for (size_t k = 0; k < found.size(); ++k)
        if (passes[k])
            stage.push_back(found[k]);
    auto grow = [&](const std::vector<size_t>& from, uint8_t reached, double threshold) {
        std::vector<size_t> next;
        for (size_t i : from) {
            const int32_t x = static_cast<int32_t>(i % w.width), y = static_cast<int32_t>(i / w.width);
            for (int32_t v = std::max(0, y - 1); v <= std::min(w.height - 1, y + 1); ++v)
                for (int32_t u = std::max(0, x - 1); u <= std::min(w.width - 1, x + 1); ++u) {
                    const size_t j = w.index(u, v);
                    if (w.level[j] < reached && w.usable[j] && w.edge(u, v) > threshold) {
                        w.level[j] = reached;
                        next.push_back(j);
                    }
                }
        }
        return next;
    };
    const std::vector<size_t> first = grow(stage, 1, p.sigmaClip);
    std::vector<size_t> second = grow(first, 2, growthFraction * p.sigmaClip);
    for (size_t i : first)
        w.level[i] = 0;
    for (size_t i : second)
        w.level[i] = 0;
    return second;
}

void replaceMasked(Workspace& w)
{
    std::vector<float> replacement(w.maskedList.size());
    std::vector<float> values;
    // Every replacement reads unmasked pixels only, which never change.
    for (size_t k = 0; k < w.maskedList.size(); ++k) {
        const size_t i = w.maskedList[k];
        replacement[k] = goodNeighbourMedian(w, static_cast<int32_t>(i % w.width), static_cast<int32_t>(i / w.width),
                                             values);
    }
    for (size_t k = 0; k < w.maskedList.size(); ++k) {
        const size_t i = w.maskedList[k];
        w.electrons(static_cast<int32_t>(i % w.width), static_cast<int32_t>(i / w.width)) = replacement[k];
    }
}

bool validParameters(const CleanParameters& p)
{
    return std::isfinite(p.sigmaClip) && p.sigmaClip > 0 && std::isfinite(p.objectLimit) && p.objectLimit > 0 &&
           std::isfinite(p.gain) && p.gain > 0 && std::isfinite(p.readNoise) && p.readNoise >= 0;
}

std::string commentText(size_t cleaned, const CleanParameters& p)
{
    char text[160];
    std::snprintf(text, sizeof text, "Cosmic rays: %zu px, sigclip %.4g objlim %.4g gain %.4g rdnoise %.4g", cleaned,
                  p.sigmaClip, p.objectLimit, p.gain, p.readNoise);
    return text;
}

} // namespace

std::string sfCleanCosmicRays(SingleImage& image, HeaderCards& header, const CleanParameters& parameters,
                              CleanResult& result)
{
    if (!validParameters(parameters))
        return parameterMessage;
    if (image.empty())
        return "データがありません";
    return platform::trapErrors("sfCleanCosmicRays", [&]() -> std::string {
        Workspace w;
        loadFrame(w, image, parameters.gain);
        w.edge.redim(0, w.width - 1, 0, w.height - 1);
        for (int pass = 0; pass < maxPasses; ++pass) {
            noiseModel(w, parameters.readNoise);
            laplacianOverNoise(w);
            edgeExcess(w);
            size_t added = 0;
            for (size_t i : detect(w, parameters))
                if (!w.masked[i]) {
                    w.masked[i] = 1;
                    w.maskedList.push_back(i);
                    ++added;
                }
            if (added == 0)
                break;
            replaceMasked(w);
        }

        HeaderCards cards = header;
        std::string message = sfAddComent(commentText(w.maskedList.size(), parameters), cards);
        if (!message.empty())
            return message;
        CleanResult done;
        done.cleaned = w.maskedList.size();
        done.replaced.redim(image.lowerX(), image.upperX(), image.lowerY(), image.upperY());
        for (size_t i : w.maskedList) {
            const int32_t x = static_cast<int32_t>(i % w.width), y = static_cast<int32_t>(i / w.width);
            image(image.lowerX() + x, image.lowerY() + y) = static_cast<float>(w.electrons(x, y) / parameters.gain);
            done.replaced(image.lowerX() + x, image.lowerY() + y) = 1;
        }
        header.swap(cards);
        result = std::move(done);
        return {};
    });
}

SingleImage replacedPixelFrame(const CleanResult& result)
{
    const Array2D<uint8_t>& mask = result.replaced;
    SingleImage frame;
    if (mask.empty())
        return frame;
    frame.redim(mask.lowerX(), mask.upperX(), mask.lowerY(), mask.upperY());
    for (size_t i = 0; i < mask.size(); ++i)
        frame.data()[i] = mask.data()[i];
    return frame;
}

} // namespace raylen
