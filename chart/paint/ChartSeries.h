#pragma once
// The numbers of a chart's data set: slot values by the indices of the X
// array (slot 1), as doubles; anything that is not a number is NaN and so
// counts as missing.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace lumigra {

class LgChart;
class LgData;
class LgObject;
class ObjRef;

struct ChartSeries {
    int32_t lower = 0; // first index of the X array
    std::vector<double> x, y;
    std::optional<double> missingX, missingY;
};

// Empty when the chart has no data set or slots 1 and 2 do not both hold arrays.
std::optional<ChartSeries> readSeries(const LgChart& chart);
// The same into `series`, whose storage is reused; false when the chart has
// no series.
bool readSeries(const LgChart& chart, ChartSeries& series);
LgData* chartData(const LgChart& chart);

// Values of another slot at the indices of the X array (NaN where absent
// or equal to the slot's missing value).
std::vector<double> slotValues(LgData& data, int32_t slot, int32_t lower, size_t count);

// An entry of a chart's symbol, line or brush table (null when outside or unset).
const LgObject* tableEntry(const std::vector<std::unique_ptr<ObjRef>>& table, int index);

} // namespace lumigra
