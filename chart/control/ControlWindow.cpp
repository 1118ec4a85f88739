// The window interface of the control, handed out as a small object of its
// own that shares the control's identity.
#include <QApplication>

#include <atomic>

#include "control/ControlWidget.h"
#include "control/ControlWindow.h"
#include "control/LumigraCtrl.h"
#include "lumigra/Window.h"
#include "model/RefCounted.h"

namespace lumigra {

using namespace platform::com;

namespace {

class WindowInterface final : public ILumigraWindow, public RefCounted<WindowInterface> {
public:
    explicit WindowInterface(LumigraCtrl& control) : keep_(ComPtr<LumigraCtrl>::share(&control)), control_(control) {}

    HRESULT QueryInterface(const Guid& iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_ILumigraWindow) {
            AddRef();
            *object = static_cast<ILumigraWindow*>(this);
            return S_OK;
        }
        return control_.QueryInterface(iid, object);
    }
    uint32_t AddRef() override { return addRef(); }
    uint32_t Release() override { return release(); }

    QWidget* window(QWidget* parent) override
    {
        if (QWidget* existing = controlWindow(control_))
            return existing;
        // Widgets need a widget application.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return nullptr;
        return new ControlWidget(control_, parent);
    }

private:
    // The interface keeps its control alive.
    ComPtr<LumigraCtrl> keep_;
    LumigraCtrl& control_;
};

} // namespace

HRESULT queryControlWindow(LumigraCtrl& control, void** object)
{
    if (!object)
        return E_POINTER;
    *object = static_cast<ILumigraWindow*>(new WindowInterface(control));
    return S_OK;
}

} // namespace lumigra
