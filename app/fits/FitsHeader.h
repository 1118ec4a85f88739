#pragma once
// FITS header cards and the description record of an image. Cards hold the
// 80 bytes of the file as they are (one byte per character, Latin-1).
#include "fits/HeaderCard.h"

#include <cstdint>
#include <string>

namespace raylen {

struct FitsInfo {
    int32_t HeaderN = 0;     // cards up to and including END
    std::string SIMPLE;      // first character of the trimmed SIMPLE value
    int16_t BITPIX = 0;
    int16_t NAXIS = 0;
    int32_t NAXIS1 = 0;
    int32_t NAXIS2 = 0;
    double BSCALE = 1.0;
    double BZERO = 0.0;
};

// Scans the file's cards for END; a file that ends without one gives the
// overflow error.
std::string sfGetHeaderEndInFile(const std::string& strFile, FitsInfo& typInfo);
std::string sfReadHeaderString(const std::string& strFile, int32_t intCardN, HeaderCards& strHeader);
std::string sfGetHeaderEnd(const HeaderCards& strHeader, int32_t& intCardN);
std::string sfCompKeyWord(const std::string& strKey, const HeaderCards& strHeader, int32_t intCardN,
                          std::string& strValue);
std::string sfInputHeader(const HeaderCards& strHeader, FitsInfo& typInfo);
std::string sfCalcHeaderRecodeN(int32_t intCardN, int32_t& intRecordN);
std::string sfCalcHeaderTapeN(int32_t intCardN, int32_t& intBlockN);
// strComment is UTF-8; characters outside Latin-1 become '?'.
std::string sfAddComent(const std::string& strComment, HeaderCards& strHeader);
std::string sfEditHdrValueLng(HeaderCards& strHeader, const std::string& strKey, int32_t lngValue);

// Latin-1 card text for display, and UTF-8 to Latin-1 for new cards.
std::string utf8FromLatin1(const std::string& latin1);
std::string latin1FromUtf8(const std::string& utf8);

} // namespace raylen
