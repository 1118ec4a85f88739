#pragma once
// The chart as a compound file on disk: Save and Restore.
#include <cstdint>
#include <string>
#include <vector>

namespace lumigra {

class ChartDocument;

// Save: non-zero on success. With newFile an existing path is left alone
// and 0 returned. The file is written beside the target and renamed over
// it, so a failed save leaves the old file as it was.
int32_t saveChartFile(ChartDocument& chart, const std::string& path, bool newFile);
// Restore: non-zero on success; on failure the chart stays as it was.
int32_t restoreChartFile(ChartDocument& chart, const std::string& path);

// Writes bytes to path through a temporary file in the same folder; an
// empty result on success, otherwise the reason.
std::string replaceFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace lumigra
