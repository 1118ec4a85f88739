#include "paint/ChartSeries.h"

#include <cmath>
#include <limits>

#include "kinds/Charts.h"
#include "kinds/Data.h"

namespace lumigra {

using platform::com::Variant;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double numberOf(const Variant* e)
{
    if (!e)
        return kNaN;
    const Variant& v = e->deref();
    if (v.vt() == platform::com::VT_BSTR || v.isArray() || v.isEmpty())
        return kNaN;
    return v.toDouble().value_or(kNaN);
}

// Element by Basic index, NaN outside the array; a packed single array is
// read where it lies.
double numberAt(const Variant& array, int64_t index)
{
    if (!array.packed())
        return numberOf(array.element(index));
    const auto block = array.singles();
    const int64_t offset = index - array.lbound();
    return offset >= 0 && offset < static_cast<int64_t>(block.size()) ? block[static_cast<size_t>(offset)] : kNaN;
}

// n values from Basic index `lower` on, as numberAt reads them one by one.
void readValues(const Variant& array, int64_t lower, size_t n, std::vector<double>& out)
{
    out.resize(n);
    if (!array.packed()) {
        for (size_t i = 0; i < n; ++i)
            out[i] = numberAt(array, lower + static_cast<int64_t>(i));
        return;
    }
    const auto block = array.singles();
    const int64_t first = lower - array.lbound();
    for (size_t i = 0; i < n; ++i) {
        const int64_t offset = first + static_cast<int64_t>(i);
        out[i] = offset >= 0 && offset < static_cast<int64_t>(block.size()) ? block[static_cast<size_t>(offset)] : kNaN;
    }
}

std::optional<double> missingOf(const DataSlot& s)
{
    if (s.missing.isEmpty() || s.missing.vt() == platform::com::VT_BSTR)
        return std::nullopt;
    return s.missing.toDouble();
}

bool holdsArray(const LgData& data, int32_t slot)
{
    return slot >= 0 && slot <= data.dataSize() && data.slots_[static_cast<size_t>(slot)].array.isArray()
        && data.slots_[static_cast<size_t>(slot)].array.dimensions() == 1;
}

} // namespace

LgData* chartData(const LgChart& chart)
{
    LgObject* d = chart.data_.get();
    return d && d->objectId() == lgxData ? static_cast<LgData*>(d) : nullptr;
}

std::vector<double> slotValues(LgData& data, int32_t slot, int32_t lower, size_t count)
{
    std::vector<double> out(count, kNaN);
    if (!holdsArray(data, slot))
        return out;
    const DataSlot& s = data.slots_[static_cast<size_t>(slot)];
    const auto missing = missingOf(s);
    for (size_t i = 0; i < count; ++i) {
        double v = numberAt(s.array, static_cast<int64_t>(lower) + static_cast<int64_t>(i));
        out[i] = missing && v == *missing ? kNaN : v;
    }
    return out;
}

std::optional<ChartSeries> readSeries(const LgChart& chart)
{
    ChartSeries s;
    if (!readSeries(chart, s))
        return std::nullopt;
    return s;
}

bool readSeries(const LgChart& chart, ChartSeries& s)
{
    LgData* data = chartData(chart);
    if (!data || !holdsArray(*data, lgIndexDataX) || !holdsArray(*data, lgIndexDataY))
        return false;
    const DataSlot& xs = data->slots_[lgIndexDataX];
    const DataSlot& ys = data->slots_[lgIndexDataY];
    s.lower = xs.array.lbound();
    const size_t n = xs.array.elementCount();
    readValues(xs.array, s.lower, n, s.x);
    readValues(ys.array, s.lower, n, s.y);
    s.missingX = missingOf(xs);
    s.missingY = missingOf(ys);
    return true;
}

const LgObject* tableEntry(const std::vector<std::unique_ptr<ObjRef>>& table, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= table.size() || !table[static_cast<size_t>(index)])
        return nullptr;
    return table[static_cast<size_t>(index)]->get();
}

} // namespace lumigra
