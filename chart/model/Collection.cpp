#include "model/Collection.h"

#include <algorithm>
#include <limits>
#include <new>

#include "model/ChartOwner.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

using namespace platform::com;

LgCollection::LgCollection(ChartOwner* owner, const CollectionSpec& spec, int32_t lowerBound, int32_t capacity)
    : LgObject(owner, spec.property, spec.iid, spec.objectId), spec_(&spec), capacity_(capacity),
      lowerBound_(lowerBound)
{
    name_ = spec.property;
}

LgCollection::~LgCollection()
{
    for (auto& o : items_) {
        o->parent_ = nullptr;
        o->position_ = -1;
    }
}

void LgCollection::detach()
{
    if (detaching_)
        return;
    for (auto& o : items_)
        o->detach();
    LgObject::detach();
}

LgObject* LgCollection::findByName(const std::string& name) const
{
    auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : found->second;
}

void LgCollection::renamed(LgObject* element, const std::string& from)
{
    auto range = byName_.equal_range(from);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second == element) {
            byName_.erase(it);
            break;
        }
    byName_.emplace(element->name(), element);
}

void LgCollection::grow(int64_t adding)
{
    int64_t needed = static_cast<int64_t>(items_.size()) + adding;
    if (needed <= capacity_)
        return;
    int64_t grown = static_cast<int64_t>(capacity_) + 50 + adding;
    if (grown > std::numeric_limits<int32_t>::max())
        raiseError(lgErrCollectionOverflow);
    try {
        items_.reserve(static_cast<size_t>(needed));
    } catch (const std::exception&) {
        raiseError(lgErrCollectionOverflow);
    }
    capacity_ = static_cast<int32_t>(grown);
}

LgObject* LgCollection::addElements(int64_t count)
{
    if (count < 1)
        raiseError(lgErrBadArgument);
    grow(count);
    LgObject* last = nullptr;
    for (int64_t i = 0; i < count; ++i) {
        LgObject* o = nullptr;
        try {
            o = spec_->create(owner_);
        } catch (const std::bad_alloc&) {
            o = nullptr;
        }
        if (!o)
            raiseError(lgErrOutOfMemory);
        o->parent_ = this;
        o->position_ = static_cast<int32_t>(items_.size());
        o->name_ = o->defaultName();
        items_.push_back(ComPtr<LgObject>::attach(o));
        byName_.emplace(o->name_, o);
        last = o;
    }
    changed();
    return last;
}

LgObject* LgCollection::addNamed(const std::string& name)
{
    if (!name.empty() && findByName(name))
        raiseError(lgErrDuplicateName);
    LgObject* o = addElements(1);
    if (!name.empty())
        o->setNameRaw(name);
    return o;
}

void LgCollection::renumber(size_t from)
{
    for (size_t i = from; i < items_.size(); ++i)
        items_[i]->position_ = static_cast<int32_t>(i);
}

void LgCollection::removeAt(int32_t position)
{
    ComPtr<LgObject> o = std::move(items_.at(static_cast<size_t>(position)));
    items_.erase(items_.begin() + position);
    auto range = byName_.equal_range(o->name_);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second == o.get()) {
            byName_.erase(it);
            break;
        }
    o->parent_ = nullptr;
    o->position_ = -1;
    renumber(static_cast<size_t>(position));
    o.reset();
    changed();
}

void LgCollection::clearAll()
{
    while (!items_.empty())
        removeAt(static_cast<int32_t>(items_.size()) - 1);
}

void LgCollection::setCapacityRaw(int32_t capacity) { capacity_ = std::max(capacity, count()); }

LgObject* LgCollection::item(const Variant& value) const
{
    const Variant& key = value.deref();
    if (key.vt() == VT_BSTR) {
        LgObject* o = findByName(key.str());
        if (!o)
            raiseError(lgErrBadArgument);
        return o;
    }
    if (!key.isNumeric() || key.vt() == VT_BOOL)
        raiseError(lgErrBadArgument);
    auto index = key.toI4();
    if (!index)
        raiseError(lgErrBadArgument);
    int64_t position = static_cast<int64_t>(*index) - lowerBound_;
    if (position < 0 || position >= count())
        raiseError(lgErrBadArgument);
    return items_[static_cast<size_t>(position)].get();
}

bool LgCollection::swap(LgObject* a, LgObject* b)
{
    if (a && a == b)
        return true;
    if (!a || !b || a->parent_ != this || b->parent_ != this)
        return false;
    std::swap(items_[static_cast<size_t>(a->position_)], items_[static_cast<size_t>(b->position_)]);
    std::swap(a->position_, b->position_);
    changed();
    return true;
}

void LgCollection::exchange(RecordExchange&) {}

void LgCollection::record(RecordExchange& x) { x.collection(*this); }

const MemberTable& LgCollection::members() const
{
    static const std::vector<Member> own{
        {"Add", dispid::collection::Add, MemberKind::Method, VT_DISPATCH, false,
         [](Dispatchable& d, Args& a) {
             auto& c = static_cast<LgCollection&>(d);
             if (isOmitted(a, 0))
                 return objectResult(c.addElements(1));
             const Variant& v = a[0].deref();
             if (v.vt() == VT_BSTR)
                 return objectResult(c.addNamed(v.str()));
             auto n = v.toDouble();
             if (!n || v.isArray())
                 raiseError(lgErrBadArgument);
             if (*n > std::numeric_limits<int32_t>::max())
                 raiseError(lgErrCollectionOverflow);
             return objectResult(c.addElements(static_cast<int64_t>(*n)));
         },
         nullptr, 0, 1},
        {"Count", dispid::collection::Count, MemberKind::Property, VT_I4, true,
         [](Dispatchable& d, Args&) { return Variant::fromI4(static_cast<LgCollection&>(d).count()); }, nullptr},
        {"Item", dispid::collection::Item, MemberKind::Method, VT_DISPATCH, false,
         [](Dispatchable& d, Args& a) { return objectResult(static_cast<LgCollection&>(d).item(a[0])); }, nullptr,
         1},
        {"Remove", dispid::collection::Remove, MemberKind::Method, VT_I4, false,
         [](Dispatchable& d, Args& a) {
             auto& c = static_cast<LgCollection&>(d);
             c.removeAt(c.item(a[0])->position());
             return Variant::fromI4(c.count());
         },
         nullptr, 1},
        {"Clear", dispid::collection::Clear, MemberKind::Method, VT_I4, false,
         [](Dispatchable& d, Args&) {
             auto& c = static_cast<LgCollection&>(d);
             c.clearAll();
             return Variant::fromI4(c.count());
         },
         nullptr},
        {"Visible", dispid::collection::Visible, MemberKind::Property, VT_BOOL, false,
         [](Dispatchable& d, Args&) { return Variant::fromBool(static_cast<LgCollection&>(d).visible_); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& c = static_cast<LgCollection&>(d);
             c.assign(c.visible_, argBool(v));
         }},
        {"SwapIndex", dispid::collection::SwapIndex, MemberKind::Method, VT_BOOL, false,
         [](Dispatchable& d, Args& a) {
             auto& c = static_cast<LgCollection&>(d);
             LgObject* first = objectArgument(a[0]);
             LgObject* second = objectArgument(a[1]);
             return Variant::fromBool(c.swap(first, second));
         },
         nullptr, 2},
        {"PaintOrder", dispid::collection::PaintOrder, MemberKind::Property, VT_I4, false,
         [](Dispatchable& d, Args&) { return Variant::fromI4(static_cast<LgCollection&>(d).paintOrder()); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& c = static_cast<LgCollection&>(d);
             c.assign(c.paintOrder_, argI4(v));
         }},
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void resetPaintOrders(const ChartOwner& owner)
{
    for (int id = 0; id < cidCount; ++id)
        if (LgCollection* c = owner.collection(id); c && c->drawable())
            c->setPaintOrderRaw(0);
}

} // namespace lumigra
