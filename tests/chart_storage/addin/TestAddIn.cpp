// An add-in for the tests: its entry MayChange(control, first, second)
// refuses a change when the second object is named "Locked" and counts its
// calls in the first object's Tag.
#include "lumigra/DispIds.h"
#include "platform/com/Dispatch.h"

using namespace platform::com;

namespace {

constexpr Guid CLSID_TestAddIn = makeGuid("{5E1F0A10-7C2B-4D3E-9F40-112233445566}");
constexpr DispId MayChange = 7;

Variant property(const Variant& object, DispId id)
{
    std::vector<Variant> none;
    Variant result;
    ExcepInfo e;
    if (object.vt() == VT_DISPATCH && object.dispatch())
        object.dispatch()->Invoke(id, DISPATCH_PROPERTYGET, none, &result, &e);
    return result;
}

class AddIn final : public IDispatch {
public:
    HRESULT QueryInterface(const Guid& iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            AddRef();
            *object = static_cast<IDispatch*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++refs_; }
    uint32_t Release() override
    {
        uint32_t n = --refs_;
        if (n == 0)
            delete this;
        return n;
    }
    HRESULT GetIDsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids) override
    {
        ids.assign(names.size(), DISPID_UNKNOWN);
        if (names.size() == 1 && names[0] == "MayChange") {
            ids[0] = MayChange;
            return S_OK;
        }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT Invoke(DispId id, uint16_t, std::vector<Variant>& args, Variant* result, ExcepInfo*) override
    {
        if (id != MayChange)
            return DISP_E_MEMBERNOTFOUND;
        if (args.size() != 3)
            return DISP_E_BADPARAMCOUNT;
        // The control answers its version: proof that the first argument is it.
        std::vector<Variant> none;
        Variant version;
        ExcepInfo e;
        if (args[0].vt() != VT_DISPATCH
            || failed(args[0].dispatch()->Invoke(lumigra::dispid::control::GetVersion, DISPATCH_METHOD, none,
                                                 &version, &e))
            || version.toI4().value_or(0) != 120)
            return DISP_E_TYPEMISMATCH;
        Variant tag = property(args[1], lumigra::dispid::common::Tag);
        std::vector<Variant> count{Variant::fromI4(tag.toI4().value_or(0) + 1)};
        args[1].dispatch()->Invoke(lumigra::dispid::common::Tag, DISPATCH_PROPERTYPUT, count, nullptr, &e);
        if (result)
            *result = Variant::fromBool(property(args[2], lumigra::dispid::common::Name).toText() != "Locked");
        return S_OK;
    }

private:
    uint32_t refs_ = 1;
};

class Factory : public IClassFactory {
public:
    HRESULT QueryInterface(const Guid& iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }
    HRESULT CreateInstance(IUnknown*, const Guid& iid, void** object) override
    {
        auto* addIn = new AddIn;
        HRESULT status = addIn->QueryInterface(iid, object);
        addIn->Release();
        return status;
    }
    HRESULT LockServer(bool) override { return S_OK; }
};

Factory factory;

} // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(const Guid* clsid, const Guid* iid,
                                                                            void** object)
{
    if (!(*clsid == CLSID_TestAddIn))
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(*iid, object);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() { return S_FALSE; }
