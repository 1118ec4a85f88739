#include "model/Object.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "model/ChartOwner.h"
#include "model/Builders.h"
#include "model/Collection.h"
#include "model/RecordExchange.h"
#include "model/TickCount.h"

namespace lumigra {

using namespace platform::com;

std::atomic<int> liveObjectCount{0};

ObjRef::ObjRef(LgObject* holder) : holder_(holder) { holder_->refs_.push_back(this); }

ObjRef::~ObjRef()
{
    reset(nullptr);
    auto& refs = holder_->refs_;
    refs.erase(std::remove(refs.begin(), refs.end(), this), refs.end());
}

void ObjRef::reset(LgObject* target)
{
    if (target == target_.get())
        return;
    if (target) {
        target->AddRef();
        ++target->parents_;
    }
    platform::com::ComPtr<LgObject> old = std::move(target_);
    target_ = platform::com::ComPtr<LgObject>::attach(target);
    if (old)
        --old->parents_;
}

LgObject::LgObject(ChartOwner* owner, const char* className, const Guid& iid, int32_t objectId)
    : owner_(owner), className_(className), iid_(iid), objectId_(objectId)
{
    ++liveObjectCount;
    name_ = defaultName();
}

LgObject::~LgObject() { --liveObjectCount; }

HRESULT LgObject::QueryInterface(const Guid& iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == iid_ || iid == IID_LgObjectInternal) {
        AddRef();
        *object = iid == IID_LgObjectInternal ? static_cast<void*>(this) : static_cast<IDispatch*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT LgObject::GetIDsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids)
{
    return dispatchIdsOfNames(names, ids);
}

HRESULT LgObject::Invoke(DispId id, uint16_t flags, Args& args, Variant* result, ExcepInfo* exception)
{
    // The object stays alive for the call even if the call drops its last link.
    platform::com::ComPtr<LgObject> keep = platform::com::ComPtr<LgObject>::share(this);
    return dispatchInvoke(id, flags, args, result, exception);
}

void LgObject::checkAlive() const
{
    if (!owner_)
        raiseError(lgErrUnknown);
}

void LgObject::record(RecordExchange& x)
{
    x.beginObject(className_);
    x.name(*this);
    exchange(x);
    x.endObject(className_);
}

void LgObject::detach()
{
    if (detaching_)
        return;
    detaching_ = true;
    std::vector<ObjRef*> refs = refs_;
    for (ObjRef* r : refs) {
        LgObject* target = r->get();
        // Owned parts (ticks, legend items) go with their holder.
        if (target && !target->parent_ && target->owner_)
            target->detach();
        r->reset(nullptr);
    }
    owner_ = nullptr;
}

void LgObject::setNameRaw(std::string name)
{
    std::string old = std::exchange(name_, std::move(name));
    if (parent_)
        parent_->renamed(this, old);
}

void LgObject::setName(const std::string& name)
{
    if (name == name_)
        return;
    if (name.empty()) {
        setNameRaw(defaultName());
        changed();
        return;
    }
    if (parent_ && parent_->findByName(name))
        raiseError(lgErrDuplicateName);
    setNameRaw(name);
    changed();
}

std::string LgObject::defaultName() const
{
    // The tick count alone repeats within a millisecond; the next free count
    // keeps names unique in the collection.
    // Later than every default name given before, so bursts stay cheap.
    static std::atomic<unsigned long> lastIssued{0};
    unsigned long tick = moduleTickCount();
    unsigned long last = lastIssued.load();
    if (tick <= last && last - tick < 0x80000000ul)
        tick = last + 1;
    char text[128];
    for (;;) {
        std::snprintf(text, sizeof text, "%s:%lu", className_, tick);
        if (!parent_ || !parent_->findByName(text)) {
            lastIssued = tick;
            return text;
        }
        ++tick;
    }
}

void LgObject::copyTo(LgObject& target)
{
    if (&target == this)
        return;
    if (target.owner_ != owner_ || target.objectId_ != objectId_ || !owner_)
        raiseError(lgErrOtherControl);
    copySettings(target);
    target.changed();
}

void LgObject::copySettings(LgObject& target)
{
    ObjectTextWriter writer;
    {
        RecordExchange out(*owner_, writer);
        record(out);
    }
    std::vector<uint8_t> block = writer.finish();
    ObjectTextReader reader(block.data(), block.size());
    RecordExchange in(*owner_, reader);
    in.keepName = true;
    target.record(in);
}

void LgObject::changed()
{
    if (owner_)
        owner_->notifyChange();
}

void LgObject::assignRef(ObjRef& ref, LgObject* target)
{
    if (target && target->owner_ != owner_)
        raiseError(lgErrOtherControl);
    if (ref.get() == target)
        return;
    ref.reset(target);
    changed();
}

LgObject* objectArgument(const Variant& value)
{
    const Variant& v = value.deref();
    if (v.vt() == VT_EMPTY || v.vt() == VT_NULL)
        return nullptr;
    if (v.vt() != VT_DISPATCH)
        raiseError(lgErrBadArgument);
    if (!v.dispatch())
        return nullptr;
    void* object = nullptr;
    if (failed(v.dispatch()->QueryInterface(IID_LgObjectInternal, &object)) || !object)
        raiseError(lgErrUnknownObject);
    // The variant keeps it alive beyond this reference.
    auto o = platform::com::ComPtr<LgObject>::attach(static_cast<LgObject*>(object));
    return o.get();
}

Variant objectResult(LgObject* object) { return Variant::fromDispatch(object); }

void setReference(LgObject& self, ObjRef& ref, const Variant& value, int32_t kind)
{
    LgObject* o = objectArgument(value);
    if (o && o->owner() != self.owner())
        raiseError(lgErrOtherControl);
    if (o && !kindFits(o, kind))
        raiseError(lgErrUnknownObject);
    self.assignRef(ref, o);
}

LgObject* createOnDemand(LgObject& self, ObjRef& ref, int collection)
{
    ChartOwner* owner = self.owner();
    LgCollection* c = owner ? owner->collection(collection) : nullptr;
    if (!c)
        raiseError(lgErrUnknown);
    LgObject* created = c->addElements(1);
    ref.reset(created);
    owner->notifyChange();
    return created;
}

Variant numericValue(const Variant& value)
{
    const Variant& v = value.deref();
    switch (v.vt()) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE: return v;
    default: raiseError(lgErrBadArgument);
    }
}

const std::vector<Member>& commonMembers()
{
    static const std::vector<Member> members{
        {"Name", dispid::common::Name, MemberKind::Property, VT_BSTR, false,
         [](Dispatchable& d, Args&) { return Variant::fromString(static_cast<LgObject&>(d).name()); },
         [](Dispatchable& d, Args&, const Variant& v) { static_cast<LgObject&>(d).setName(argText(v)); }},
        {"RefCount", dispid::common::RefCount, MemberKind::Property, VT_I4, true,
         [](Dispatchable& d, Args& a) {
             auto& o = static_cast<LgObject&>(d);
             int16_t which = argI2(a[0]);
             return Variant::fromI4(which == lgParents ? o.parents() : which == lgUsers ? o.users() : 0);
         },
         nullptr, 1},
        {"Copy", dispid::common::Copy, MemberKind::Method, VT_EMPTY, false,
         [](Dispatchable& d, Args& a) {
             auto& o = static_cast<LgObject&>(d);
             LgObject* target = objectArgument(a[0]);
             if (!target)
                 raiseError(lgErrOtherControl);
             o.copyTo(*target);
             return Variant();
         },
         nullptr, 1},
        {"Index", dispid::common::Index, MemberKind::Property, VT_I4, true,
         [](Dispatchable& d, Args&) { return Variant::fromI4(static_cast<LgObject&>(d).position() + 1); }, nullptr},
        {"ObjectID", dispid::common::ObjectID, MemberKind::Property, VT_I4, true,
         [](Dispatchable& d, Args&) { return Variant::fromI4(static_cast<LgObject&>(d).objectId()); }, nullptr},
        {"Tag", dispid::common::Tag, MemberKind::Property, VT_I4, false,
         [](Dispatchable& d, Args&) { return Variant::fromI4(static_cast<LgObject&>(d).tag()); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& o = static_cast<LgObject&>(d);
             int32_t tag = argI4(v);
             if (tag != o.tag()) {
                 o.setTagRaw(tag);
                 o.changed();
             }
         }},
    };
    return members;
}

} // namespace lumigra
