#include "fits/FitsHeader.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "files/FileAccess.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

using platform::trapErrors;

namespace raylen {

namespace {

// Cards read at first when the header is looked for: the most the
// 16-bit byte position once allowed, enough for nearly every header.
constexpr size_t firstScanCards = 410;

} // namespace

std::string utf8FromLatin1(const std::string& latin1)
{
    std::string out;
    out.reserve(latin1.size());
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string latin1FromUtf8(const std::string& utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (length == 2 && i + 1 < utf8.size()) {
            unsigned code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
            out += code < 0x100 ? static_cast<char>(code) : '?';
        } else {
            out += '?';
        }
        i += length;
    }
    return out;
}

std::string sfGetHeaderEndInFile(const std::string& strFile, FitsInfo& typInfo)
{
    return trapErrors("sfGetHeaderEndInFile", [&] {
        // Read in doubling pieces: a long header costs at most twice its
        // length, a short file one read.
        size_t want = firstScanCards * cardLength;
        size_t k = 0;
        for (;;) {
            const std::string head = readFilePrefix(strFile, want);
            for (; k * cardLength < head.size(); ++k) {
                if (isEndCard(head.substr(k * cardLength, cardLength))) {
                    if (k + 1 > static_cast<size_t>(INT32_MAX))
                        platform::raise(platform::errOverflow);
                    typInfo.HeaderN = static_cast<int32_t>(k + 1);
                    return;
                }
            }
            if (head.size() < want)
                break;
            want *= 2;
        }
        // A file without END: the overflow error it has always given.
        platform::raise(platform::errOverflow);
    });
}

std::string sfReadHeaderString(const std::string& strFile, int32_t intCardN, HeaderCards& strHeader)
{
    return trapErrors("sfReadHeaderString", [&] {
        if (intCardN < 0)
            platform::raise(platform::errSubscript);
        const size_t count = static_cast<size_t>(intCardN);
        std::string head = readFilePrefix(strFile, count * cardLength);
        head.resize(count * cardLength, ' ');
        HeaderCards cards(count);
        for (size_t i = 0; i < count; ++i)
            cards[i] = head.substr(i * cardLength, cardLength);
        strHeader.swap(cards);
    });
}

std::string sfGetHeaderEnd(const HeaderCards& strHeader, int32_t& intCardN)
{
    return trapErrors("sfGetHeaderEnd", [&] {
        int32_t counter = 1;
        for (const std::string& card : strHeader) {
            if (isEndCard(card))
                break;
            counter = platform::checkedAdd32(counter, 1);
        }
        intCardN = counter;
    });
}

std::string sfCompKeyWord(const std::string& strKey, const HeaderCards& strHeader, int32_t intCardN,
                          std::string& strValue)
{
    return trapErrors("sfCompKeyWord", [&] {
        for (int32_t i = 0;; ++i) {
            if (i >= static_cast<int32_t>(strHeader.size()))
                platform::raise(platform::errSubscript);
            strValue = cardValueField(strHeader[i]);
            if (i == intCardN - 1)
                return;
            if (cardKeyword(strHeader[i]) == strKey)
                return;
        }
    });
}

std::string sfInputHeader(const HeaderCards& strHeader, FitsInfo& typInfo)
{
    return trapErrors("sfInputHeader", [&]() -> std::string {
        int32_t n = 0;
        std::string message = sfGetHeaderEnd(strHeader, n);
        if (!message.empty())
            return message;
        auto value = [&](const char* key) {
            std::string v;
            std::string m = sfCompKeyWord(key, strHeader, n, v);
            if (!m.empty())
                throw platform::BasicError(platform::errSubscript);
            return v;
        };
        FitsInfo info = typInfo;
        info.SIMPLE = trimBlanks(value("SIMPLE")).substr(0, 1);
        info.BITPIX = platform::toInteger(platform::leadingNumber(value("BITPIX")));
        info.NAXIS = platform::toInteger(platform::leadingNumber(value("NAXIS")));
        info.NAXIS1 = platform::toInteger(platform::leadingNumber(value("NAXIS1")));
        info.NAXIS2 = platform::toInteger(platform::leadingNumber(value("NAXIS2")));
        info.BSCALE = platform::leadingNumber(value("BSCALE"));
        if (info.BSCALE == 0.0)
            info.BSCALE = 1.0;
        info.BZERO = platform::leadingNumber(value("BZERO"));
        typInfo = info;
        return {};
    });
}

std::string sfCalcHeaderRecodeN(int32_t intCardN, int32_t& intRecordN)
{
    return trapErrors("sfCalcHeaderRecodeN", [&] {
        double q = static_cast<double>(intCardN) / cardsPerBlock;
        double rounded = platform::roundHalfEven(q);
        if (q - rounded > 0)
            intRecordN = platform::checkedMul32(static_cast<int64_t>(rounded) + 1, cardsPerBlock);
        else
            intRecordN = platform::checkedMul32(static_cast<int64_t>(rounded), cardsPerBlock);
    });
}

std::string sfCalcHeaderTapeN(int32_t intCardN, int32_t& intBlockN)
{
    return trapErrors("sfCalcHeaderTapeN", [&] {
        intBlockN = intCardN / cardsPerBlock + (intCardN % cardsPerBlock != 0 ? 1 : 0);
    });
}

std::string sfAddComent(const std::string& strComment, HeaderCards& strHeader)
{
    return trapErrors("sfAddComent", [&] {
        size_t e = 0;
        while (e < strHeader.size() && trimBlanks(strHeader[e]) != "END")
            ++e;
        if (e == strHeader.size())
            platform::raise(platform::errSubscript);
        std::string comment = latin1FromUtf8(strComment);
        constexpr size_t commentField = cardLength - keywordField;
        // Deliberate: a text of 72 characters is cut to 70, one of 71 is kept.
        if (comment.size() > commentField - 1)
            comment.resize(commentField - 2);
        std::string field(commentField, ' ');
        field.replace(0, comment.size(), comment);
        HeaderCards cards(strHeader.begin(), strHeader.begin() + static_cast<std::ptrdiff_t>(e));
        cards.push_back("COMMENT " + field);
        std::string end = "END";
        end.resize(cardLength, ' ');
        cards.push_back(end);
        strHeader.swap(cards);
    });
}

std::string sfEditHdrValueLng(HeaderCards& strHeader, const std::string& strKey, int32_t lngValue)
{
    return trapErrors("sfEditHdrValueLng", [&] {
        for (std::string& card : strHeader) {
            if (cardKeyword(card) != strKey)
                continue;
            std::string text = platform::Format(lngValue, "0");
            if (text.size() < valueField)
                text.insert(0, valueField - text.size(), ' ');
            card.resize(cardLength, ' ');
            card.replace(valueStart, valueField, text.substr(text.size() - valueField));
            return;
        }
    });
}

} // namespace raylen
