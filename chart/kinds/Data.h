#pragma once
// A data set: slots 0 (data labels) to DataSize, each a one-dimensional
// array with an optional reference text and a missing value.
#include <optional>
#include <string>
#include <vector>

#include "model/Object.h"

namespace lumigra {

struct DataSlot {
    Variant array; // empty when the slot holds no array
    Variant missing;
    std::string reference;
    // Extremes kept until the slot's data changes.
    std::optional<Variant> maxCache, minCache;
    void dataChanged()
    {
        maxCache.reset();
        minCache.reset();
    }
};

class LgData : public LgObject {
public:
    explicit LgData(ChartOwner* owner) : LgObject(owner, "Data", IID_LgData, lgxData), slots_(5) {}
    static LgObject* create(ChartOwner* owner) { return new LgData(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    int32_t dataSize() const { return static_cast<int32_t>(slots_.size()) - 1; }
    void setDataSize(int32_t size);
    // Slot i (1003 outside 0 ... DataSize).
    DataSlot& slot(int32_t index);
    // Slot i of 1 ... DataSize holding an array (1003 otherwise).
    DataSlot& valueSlot(int32_t index);
    void setData(int32_t index, const Variant& array);
    // Largest (or smallest) qualifying element, empty when none qualifies.
    Variant extreme(int32_t index, bool largest);
    Variant extremeTime(int32_t index, bool largest, int16_t timeMask);
    bool loadFromFile(int16_t container, int32_t index);
    // After a change of data: modified, and a repaint when a chart uses it.
    void dataChanged();

    std::vector<DataSlot> slots_;
    std::string dataFile_;
};

// Rounds an OLE date down (or up) to a whole unit of LgDateTimeUnit.
double roundDate(double date, int16_t unit, bool up);

} // namespace lumigra
