#pragma once
// What every chart object has in common: identity, naming, references to
// other objects with their link counts, change notification, and the record
// it writes into the object text.
#include <atomic>
#include <string>
#include <vector>

#include "lumigra/Constants.h"
#include "lumigra/Guids.h"
#include "model/Dispatchable.h"
#include "model/RefCounted.h"

namespace lumigra {

using platform::com::IDispatch;
using platform::com::Guid;

class ChartOwner;
class LgCollection;
class LgObject;
class RecordExchange;

// Answers QueryInterface with the object itself, so that objects passed back
// by the host are recognised as this module's own.
inline constexpr Guid IID_LgObjectInternal = makeGuid("{DD4CC725-3918-11D0-8BF9-000000000001}");

// Objects alive in the module (for DllCanUnloadNow).
extern std::atomic<int> liveObjectCount;

// A reference from one object (the holder) to another. Setting it keeps the
// target alive and counts the holder among the target's parents.
class ObjRef {
public:
    explicit ObjRef(LgObject* holder);
    ObjRef(const ObjRef&) = delete;
    ObjRef& operator=(const ObjRef&) = delete;
    ~ObjRef();

    LgObject* get() const { return target_.get(); }
    template <class T>
    T* as() const { return static_cast<T*>(target_.get()); }
    explicit operator bool() const { return static_cast<bool>(target_); }
    void reset(LgObject* target);
    // Takes a freshly made object; the holder's reference is the only one left.
    void reset(platform::com::ComPtr<LgObject> made) { reset(made.get()); }

private:
    LgObject* holder_;
    platform::com::ComPtr<LgObject> target_;
};

class LgObject : public IDispatch, public Dispatchable, public RefCounted<LgObject> {
public:
    LgObject(ChartOwner* owner, const char* className, const Guid& iid, int32_t objectId);
    LgObject(const LgObject&) = delete;
    LgObject& operator=(const LgObject&) = delete;
    virtual ~LgObject();

    // IUnknown, IDispatch
    HRESULT QueryInterface(const Guid& iid, void** object) override;
    uint32_t AddRef() override { return addRef(); }
    uint32_t Release() override { return release(); }
    HRESULT GetIDsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids) override;
    HRESULT Invoke(DispId id, uint16_t flags, Args& args, Variant* result, ExcepInfo* exception) override;

    std::string errorSource() const override { return name_; }
    void checkAlive() const override;

    // The kind's own record fields, in their fixed order.
    virtual void exchange(RecordExchange& x) = 0;
    // The whole object record: markers, "Name=" and the fields.
    virtual void record(RecordExchange& x);
    // Drops every reference (re-initialisation and destruction of the control).
    virtual void detach();

    ChartOwner* owner() const { return owner_; }
    const char* className() const { return className_; }
    const Guid& iid() const { return iid_; }
    int32_t objectId() const { return objectId_; }
    const std::string& name() const { return name_; }
    int32_t position() const { return position_; }
    void setPositionRaw(int32_t position) { position_ = position; }
    LgCollection* parentCollection() const { return parent_; }
    int32_t parents() const { return parents_; }
    // lgUsers: the collection holding the object plus every object referring to it.
    int32_t users() const { return parents_ + (parent_ ? 1 : 0); }
    int32_t tag() const { return tag_; }
    void setTagRaw(int32_t tag) { tag_ = tag; }

    // Name rules of the Name property (1006 for a taken name).
    void setName(const std::string& name);
    void setNameRaw(std::string name);
    std::string defaultName() const;
    // Copies every setting (not name, position or tag) into target: the
    // Copy member, 1005 unless target is of this kind and this control.
    void copyTo(LgObject& target);
    // The copy itself; by default through the object's own record.
    virtual void copySettings(LgObject& target);
    // The target's field changed: mark the control modified and request a repaint.
    void changed();

    template <class T>
    void assign(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        changed();
    }
    // Sets a reference property: 1005 for another control's object.
    void assignRef(ObjRef& ref, LgObject* target);

protected:
    friend class ObjRef;
    friend class LgCollection;
    friend class RecordExchange;
    friend class ChartDocument;

    ChartOwner* owner_;
    const char* className_;
    Guid iid_;
    int32_t objectId_;
    std::string name_;
    int32_t position_ = -1;
    LgCollection* parent_ = nullptr;
    int32_t parents_ = 0;
    int32_t tag_ = 0;
    std::vector<ObjRef*> refs_;
    bool detaching_ = false;
};

// The chart object behind a dispatch argument; nullptr for Nothing. Raises
// 1003 for a value that is not an object and 1011 for a foreign object.
LgObject* objectArgument(const Variant& value);
Variant objectResult(LgObject* object);

// Members shared by every element: Name, RefCount, Copy, Index, ObjectID, Tag.
const std::vector<Member>& commonMembers();

} // namespace lumigra
