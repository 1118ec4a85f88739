#include "fits/FitsData.h"

#include "numeric/OutsideLibrary.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "files/FileAccess.h"

using platform::trapErrors;

namespace raylen {

namespace {

template <class Element>
std::string readWhole(const char* procedure, const std::string& strFile, LargeVector<Element>& data)
{
    return trapErrors(procedure, [&] { data = readWholeFileAs<Element>(strFile); });
}

// Shared converter body: Swap(first element, count) reverses the byte order.
template <class Element, class Swap>
std::string convert(const char* procedure, const FitsInfo& typInfo, LargeVector<Element>& fileData,
                    SingleImage& sngImage, Swap swap)
{
    return trapErrors(procedure, [&]() -> std::string {
        int32_t recordN = 0;
        std::string message = sfCalcHeaderRecodeN(typInfo.HeaderN, recordN);
        if (!message.empty())
            return message;
        if (recordN < 0)
            platform::raise(platform::errSubscript);
        size_t first = static_cast<size_t>(recordN) * cardLength / sizeof(Element);
        SingleImage image;
        image.redim(0, typInfo.NAXIS1 - 1, 0, typInfo.NAXIS2 - 1);
        int32_t count = platform::checkedMul32(typInfo.NAXIS1, typInfo.NAXIS2);
        if (count < 0 || first > fileData.size() || static_cast<size_t>(count) > fileData.size() - first)
            platform::raise(platform::errSubscript); // data end early
        swap(fileData.data() + first, count);
        const Element* source = fileData.data() + first;
        float* target = image.data();
        const double scale = typInfo.BSCALE, zero = typInfo.BZERO;
        for (int32_t k = 0; k < count; ++k)
            target[k] = static_cast<float>(static_cast<double>(source[k]) * scale + zero);
        sngImage.swap(image);
        return {};
    });
}

template <class Element, class Reader, class Converter>
std::string readAndConvert(const std::string& strFile, const FitsInfo& info, SingleImage& image, Reader reader,
                           Converter converter)
{
    LargeVector<Element> data;
    std::string message = reader(strFile, data);
    // Deliberate: the converter runs even after a failed read, and both
    // messages are shown one after the other.
    return message + converter(info, data, image);
}

} // namespace

std::string sfReadDataInt(const std::string& strFile, LargeVector<int16_t>& intFileData)
{
    return readWhole("sfReadDataInt", strFile, intFileData);
}

std::string sfReadDataLng(const std::string& strFile, LargeVector<int32_t>& lngFileData)
{
    return readWhole("sfReadDataLng", strFile, lngFileData);
}

std::string sfReadDataSng(const std::string& strFile, LargeVector<float>& sngFileData)
{
    return readWhole("sfReadDataSng", strFile, sngFileData);
}

std::string sfConvertInt2DSng(const FitsInfo& typInfo, LargeVector<int16_t>& intFileData, SingleImage& sngImage)
{
    return convert("sfConvertInt2DSng", typInfo, intFileData, sngImage, VB_ffswap2);
}

std::string sfConvertLng2DSng(const FitsInfo& typInfo, LargeVector<int32_t>& lngFileData, SingleImage& sngImage)
{
    return convert("sfConvertLng2DSng", typInfo, lngFileData, sngImage, VB_ffswap4Lng);
}

std::string sfConvertSng2DSng(const FitsInfo& typInfo, LargeVector<float>& sngFileData, SingleImage& sngImage)
{
    return convert("sfConvertSng2DSng", typInfo, sngFileData, sngImage, VB_ffswap4);
}

std::string sfOpenFits(const std::string& strFile, HeaderCards& strHeader, FitsInfo& typInfo, SingleImage& sngImage)
{
    return trapErrors("sfOpenFits", [&]() -> std::string {
        FitsInfo info;
        HeaderCards header;
        std::string message = sfGetHeaderEndInFile(strFile, info);
        if (!message.empty())
            return message;
        message = sfReadHeaderString(strFile, info.HeaderN, header);
        if (!message.empty())
            return message;
        message = sfInputHeader(header, info);
        if (!message.empty())
            return message;
        SingleImage image;
        switch (info.BITPIX) {
        case 16: message = readAndConvert<int16_t>(strFile, info, image, sfReadDataInt, sfConvertInt2DSng); break;
        case 32: message = readAndConvert<int32_t>(strFile, info, image, sfReadDataLng, sfConvertLng2DSng); break;
        case -32: message = readAndConvert<float>(strFile, info, image, sfReadDataSng, sfConvertSng2DSng); break;
        case 8: return "8bit符号なし整数データはサポートしていません";
        case -64: return "64bit倍精度浮動小数点データはサポートしていません";
        default: return "sfOpenFits, データ型が分かりません";
        }
        if (!message.empty())
            return message;
        strHeader.swap(header);
        typInfo = info;
        sngImage.swap(image);
        return {};
    });
}

std::string sfWriteFitsSng(const std::string& strFile, const HeaderCards& strHeader, const SingleImage& sngImage)
{
    return trapErrors("sfWriteFitsSng", [&]() -> std::string {
        FitsInfo info;
        std::string message = sfInputHeader(strHeader, info);
        if (!message.empty())
            return message;
        int32_t n = 0, blocks = 0;
        message = sfGetHeaderEnd(strHeader, n);
        if (message.empty())
            message = sfCalcHeaderTapeN(n, blocks);
        if (!message.empty())
            return message;
        int32_t count = platform::checkedMul32(info.NAXIS1, info.NAXIS2);
        if (info.NAXIS1 < 0 || info.NAXIS2 < 0 || sngImage.width() < info.NAXIS1 || sngImage.height() < info.NAXIS2)
            platform::raise(platform::errSubscript);
        // Cards up to the block where the data start; a header that was not
        // padded gets blank cards.
        std::string cards;
        for (const std::string& card : strHeader) {
            std::string c = card;
            c.resize(cardLength, ' ');
            cards += c;
        }
        size_t dataStart = static_cast<size_t>(blocks) * blockLength;
        cards.resize(dataStart, ' ');
        // Image in file order, byte order reversed by one call.
        LargeVector<float> buffer(static_cast<size_t>(count));
        for (int32_t y = 0; y < info.NAXIS2; ++y) {
            const float* row = sngImage.row(sngImage.lowerY() + y);
            std::copy(row, row + info.NAXIS1, buffer.begin() + static_cast<std::ptrdiff_t>(y) * info.NAXIS1);
        }
        VB_ffswap4(buffer.data(), count);
        AtomicFileWriter writer(strFile);
        writer.write(cards);
        writer.write(buffer.data(), buffer.size() * sizeof(float));
        constexpr size_t floatsPerBlock = blockLength / sizeof(float);
        size_t padding = (floatsPerBlock - static_cast<size_t>(count) % floatsPerBlock) % floatsPerBlock;
        std::vector<char> zeros(padding * sizeof(float), 0);
        writer.write(zeros.data(), zeros.size());
        writer.commit();
        return {};
    });
}

std::string sfSaveImgSng(const std::string& strFileName, HeaderCards& strFH, const SingleImage& sngData)
{
    return trapErrors("sfSaveImgSng", [&]() -> std::string {
        std::string message = sfEditHdrValueLng(strFH, "BITPIX", -32);
        message += sfEditHdrValueLng(strFH, "BZERO", 0);
        message += sfEditHdrValueLng(strFH, "BSCALE", 1);
        if (!message.empty())
            return message;
        int32_t n = 0, m = 0;
        message = sfGetHeaderEnd(strFH, n);
        if (message.empty())
            message = sfCalcHeaderRecodeN(n, m);
        if (!message.empty())
            return message;
        strFH.resize(static_cast<size_t>(m), std::string(cardLength, ' '));
        for (size_t i = static_cast<size_t>(n); i < strFH.size(); ++i)
            strFH[i] = std::string(cardLength, ' ');
        return sfWriteFitsSng(strFileName, strFH, sngData);
    });
}

} // namespace raylen
