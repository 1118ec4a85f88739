#include "reduce/Extract.h"

#include "platform/BasicError.h"
#include "reduce/ApertureSum.h"
#include "reduce/ParamFile.h"
#include "reduce/RejectedPoints.h"
#include "reduce/Trace.h"

#include <algorithm>
#include <optional>

namespace raylen {

namespace {

// The columns of the record's region, with or without the sky; skyRejected
// gets one flag per column whose sky fit left pixels out.
std::string extractColumns(const ScanParam& p, const SingleImage& image, bool subtractSky,
                           const RejectOptions& skyReject, std::vector<float>& xs, std::vector<float>& ys,
                           std::vector<char>& skyRejected)
{
    std::string status = platform::trapErrors("sfScanDataPro", [&] {
        if (p.lngEndX < p.lngStartX)
            platform::raise(platform::errSubscript);
        // Grown column by column: a region reaching far outside the image
        // fails at its first column without having allocated for all.
        const auto columns = static_cast<size_t>(static_cast<int64_t>(p.lngEndX) - p.lngStartX) + 1;
        const size_t expected = std::min(columns, static_cast<size_t>(std::max(image.width(), 0)) + 1);
        xs.reserve(expected);
        ys.reserve(expected);
        skyRejected.reserve(expected);
        // An order the coefficients cannot hold ends here, before any column.
        (void)traceCentre(p, p.lngStartX);
    });
    if (!status.empty())
        return status;
    std::optional<SkyFitter> fitter;
    if (subtractSky)
        fitter.emplace(p, skyReject);
    SkyPolynomial sky;
    for (int64_t x = p.lngStartX; x <= p.lngEndX; ++x) {
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
            return status;
        xs.push_back(static_cast<float>(column));
        ys.push_back(sum - skyLevel);
        skyRejected.push_back(fitter && fitter->lastRejected() > 0 ? 1 : 0);
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

} // namespace

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
