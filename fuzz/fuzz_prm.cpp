// Parameter file (.prm): the record read from any bytes, written back, and
// the reference extraction it drives on a small frame.
#include "FuzzFile.h"

#include "reduce/Extract.h"
#include "reduce/ParamFile.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int32_t frameWidth = 16, frameHeight = 12;

const raylen::SingleImage& frame()
{
    static const raylen::SingleImage image = [] {
        raylen::SingleImage made(frameWidth, frameHeight);
        for (int32_t yy = 0; yy < frameHeight; ++yy)
            for (int32_t xx = 0; xx < frameWidth; ++xx)
                made(xx, yy) = 100.0f + 1000.0f * std::exp(-0.5f * (yy - 6.0f) * (yy - 6.0f));
        return made;
    }();
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = fuzz::writeInput(data, size);
    raylen::FitsInfo info;
    info.NAXIS = 2;
    info.NAXIS1 = frameWidth;
    info.NAXIS2 = frameHeight;
    raylen::ScanParam param;
    raylen::dsInitScanParam(param);
    const raylen::ScanParam initial = param;
    std::vector<float> xs, ys;
    raylen::NoScanPlotter plotter;
    std::string message = raylen::sfRefScanDataPro(path, frame(), info, param, xs, ys, plotter);
    if (size < raylen::kPrmFileBytes) {
        // Too short: refused, the record untouched.
        if (message.empty() || !(param == initial))
            std::abort();
        return 0;
    }
    // The record is the file's first 442 bytes, member for member.
    raylen::PrmBytes bytes{};
    std::memcpy(bytes.data(), data, bytes.size());
    if (raylen::encodeScanParam(param) != bytes)
        std::abort();
    // Written under a spectrum's name and read back, byte for byte.
    std::string spectrum = path + ".txt";
    if (!raylen::sfWritePrmFile(spectrum, param).empty())
        std::abort();
    raylen::ScanParam again;
    raylen::readPrmFile(raylen::prmFileName(spectrum), again);
    if (raylen::encodeScanParam(again) != bytes)
        std::abort();
    std::remove(raylen::prmFileName(spectrum).c_str());
    if (message.empty()) {
        // One point per column of the region, X the column number.
        const int64_t columns = static_cast<int64_t>(param.lngEndX) - param.lngStartX + 1;
        if (columns <= 0 || xs.size() != static_cast<size_t>(columns) || ys.size() != xs.size())
            std::abort();
        for (size_t i = 0; i < xs.size(); ++i)
            if (xs[i] != static_cast<float>(param.lngStartX + static_cast<int64_t>(i)))
                std::abort();
    }
    return 0;
}
