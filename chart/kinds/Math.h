#pragma once
// The module's math object returned by GetMathObject: the scale functions
// the charts use, offered to the host.
#include <atomic>

#include "model/Dispatchable.h"

namespace lumigra {

using platform::com::Guid;
using platform::com::IDispatch;

class LgMath : public IDispatch, public Dispatchable {
public:
    HRESULT QueryInterface(const Guid& iid, void** object) override;
    uint32_t AddRef() override { return ++refCount_; }
    uint32_t Release() override;
    HRESULT GetIDsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids) override
    {
        return dispatchIdsOfNames(names, ids);
    }
    HRESULT Invoke(DispId id, uint16_t flags, Args& args, Variant* result, ExcepInfo* exception) override
    {
        return dispatchInvoke(id, flags, args, result, exception);
    }
    const MemberTable& members() const override;
    std::string errorSource() const override { return "LumigraMath"; }

private:
    std::atomic<uint32_t> refCount_{1};
};

// Standard normal quantile: the z with P(Z <= z) = p, 0 < p < 1.
double normalQuantile(double p);

} // namespace lumigra
