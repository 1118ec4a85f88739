#pragma once
// A small reference-counted object reached through its dispatch interface
// (fonts, pictures, the format component): IUnknown and IDispatch answered
// once here, members from the class's own table.
#include "model/Dispatchable.h"
#include "model/RefCounted.h"

namespace lumigra {

class DispatchObject : public platform::com::IDispatch, public Dispatchable, public RefCounted<DispatchObject> {
public:
    HRESULT QueryInterface(const platform::com::Guid& iid, void** object) override
    {
        if (!object)
            return platform::com::E_POINTER;
        void* found = nullptr;
        if (iid == platform::com::IID_IUnknown || iid == platform::com::IID_IDispatch)
            found = static_cast<platform::com::IDispatch*>(this);
        else
            found = otherInterface(iid);
        *object = found;
        if (!found)
            return platform::com::E_NOINTERFACE;
        AddRef();
        return platform::com::S_OK;
    }
    uint32_t AddRef() override { return addRef(); }
    uint32_t Release() override { return release(); }
    HRESULT GetIDsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids) override
    {
        return dispatchIdsOfNames(names, ids);
    }
    HRESULT Invoke(DispId id, uint16_t flags, Args& args, Variant* result, ExcepInfo* exception) override
    {
        return dispatchInvoke(id, flags, args, result, exception);
    }

protected:
    DispatchObject() = default;
    // A further interface the object answers besides IUnknown and IDispatch.
    virtual void* otherInterface(const platform::com::Guid&) { return nullptr; }
};

} // namespace lumigra
