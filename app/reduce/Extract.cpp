#include "reduce/Extract.h"

#include "numeric/ParallelFor.h"
#include "platform/BasicError.h"
#include "reduce/ApertureSum.h"
#include "reduce/OptimalExtract.h"
#include "reduce/ParamFile.h"
#include "reduce/RejectedPoints.h"
#include "reduce/Trace.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>

namespace raylen {

namespace {

// The rows the aperture sum read, for the uncertainty and the optimal extraction.
std::string keepColumn(const ScanParam& p, const SingleImage& image, int32_t x, float centre,
                       const SkyPolynomial* sky, float box, ExtractColumn& column)
{
    return platform::trapErrors("sfScanDataPro", [&] {
        RowWeights rw = apertureRowWeights(apertureAround(p.intScanWidth, centre));
        column.x = x;
        column.centre = centre;
        column.firstRow = rw.firstRow;
        column.boxWeights = std::move(rw.weights);
        column.box = box;
        column.counts.resize(column.boxWeights.size());
        column.sky.assign(column.boxWeights.size(), 0.0);
        for (size_t i = 0; i < column.boxWeights.size(); ++i) {
            const int64_t row = static_cast<int64_t>(rw.firstRow) + static_cast<int64_t>(i);
            column.counts[i] = image.at(x, row);
            if (sky != nullptr)
                column.sky[i] = (*sky)(static_cast<double>(row));
        }
        if (sky != nullptr)
            column.skyOrigin = sky->origin;
    });
}

// Columns per block of the parallel column loop: fewer columns than this
// cost less on one core than starting a thread.
constexpr size_t columnGrain = 256;

// What one block of columns gathered, joined in column order afterwards.
struct ColumnBlock {
    std::vector<float> xs, ys, skyLevels;
    std::vector<char> skyRejected;
    std::vector<ExtractColumn> kept;
    std::string status;
};

// Columns first … last of the region into `out`; it stops at the first
// failing column. Every column depends only on its own pixels, so the
// blocks may run in any order on any thread.
void extractRange(const ScanParam& p, const SingleImage& image, bool subtractSky, const RejectOptions& skyReject,
                  int64_t first, int64_t last, bool keep, const NoiseModel& noise, ColumnBlock& out)
{
    // Reserved no further than the image: a block reaching far outside it
    // fails at its first column there.
    std::string& status = out.status;
    status = platform::trapErrors("sfScanDataPro", [&] {
        const size_t expected = std::min(static_cast<size_t>(last - first + 1),
                                         static_cast<size_t>(std::max(image.width(), 0)) + 1);
        out.xs.reserve(expected);
        out.ys.reserve(expected);
        out.skyRejected.reserve(expected);
        if (keep) {
            out.kept.reserve(expected);
            out.skyLevels.reserve(expected);
        }
    });
    if (!status.empty())
        return;
    std::optional<SkyFitter> fitter;
    if (subtractSky)
        fitter.emplace(p, skyReject);
    SkyPolynomial sky;
    for (int64_t x = first; x <= last; ++x) {
        const auto column = static_cast<int32_t>(x);
        const float centre = traceCentre(p, column);
        float skyLevel = 0, sum = 0;
        if (fitter) {
            status = fitter->fit(image, column, centre, sky);
            if (status.empty())
                status = sfIntegSky(p, centre, sky, skyLevel);
        }
        if (status.empty())
            status = sfIntegData(p, image, column, centre, sum);
        if (!status.empty())
            return;
        if (keep) {
            out.kept.emplace_back();
            status = keepColumn(p, image, column, centre, fitter ? &sky : nullptr, sum - skyLevel, out.kept.back());
            if (status.empty() && fitter)
                status = fitter->coefficientCovariance(
                    [&](double value) { return noise.pixelVariance(value); }, out.kept.back().skyCovariance);
            if (!status.empty())
                return;
            out.skyLevels.push_back(skyLevel);
        }
        out.xs.push_back(static_cast<float>(column));
        out.ys.push_back(sum - skyLevel);
        out.skyRejected.push_back(fitter && fitter->lastRejected() > 0 ? 1 : 0);
    }
}

template <class T>
void append(std::vector<T>& to, std::vector<T>& from)
{
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// The columns of the record's region, with or without the sky; skyRejected
// gets one flag per column whose sky fit left pixels out. With `kept`, every
// column's rows are kept too, and the sky levels go to `skyLevels`. Large
// regions are split into blocks over the cores; the result is the same.
std::string extractColumns(const ScanParam& p, const SingleImage& image, bool subtractSky,
                           const RejectOptions& skyReject, std::vector<float>& xs, std::vector<float>& ys,
                           std::vector<char>& skyRejected, std::vector<ExtractColumn>* kept = nullptr,
                           std::vector<float>* skyLevels = nullptr, const NoiseModel& noise = {})
{
    size_t columns = 0;
    std::string status = platform::trapErrors("sfScanDataPro", [&] {
        if (p.lngEndX < p.lngStartX)
            platform::raise(platform::errSubscript);
        columns = static_cast<size_t>(static_cast<int64_t>(p.lngEndX) - p.lngStartX) + 1;
        // An order the coefficients cannot hold ends here, before any column.
        (void)traceCentre(p, p.lngStartX);
    });
    if (!status.empty())
        return status;
    // Blocks are grown column by column: a region reaching far outside the
    // image fails at each block's first column without allocating for all.
    std::mutex lock;
    std::map<size_t, ColumnBlock> blocks;
    parallelFor(columns, columnGrain, [&](size_t begin, size_t end) {
        ColumnBlock block;
        extractRange(p, image, subtractSky, skyReject, p.lngStartX + static_cast<int64_t>(begin),
                     p.lngStartX + static_cast<int64_t>(end) - 1, kept != nullptr, noise, block);
        std::lock_guard<std::mutex> guard(lock);
        blocks.emplace(begin, std::move(block));
    });
    // The first failing column's status, as one pass over the columns gives.
    for (auto& [begin, block] : blocks) {
        if (!block.status.empty())
            return block.status;
        append(xs, block.xs);
        append(ys, block.ys);
        append(skyRejected, block.skyRejected);
        if (kept != nullptr) {
            append(*kept, block.kept);
            append(*skyLevels, block.skyLevels);
        }
    }
    return {};
}

std::string extractAndPlot(const ScanParam& p, const SingleImage& image, bool subtractSky,
                           std::vector<float>& sngScanX, std::vector<float>& sngScanY, SpectrumView& plotter,
                           const RejectOptions& skyReject = {})
{
    std::vector<float> xs, ys;
    std::vector<char> skyRejected;
    std::string status = extractColumns(p, image, subtractSky, skyReject, xs, ys, skyRejected);
    if (!status.empty())
        return status;
    sngScanX.swap(xs);
    sngScanY.swap(ys);
    status = plotter.sfPlotLin(sngScanX, sngScanY);
    // The columns whose sky lost pixels to the rejection are marked on the
    // spectrum; without rejection no marks chart is made, so the plot stays unchanged.
    if (status.empty() && subtractSky && skyReject.enabled()) {
        const PointSet marks = flaggedPoints(sngScanX, sngScanY, skyRejected);
        status = plotter.sfPlotRejected(marks.x, marks.y);
    }
    return status;
}

// The extraction with its uncertainty, optionally optimal, then plotted.
std::string extractFull(const ScanParam& p, const SingleImage& image, bool subtractSky,
                        const ExtractOptions& options, ExtractResult& result, SpectrumView& plotter)
{
    ExtractResult out;
    std::vector<char> skyRejected;
    std::vector<ExtractColumn> columns;
    std::string status = extractColumns(p, image, subtractSky, options.skyReject, out.x, out.y, skyRejected,
                                        &columns, &out.sky, options.noise);
    if (!status.empty())
        return status;
    out.sigma.resize(columns.size());
    out.rejectedColumns.assign(columns.size(), 0);
    if (options.optimal) {
        std::vector<OptimalColumn> optimal;
        status = optimalExtract(columns, p.intScanWidth, options.noise, options.crSigma, optimal);
        if (!status.empty())
            return status;
        for (size_t c = 0; c < columns.size(); ++c) {
            out.y[c] = static_cast<float>(optimal[c].flux);
            out.sigma[c] = static_cast<float>(std::sqrt(optimal[c].variance));
            out.rejectedColumns[c] = optimal[c].rejected > 0 ? 1 : 0;
            out.rejectedPixels += static_cast<size_t>(optimal[c].rejected);
        }
    } else {
        parallelFor(columns.size(), columnGrain, [&](size_t first, size_t end) {
            std::vector<double> v;
            for (size_t c = first; c < end; ++c) {
                const ExtractColumn& col = columns[c];
                v.resize(col.rows());
                for (size_t i = 0; i < col.rows(); ++i)
                    v[i] = options.noise.pixelVariance(col.counts[i]);
                out.sigma[c] = static_cast<float>(std::sqrt(col.variance(col.boxWeights, v)));
            }
        });
    }
    status = plotter.sfPlotLin(out.x, out.y);
    // Columns whose sky lost pixels, or whose aperture lost cosmic rays,
    // are marked as the rejections are.
    const bool marking = (subtractSky && options.skyReject.enabled()) || options.optimal;
    if (status.empty() && marking) {
        std::vector<char> flags(out.x.size(), 0);
        for (size_t c = 0; c < flags.size(); ++c)
            flags[c] = (subtractSky && skyRejected[c]) || out.rejectedColumns[c] ? 1 : 0;
        const PointSet marks = flaggedPoints(out.x, out.y, flags);
        status = plotter.sfPlotRejected(marks.x, marks.y);
    }
    if (status.empty())
        result = std::move(out);
    return status;
}

} // namespace

std::string sfScanDataPro(const ScanParam& typScanParam, const SingleImage& sngImage, const ExtractOptions& options,
                          ExtractResult& result, SpectrumView& plotter)
{
    return extractFull(typScanParam, sngImage, typScanParam.blnSkySub != 0, options, result, plotter);
}

std::string sfRefScanDataPro(const std::string& strPath, const SingleImage& sngImage, const FitsInfo& typFitsInfo,
                             ScanParam& typScanParam, const ExtractOptions& options, ExtractResult& result,
                             SpectrumView& plotter)
{
    std::string status = platform::trapErrors("sfRefScanDataPro", [&] { readPrmFile(strPath, typScanParam); });
    if (status.empty())
        status = sfCheckParam(typScanParam, typFitsInfo);
    if (status.empty())
        status = extractFull(typScanParam, sngImage, false, options, result, plotter);
    return status;
}

std::string sfScanDataPro(const ScanParam& typScanParam, const SingleImage& sngImage, std::vector<float>& sngScanX,
                          std::vector<float>& sngScanY, SpectrumView& plotter, const RejectOptions& skyReject)
{
    return extractAndPlot(typScanParam, sngImage, typScanParam.blnSkySub != 0, sngScanX, sngScanY, plotter,
                          skyReject);
}

std::string sfRefScanDataPro(const std::string& strPath, const SingleImage& sngImage, const FitsInfo& typFitsInfo,
                             ScanParam& typScanParam, std::vector<float>& sngScanX, std::vector<float>& sngScanY,
                             SpectrumView& plotter)
{
    std::string status = platform::trapErrors("sfRefScanDataPro", [&] { readPrmFile(strPath, typScanParam); });
    if (status.empty())
        status = sfCheckParam(typScanParam, typFitsInfo);
    if (status.empty())
        status = extractAndPlot(typScanParam, sngImage, false, sngScanX, sngScanY, plotter);
    return status;
}

} // namespace raylen
