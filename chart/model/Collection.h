#pragma once
// A typed, named, counted collection of chart objects owned by a control.
#include <string>
#include <unordered_map>
#include <vector>

#include "model/ChartOwner.h"
#include "model/CollectionSpec.h"
#include "model/Object.h"

namespace lumigra {

class LgCollection : public LgObject {
public:
    LgCollection(ChartOwner* owner, const CollectionSpec& spec, int32_t lowerBound, int32_t capacity);
    ~LgCollection() override;

    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;
    void record(RecordExchange& x) override;
    void detach() override;
    // A collection's settings are its visibility and paint order, not its elements.
    void copySettings(LgObject& target) override
    {
        auto& t = static_cast<LgCollection&>(target);
        t.visible_ = visible_;
        t.paintOrder_ = paintOrder_;
    }

    const CollectionSpec& spec() const { return *spec_; }
    int32_t count() const { return static_cast<int32_t>(items_.size()); }
    LgObject* at(int32_t position) const { return items_.at(static_cast<size_t>(position)).get(); }
    LgObject* findByName(const std::string& name) const;
    int32_t capacity() const { return capacity_; }
    int32_t lowerBound() const { return lowerBound_; }
    bool visible() const { return visible_; }
    void setVisibleRaw(bool v) { visible_ = v; }
    // The stored rank, or the default when it is below 1.
    int32_t paintOrder() const { return paintOrder_ < 1 ? spec_->defaultPaintOrder : paintOrder_; }
    void setPaintOrderRaw(int32_t order) { paintOrder_ = order; }
    bool drawable() const { return spec_->defaultPaintOrder > 0; }

    // Appends count new default elements (1004 when the capacity cannot
    // grow, 1002 when an element cannot be made); returns the last one.
    LgObject* addElements(int64_t count);
    // One new element named name (default name when empty; 1006 when taken).
    LgObject* addNamed(const std::string& name);
    void removeAt(int32_t position);
    void clearAll();
    // Capacity as read from an object text.
    void setCapacityRaw(int32_t capacity);
    void setLowerBoundRaw(int32_t lowerBound) { lowerBound_ = lowerBound; }
    // Item by name or by index from the lower bound (1003 otherwise).
    LgObject* item(const Variant& key) const;
    bool swap(LgObject* a, LgObject* b);
    // Keeps the name index right when an element is renamed.
    void renamed(LgObject* element, const std::string& from);

private:
    void grow(int64_t adding);
    void renumber(size_t from);

    const CollectionSpec* spec_;
    std::vector<platform::com::ComPtr<LgObject>> items_;
    std::unordered_multimap<std::string, LgObject*> byName_;
    int32_t capacity_;
    int32_t lowerBound_;
    bool visible_ = true;
    int32_t paintOrder_ = 0;
};

// A paint found no collection or more than one at some rank: the stored
// order of every drawable collection returns to its default.
void resetPaintOrders(const ChartOwner& owner);

} // namespace lumigra
