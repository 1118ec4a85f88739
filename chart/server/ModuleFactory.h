#pragma once
// A class factory of the module: a static object whose references count as
// server locks, making one new object per request (no aggregation).
#include "platform/com/Dispatch.h"
#include "module/Module.h"

namespace lumigra {

class ModuleFactory : public platform::com::IClassFactory {
public:
    platform::com::HRESULT QueryInterface(const platform::com::Guid& iid, void** object) override
    {
        using namespace platform::com;
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            AddRef();
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return static_cast<uint32_t>(++serverLocks); }
    uint32_t Release() override { return static_cast<uint32_t>(--serverLocks); }
    platform::com::HRESULT CreateInstance(platform::com::IUnknown* outer, const platform::com::Guid& iid,
                                          void** object) override
    {
        using namespace platform::com;
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IUnknown* raw = nullptr;
        HRESULT status = make(&raw);
        if (failed(status))
            return status;
        auto made = ComPtr<IUnknown>::attach(raw);
        return made->QueryInterface(iid, object);
    }
    platform::com::HRESULT LockServer(bool lock) override
    {
        lock ? ++serverLocks : --serverLocks;
        return platform::com::S_OK;
    }

protected:
    // A new object holding one reference, or a failure status.
    virtual platform::com::HRESULT make(platform::com::IUnknown** made) = 0;
};

} // namespace lumigra
