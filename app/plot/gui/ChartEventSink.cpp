#include "plot/gui/ChartEventSink.h"

#include "lumigra/DispIds.h"
#include "plot/gui/FrmPlot.h"

namespace raylen {

using namespace platform::com;

namespace {

double number(const std::vector<Variant>& args, size_t index)
{
    return index < args.size() ? args[index].deref().toDouble().value_or(0) : 0;
}

int16_t small(const std::vector<Variant>& args, size_t index)
{
    return index < args.size() ? args[index].deref().toI2().value_or(0) : 0;
}

} // namespace

HRESULT ChartEventSink::QueryInterface(const Guid& iid, void** object)
{
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        AddRef();
        *object = this;
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

uint32_t ChartEventSink::Release()
{
    const uint32_t left = --refs_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT ChartEventSink::GetIDsOfNames(const std::vector<std::string>&, std::vector<DispId>& ids)
{
    ids.assign(ids.size(), DISPID_UNKNOWN);
    return DISP_E_UNKNOWNNAME;
}

HRESULT ChartEventSink::Invoke(DispId member, uint16_t, std::vector<Variant>& args, Variant*, ExcepInfo*)
{
    namespace ev = lumigra::dispid::event;
    switch (member) {
    case ev::MouseDown:
        window_.Lumigra1_MouseDown(small(args, 0), small(args, 1), static_cast<float>(number(args, 2)),
                                   static_cast<float>(number(args, 3)));
        break;
    case ev::MouseMove:
        window_.Lumigra1_MouseMove(small(args, 0), small(args, 1), static_cast<float>(number(args, 2)),
                                   static_cast<float>(number(args, 3)));
        break;
    case ev::KeyPress:
        window_.Lumigra1_KeyPress(small(args, 0));
        break;
    default:
        break;
    }
    return S_OK;
}

} // namespace raylen
