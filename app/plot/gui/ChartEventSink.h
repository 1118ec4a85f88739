#pragma once
// Receives the chart control's events (_DLumigraEvents) for the plot window.
#include "platform/com/Dispatch.h"

#include <atomic>

namespace raylen {

class FrmPlot;

class ChartEventSink final : public platform::com::IDispatch {
public:
    explicit ChartEventSink(FrmPlot& window) : window_(window) {}

    platform::com::HRESULT QueryInterface(const platform::com::Guid& iid, void** object) override;
    uint32_t AddRef() override { return ++refs_; }
    uint32_t Release() override;
    platform::com::HRESULT GetIDsOfNames(const std::vector<std::string>& names,
                                         std::vector<platform::com::DispId>& ids) override;
    platform::com::HRESULT Invoke(platform::com::DispId member, uint16_t flags,
                                  std::vector<platform::com::Variant>& args, platform::com::Variant* result,
                                  platform::com::ExcepInfo* exception) override;

private:
    ~ChartEventSink() = default;
    FrmPlot& window_;
    std::atomic<uint32_t> refs_{1};
};

} // namespace raylen
