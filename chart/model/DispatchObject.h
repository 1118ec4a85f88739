#pragma once
// A small reference-counted object reached through its dispatch interface
// (fonts, pictures, the format component): IUnknown and IDispatch answered
// once here, members from the class's own table.
#include <atomic>

#include "model/Dispatchable.h"

namespace lumigra {

class DispatchObject : public platform::com::IDispatch, public Dispatchable {
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

private:
    std::atomic<uint32_t> refs_{1};
};

} // namespace lumigra
