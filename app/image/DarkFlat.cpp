#include "image/DarkFlat.h"

#include "fits/FitsData.h"
#include "numeric/Arithmetic2D.h"
#include "numeric/Statistics.h"
#include "platform/BasicError.h"
#include "files/FileAccess.h"
#include "files/FileKind.h"

#include <cmath>

namespace raylen {

namespace {

size_t countNonFinite(const SingleImage& image)
{
    const float* p = image.data();
    size_t bad = 0;
    for (size_t i = 0; i < image.size(); ++i)
        bad += std::isfinite(p[i]) ? 0 : 1;
    return bad;
}

// The mean over the finite pixels, so that a NaN or infinite pixel spoils
// only its own corrected pixel and not the normalisation of all. Without
// such pixels it is sfMean2D, to the bit.
std::string finiteMean(const SingleImage& flat, float& mean)
{
    const size_t bad = countNonFinite(flat);
    if (bad == 0 || bad == flat.size())
        return sfMean2D(flat, mean);
    const double n = static_cast<double>(flat.size() - bad);
    const float* p = flat.data();
    double sum = 0.0;
    for (size_t i = 0; i < flat.size(); ++i)
        if (std::isfinite(p[i]))
            sum += static_cast<double>(p[i]) / n;
    mean = static_cast<float>(sum);
    return {};
}

// flat ← flat / mean(flat).
std::string normaliseFlat(SingleImage& flat)
{
    float mean = 0.0f;
    std::string message = finiteMean(flat, mean);
    if (message.empty())
        message = sfDivisionValue2D(flat, mean, flat);
    return message;
}

} // namespace

std::string sfOpenFileDFPro(const std::string& strFile, SingleImage& image, HeaderCards& header, FitsInfo& info)
{
    if (!dfIsFileExist(strFile))
        return "ﾌｧｲﾙが存在しません";
    int16_t kind = 0;
    std::string message = sfCheckKindOfFile(strFile, kind);
    if (!message.empty())
        return message;
    if (kind != kindFits)
        return "ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です";
    return sfOpenFits(strFile, header, info, image);
}

std::string sfCheckNAXIS(const FitsInfo& typFitsInfo, bool blnDark, const FitsInfo& dark, bool blnFlat,
                         const FitsInfo& flat)
{
    if (blnDark && (dark.NAXIS1 != typFitsInfo.NAXIS1 || dark.NAXIS2 != typFitsInfo.NAXIS2))
        return "ﾀﾞｰｸの画像サイズが違います。";
    if (blnFlat && (flat.NAXIS1 != typFitsInfo.NAXIS1 || flat.NAXIS2 != typFitsInfo.NAXIS2))
        return "ﾌﾗｯﾄの画像サイズが違います。";
    return {};
}

std::string sfFlatFielding(SingleImage& sngImage, SingleImage& flat)
{
    std::string message = normaliseFlat(flat);
    if (message.empty())
        message = sfDivisionData2D(sngImage, flat, sngImage, 0.0f);
    return message;
}

std::string sfDarkFlatCorrect(SingleImage& sngImage, const FitsInfo& typFitsInfo, HeaderCards& strHeader,
                              bool blnDark, const std::string& strDarkFileName, bool blnFlat,
                              const std::string& strFlatFileName, FrameNonFinite* nonFinite)
{
    CorrectionFrame dark, flat;
    std::string message;
    if (blnDark)
        message = sfOpenFileDFPro(strDarkFileName, dark.image, dark.header, dark.info);
    if (message.empty() && blnFlat)
        message = sfOpenFileDFPro(strFlatFileName, flat.image, flat.header, flat.info);
    if (message.empty() && nonFinite != nullptr)
        *nonFinite = {countNonFinite(dark.image), countNonFinite(flat.image)};
    if (message.empty())
        message = sfCheckNAXIS(typFitsInfo, blnDark, dark.info, blnFlat, flat.info);
    if (!message.empty())
        return message;

    // The cards are prepared on a copy and the flat normalised first: the
    // steps that can refuse run before the open image changes.
    HeaderCards header = strHeader;
    if (blnDark)
        message = sfAddComent("Dark " + namePart(strDarkFileName), header);
    if (message.empty() && blnFlat)
        message = sfAddComent("Flat " + namePart(strFlatFileName), header);
    if (message.empty() && blnFlat)
        message = normaliseFlat(flat.image);
    if (!message.empty())
        return message;
    if (blnDark && !sngImage.sameBounds(dark.image))
        return "ﾀﾞｰｸの画像サイズが違います。";
    if (blnFlat && !sngImage.sameBounds(flat.image))
        return "ﾌﾗｯﾄの画像サイズが違います。";

    if (blnDark)
        message = sfSubtractData2D(sngImage, dark.image, sngImage);
    if (message.empty() && blnFlat)
        message = sfDivisionData2D(sngImage, flat.image, sngImage, 0.0f);
    if (message.empty())
        strHeader.swap(header);
    return message;
}

} // namespace raylen
