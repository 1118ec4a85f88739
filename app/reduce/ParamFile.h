#pragma once
// The parameter file: the scan record as 442 little-endian bytes with no
// header, written beside a saved spectrum and read back for a reference
// scan.
#include "fits/FitsHeader.h"
#include "reduce/ScanParam.h"

#include <array>
#include <cstdint>
#include <string>

namespace raylen {

inline constexpr size_t kPrmFileBytes = 442;
using PrmBytes = std::array<uint8_t, kPrmFileBytes>;

inline const std::string kMsgRefMissing = "参照ファイルが存在しません。";
inline const std::string kMsgRefUnsuitable = "参照ファイルが適切ではありません。";

PrmBytes encodeScanParam(const ScanParam& typScanParam);
ScanParam decodeScanParam(const PrmBytes& bytes);

// The spectrum's name with its last three characters replaced by "prm";
// a name shorter than three characters raises the invalid-call error.
std::string prmFileName(const std::string& spectrumFileName);

// Writes the record under the spectrum's name with "prm" in place of its
// last three characters. The file is replaced as a whole once written.
std::string sfWritePrmFile(const std::string& strFileName, const ScanParam& typScanParam);

// Reads one record; a file shorter than the record raises the
// input-past-end error and leaves `typScanParam` unchanged.
void readPrmFile(const std::string& strPath, ScanParam& typScanParam);

// The reference's region must lie within the image (as the check has
// always been made: an end equal to the size passes and fails later, when
// the column or row is read), start at or above 0 and not beyond its end;
// the sky offsets must ascend and the trace coefficients in use be finite.
std::string sfCheckParam(const ScanParam& typScanParam, const FitsInfo& typFitsInfo);

} // namespace raylen
