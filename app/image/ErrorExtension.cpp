#include "image/ErrorExtension.h"

#include "fits/BigEndianValues.h"

#include "files/FileAccess.h"
#include "fits/FitsData.h"
#include "platform/BasicError.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

namespace raylen {

// Named: unity builds join this file with others that have helpers of the
// same names in their anonymous namespaces.
namespace errorfile {

const char* const errorName = "ERR";
const char* const unreadableMessage = "ERR 拡張を誤差画像として読めません: ";
// Extensions searched for ERR after the primary HDU, as for spectra.
constexpr int maxExtensionsSearched = 16;
// A header longer than this is taken as damage, not searched to its end.
constexpr int maxHeaderBlocks = 1000;

struct Extension {
    std::map<std::string, std::string> values; // first card of each keyword
    std::streamoff dataStart = 0;
};

uint64_t wholeBlocks(uint64_t bytes) { return (bytes + blockLength - 1) / blockLength * blockLength; }

// The extension header at `offset`; nullopt when there is none or the file
// ends before its END.
std::optional<Extension> readHeader(std::ifstream& file, std::streamoff offset)
{
    Extension hdu;
    file.clear();
    file.seekg(offset);
    std::string block(blockLength, ' ');
    for (int b = 0; b < maxHeaderBlocks; ++b) {
        if (!file.read(block.data(), blockLength))
            return std::nullopt;
        for (int c = 0; c < cardsPerBlock; ++c) {
            const std::string card = block.substr(static_cast<size_t>(c) * cardLength, cardLength);
            // Whatever follows the last HDU is no header to search.
            if (b == 0 && c == 0 && cardKeyword(card) != "XTENSION")
                return std::nullopt;
            if (isEndCard(card)) {
                hdu.dataStart = offset + static_cast<std::streamoff>(b + 1) * blockLength;
                return hdu;
            }
            if (cardHasValue(card))
                hdu.values.emplace(cardKeyword(card), cardValue(card));
        }
    }
    return std::nullopt;
}

std::optional<double> number(const Extension& hdu, const std::string& key)
{
    auto found = hdu.values.find(key);
    return found == hdu.values.end() ? std::nullopt : cardNumber(found->second);
}

// Bytes of the data after the header: |BITPIX|/8 · GCOUNT · (PCOUNT + ΠNAXISn).
std::optional<uint64_t> dataBytes(const Extension& hdu, uint64_t fileSize)
{
    const auto bitpix = number(hdu, "BITPIX"), axes = number(hdu, "NAXIS");
    if (!bitpix || !axes || *axes < 0 || *axes > 999)
        return std::nullopt;
    double elements = *axes == 0 ? 0.0 : 1.0;
    for (int i = 1; i <= static_cast<int>(*axes); ++i) {
        const auto n = number(hdu, "NAXIS" + std::to_string(i));
        if (!n || *n < 0)
            return std::nullopt;
        elements *= *n;
    }
    const double bytes = std::abs(*bitpix) / 8 * number(hdu, "GCOUNT").value_or(1.0) *
                         (number(hdu, "PCOUNT").value_or(0.0) + elements);
    // Beyond the file: damaged, and no size to trust.
    if (!(bytes >= 0) || bytes > static_cast<double>(fileSize))
        return std::nullopt;
    return static_cast<uint64_t>(bytes);
}

int bytesPerValue(int16_t bitpix)
{
    switch (bitpix) {
    case 16: return 2;
    case 32:
    case -32: return 4;
    case -64: return 8;
    default: return 0;
    }
}


// --- writing ---------------------------------------------------------------

std::string keywordPart(const std::string& key)
{
    std::string k = key;
    k.resize(keywordField, ' ');
    return k + "= ";
}

std::string intCard(const std::string& key, long long value)
{
    std::string v = std::to_string(value);
    v.insert(0, valueField > v.size() ? valueField - v.size() : 0, ' ');
    std::string card = keywordPart(key) + v;
    card.resize(cardLength, ' ');
    return card;
}

// Short strings padded to eight characters inside the quotes.
std::string stringCard(const std::string& key, std::string value)
{
    constexpr size_t shortestString = 8;
    value.resize(std::max(value.size(), shortestString), ' ');
    std::string card = keywordPart(key) + "'" + value + "'";
    card.resize(cardLength, ' ');
    return card;
}

void writeFloatData(AtomicFileWriter& writer, const SingleImage& image, int32_t width, int32_t height)
{
    std::vector<uint32_t> row(static_cast<size_t>(width));
    for (int32_t y = 0; y < height; ++y) {
        const float* values = image.row(image.lowerY() + y);
        for (int32_t x = 0; x < width; ++x) {
            const auto bits = std::bit_cast<uint32_t>(values[x]);
            row[static_cast<size_t>(x)] = std::endian::native == std::endian::little ? bigendian::swapBytes(bits) : bits;
        }
        writer.write(row.data(), row.size() * sizeof(uint32_t));
    }
    const uint64_t bytes = uint64_t(width) * uint64_t(height) * sizeof(float);
    const std::vector<char> zeros(wholeBlocks(bytes) - bytes, 0);
    writer.write(zeros.data(), zeros.size());
}

std::string extensionHeader(const HeaderCards& primary, int32_t width, int32_t height)
{
    std::string cards = stringCard("XTENSION", "IMAGE") + intCard("BITPIX", -32) + intCard("NAXIS", 2) +
                        intCard("NAXIS1", width) + intCard("NAXIS2", height) + intCard("PCOUNT", 0) +
                        intCard("GCOUNT", 1) + stringCard("EXTNAME", errorName);
    // The uncertainty is in the data's unit.
    if (const std::string* unit = findValueCard(primary, "BUNIT"))
        cards += *unit;
    std::string end = "END";
    end.resize(cardLength, ' ');
    cards += end;
    cards.resize(wholeBlocks(cards.size()), ' ');
    return cards;
}

} // namespace errorfile

std::string ErrorExtensionReader::open(const FitsRowReader& frame, bool& found)
{
    found = false;
    path_ = frame.path();
    const FitsInfo& info = frame.info();
    int32_t records = 0;
    std::string message = sfCalcHeaderRecodeN(info.HeaderN, records);
    if (!message.empty())
        return message;
    std::error_code error;
    const uint64_t size = std::filesystem::file_size(path_, error);
    if (error)
        return "ﾌｧｲﾙが存在しません";
    file_.open(path_, std::ios::binary);
    if (!file_)
        return "ﾌｧｲﾙが存在しません";
    const auto primaryBytes = uint64_t(info.NAXIS1) * uint64_t(info.NAXIS2) *
                              static_cast<uint64_t>(std::abs(info.BITPIX) / 8);
    uint64_t offset = uint64_t(records) * cardLength + errorfile::wholeBlocks(primaryBytes);
    for (int i = 0; i < errorfile::maxExtensionsSearched && offset + blockLength <= size; ++i) {
        const std::optional<errorfile::Extension> hdu =
            errorfile::readHeader(file_, static_cast<std::streamoff>(offset));
        if (!hdu)
            return {};
        const auto name = hdu->values.find("EXTNAME");
        if (name != hdu->values.end() && trimBlanks(name->second) == errorfile::errorName) {
            found = true;
            const auto xtension = hdu->values.find("XTENSION");
            bitpix_ = static_cast<int16_t>(errorfile::number(*hdu, "BITPIX").value_or(0));
            width_ = info.NAXIS1;
            scale_ = errorfile::number(*hdu, "BSCALE").value_or(1.0);
            zero_ = errorfile::number(*hdu, "BZERO").value_or(0.0);
            dataStart_ = hdu->dataStart;
            const uint64_t needed =
                uint64_t(info.NAXIS1) * uint64_t(info.NAXIS2) * uint64_t(errorfile::bytesPerValue(bitpix_));
            const bool usable = xtension != hdu->values.end() && trimBlanks(xtension->second) == "IMAGE" &&
                                errorfile::bytesPerValue(bitpix_) > 0 && errorfile::number(*hdu, "NAXIS") == 2.0 &&
                                errorfile::number(*hdu, "NAXIS1") == double(info.NAXIS1) &&
                                errorfile::number(*hdu, "NAXIS2") == double(info.NAXIS2) &&
                                uint64_t(hdu->dataStart) + needed <= size;
            return usable ? std::string() : errorfile::unreadableMessage + path_;
        }
        const auto bytes = errorfile::dataBytes(*hdu, size);
        if (!bytes)
            return {};
        offset = uint64_t(hdu->dataStart) + errorfile::wholeBlocks(*bytes);
    }
    return {};
}

std::string ErrorExtensionReader::readRows(int32_t first, int32_t count, float* out)
{
    const int size = errorfile::bytesPerValue(bitpix_);
    const size_t values = static_cast<size_t>(width_) * static_cast<size_t>(count);
    std::vector<char> bytes(values * static_cast<size_t>(size));
    file_.clear();
    file_.seekg(dataStart_ + static_cast<std::streamoff>(first) * width_ * size);
    if (!file_.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        return errorfile::unreadableMessage + path_;
    switch (bitpix_) {
    case 16: bigendian::toFloats<int16_t, uint16_t>(bytes.data(), values, scale_, zero_, out); break;
    case 32: bigendian::toFloats<int32_t, uint32_t>(bytes.data(), values, scale_, zero_, out); break;
    case -64: bigendian::toFloats<double, uint64_t>(bytes.data(), values, scale_, zero_, out); break;
    default: bigendian::toFloats<float, uint32_t>(bytes.data(), values, scale_, zero_, out); break;
    }
    return {};
}

std::string sfSaveImgSngWithError(const std::string& path, HeaderCards& header, const SingleImage& image,
                                  const SingleImage& sigma)
{
    return platform::trapErrors("sfSaveImgSngWithError", [&]() -> std::string {
        // The image save's own edit, so that the primary HDU is the one a
        // save without the uncertainty writes.
        std::string message = sfEditHdrValueLng(header, "BITPIX", -32);
        message += sfEditHdrValueLng(header, "BZERO", 0);
        message += sfEditHdrValueLng(header, "BSCALE", 1);
        int32_t n = 0, records = 0;
        if (message.empty())
            message = sfGetHeaderEnd(header, n);
        if (message.empty())
            message = sfCalcHeaderRecodeN(n, records);
        FitsInfo info;
        if (message.empty())
            message = sfInputHeader(header, info);
        if (!message.empty())
            return message;
        header.resize(static_cast<size_t>(records), std::string(cardLength, ' '));
        for (size_t i = static_cast<size_t>(n); i < header.size(); ++i)
            header[i] = std::string(cardLength, ' ');
        if (info.NAXIS1 < 0 || info.NAXIS2 < 0 || image.width() < info.NAXIS1 || image.height() < info.NAXIS2 ||
            !sigma.sameBounds(image))
            platform::raise(platform::errSubscript);

        std::string cards;
        for (std::string card : header) {
            card.resize(cardLength, ' ');
            cards += card;
        }
        AtomicFileWriter writer(path);
        writer.write(cards);
        errorfile::writeFloatData(writer, image, info.NAXIS1, info.NAXIS2);
        writer.write(errorfile::extensionHeader(header, info.NAXIS1, info.NAXIS2));
        errorfile::writeFloatData(writer, sigma, info.NAXIS1, info.NAXIS2);
        writer.commit();
        return {};
    });
}

} // namespace raylen
