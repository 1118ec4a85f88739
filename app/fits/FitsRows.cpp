#include "fits/FitsRows.h"

#include "fits/BigEndianValues.h"
#include "fits/FitsData.h"
#include "files/FileAccess.h"
#include "files/FileKind.h"

#include <bit>
#include <cstring>
#include <filesystem>
#include <vector>

namespace raylen {

std::string FitsRowReader::open(const std::string& path)
{
    path_ = path;
    if (!dfIsFileExist(path))
        return "ﾌｧｲﾙが存在しません";
    int16_t kind = 0;
    std::string message = sfCheckKindOfFile(path, kind);
    if (!message.empty())
        return message;
    if (kind != kindFits)
        return kMsgUnsupportedFile;
    message = sfGetHeaderEndInFile(path, info_);
    if (message.empty())
        message = sfReadHeaderString(path, info_.HeaderN, header_);
    if (message.empty())
        message = sfInputHeader(header_, info_);
    int32_t records = 0;
    if (message.empty())
        message = sfCalcHeaderRecodeN(info_.HeaderN, records);
    if (!message.empty())
        return message;
    switch (info_.BITPIX) {
    case 16: bytesPerValue_ = 2; break;
    case 32:
    case -32: bytesPerValue_ = 4; break;
    default: bytesPerValue_ = 0;
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    dataStart_ = static_cast<std::streamoff>(records) * cardLength;
    const bool whole = bytesPerValue_ > 0 && records >= 0 && info_.NAXIS1 > 0 && info_.NAXIS2 > 0 && !error &&
                       size >= static_cast<uintmax_t>(dataStart_) + static_cast<uintmax_t>(info_.NAXIS1) *
                                                                         static_cast<uintmax_t>(info_.NAXIS2) *
                                                                         static_cast<uintmax_t>(bytesPerValue_);
    if (!whole) {
        // What the image open says about such a file (or, should it read
        // it after all, that the data are short).
        HeaderCards cards;
        FitsInfo info;
        SingleImage image;
        message = sfOpenFits(path, cards, info, image);
        return message.empty() ? "sfOpenFits, データが足りません" : message;
    }
    file_.open(path, std::ios::binary);
    if (!file_)
        return "ﾌｧｲﾙが存在しません";
    return {};
}

std::string FitsRowReader::readRows(int32_t first, int32_t count, float* out)
{
    const size_t width = static_cast<size_t>(info_.NAXIS1);
    const size_t values = width * static_cast<size_t>(count);
    std::vector<char> bytes(values * static_cast<size_t>(bytesPerValue_));
    file_.seekg(dataStart_ + static_cast<std::streamoff>(first) * static_cast<std::streamoff>(width) * bytesPerValue_);
    file_.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file_)
        return "sfOpenFits, データが足りません";
    const double scale = info_.BSCALE, zero = info_.BZERO;
    switch (info_.BITPIX) {
    case 16: bigendian::toFloats<int16_t, uint16_t>(bytes.data(), values, scale, zero, out); break;
    case 32: bigendian::toFloats<int32_t, uint32_t>(bytes.data(), values, scale, zero, out); break;
    default: bigendian::toFloats<float, uint32_t>(bytes.data(), values, scale, zero, out); break;
    }
    return {};
}

} // namespace raylen
