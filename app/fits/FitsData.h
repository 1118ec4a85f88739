#pragma once
// Reading the data of a two-dimensional FITS image into the image array and
// writing an image back with 32-bit float data.
#include "fits/FitsHeader.h"
#include "numeric/Array2D.h"

#include <string>
#include <vector>

namespace raylen {

// Reads header and data. The three outputs change only when the whole file
// was read, so a refused or damaged file leaves the open image intact.
std::string sfOpenFits(const std::string& strFile, HeaderCards& strHeader, FitsInfo& typInfo, SingleImage& sngImage);

// Whole-file readers: the file from its first byte as big-endian elements
// in file order (a trailing partial element is dropped).
std::string sfReadDataInt(const std::string& strFile, LargeVector<int16_t>& intFileData);
std::string sfReadDataLng(const std::string& strFile, LargeVector<int32_t>& lngFileData);
std::string sfReadDataSng(const std::string& strFile, LargeVector<float>& sngFileData);

// Converters: locate the data behind the header, swap their byte order in
// place and scale them into the image. Data that end before NAXIS1·NAXIS2
// values raise the subscript error.
std::string sfConvertInt2DSng(const FitsInfo& typInfo, LargeVector<int16_t>& intFileData, SingleImage& sngImage);
std::string sfConvertLng2DSng(const FitsInfo& typInfo, LargeVector<int32_t>& lngFileData, SingleImage& sngImage);
std::string sfConvertSng2DSng(const FitsInfo& typInfo, LargeVector<float>& sngFileData, SingleImage& sngImage);

// Writes the cards, then the image as BITPIX −32 data from the next block
// boundary, then zero padding to a whole block.
std::string sfWriteFitsSng(const std::string& strFile, const HeaderCards& strHeader, const SingleImage& sngImage);

// The image save: header edited for float data and padded to whole blocks
// (the cards in memory keep the edit), then written.
std::string sfSaveImgSng(const std::string& strFileName, HeaderCards& strFH, const SingleImage& sngData);

} // namespace raylen
