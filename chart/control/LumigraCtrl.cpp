#include "control/LumigraCtrl.h"

#include "control/ContainerTransform.h"
#include "control/ControlPersist.h"
#include "control/ControlWindow.h"
#include "lumigra/Constants.h"
#include "lumigra/Persist.h"
#include "lumigra/Window.h"
#include "module/Module.h"
#include "paint/LabelLayout.h"
#include "paint/XyAxisScale.h"
#include "control/ControlStorageMembers.h"

namespace lumigra {

using namespace platform::com;

LumigraCtrl::LumigraCtrl()
{
    ++liveControls;
    controlId_ = nextControlId();
    slot_ = allocateSlot(this);
    linkControl(this, controlId_);
    createContents();
}

LumigraCtrl::~LumigraCtrl()
{
    destroyContents();
    unlinkControl(this);
    releaseSlot(this);
    --liveControls;
}

LumigraCtrl& controlOf(ChartOwner& owner)
{
    // Every document of this module is a control's.
    return static_cast<LumigraCtrl&>(documentOf(owner));
}

HRESULT LumigraCtrl::QueryInterface(const Guid& iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID__DLumigra || iid == IID_ILumigraControl) {
        AddRef();
        *object = static_cast<ILumigraControl*>(this);
        return S_OK;
    }
    if (iid == IID_ILumigraWindow)
        return queryControlWindow(*this, object);
    if (iid == IID_ILumigraPersist)
        return queryControlPersist(*this, object);
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT LumigraCtrl::GetIDsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids)
{
    return dispatchIdsOfNames(names, ids);
}

HRESULT LumigraCtrl::Invoke(DispId id, uint16_t flags, Args& args, Variant* result, ExcepInfo* exception)
{
    // The control stays alive for the call even if the call drops the last reference.
    ComPtr<LumigraCtrl> keep = ComPtr<LumigraCtrl>::share(this);
    return dispatchInvoke(id, flags, args, result, exception);
}

void LumigraCtrl::requestRepaint() { requestWindowRepaint(*this); }

void LumigraCtrl::applyStoredExtent(int32_t storedCx, int32_t storedCy)
{
    lumigra::applyStoredExtent(*this, storedCx, storedCy);
}

std::pair<double, double> LumigraCtrl::labelExtent(const LgLabel& label)
{
    QPointF extent = lumigra::labelExtent(label);
    return {extent.x(), extent.y()};
}

std::optional<double> LumigraCtrl::plotPosition(LgXyAxis& axis, double value)
{
    return xyPlotPosition(*this, axis, value, containerTransform(*this, axis));
}

bool LumigraCtrl::copyInto(LumigraCtrl& target)
{
    // Through a memory block, so that the pictures travel with the chart.
    int32_t handle = saveToMemory(*this);
    return handle != 0 && restoreFromMemory(target, handle, lgMemRestoreAndFree) != 0;
}

int16_t LumigraCtrl::loadMode() const { return moduleLoadMode(); }

void LumigraCtrl::setLoadMode(int16_t mode)
{
    if (mode != moduleLoadMode())
        setModuleLoadMode(mode);
}

} // namespace lumigra
