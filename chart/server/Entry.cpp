// The four exported entry points of the component library and the class
// factory of the control.
#include "control/LumigraCtrl.h"
#include "lumigra/Guids.h"
#include "model/Object.h"
#include "platform/com/Registry.h"
#include "module/Module.h"
#include "server/ModuleFactory.h"
#include "server/VbFormat.h"

using namespace platform::com;
using lumigra::LumigraCtrl;

namespace {

class ControlFactory : public lumigra::ModuleFactory {
protected:
    HRESULT make(IUnknown** made) override
    {
        if (!lumigra::startModule())
            return E_FAIL;
        LumigraCtrl* control = new (std::nothrow) LumigraCtrl;
        if (!control)
            return E_OUTOFMEMORY;
        *made = static_cast<IDispatch*>(control);
        return S_OK;
    }
};

ControlFactory factory;

std::string libraryPath() { return moduleFileOf(reinterpret_cast<const void*>(&lumigra::startModule)); }

} // namespace

extern "C" {

__attribute__((visibility("default"))) HRESULT DllGetClassObject(const Guid* clsid, const Guid* iid, void** object)
{
    if (!clsid || !iid || !object)
        return E_POINTER;
    *object = nullptr;
    if (*clsid == lumigra::CLSID_VbFormat)
        return lumigra::vbFormatFactory()->QueryInterface(*iid, object);
    if (!(*clsid == lumigra::CLSID_Lumigra))
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(*iid, object);
}

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow()
{
    bool idle = lumigra::serverLocks == 0 && lumigra::liveControls == 0 && lumigra::liveObjectCount == 0;
    return idle ? S_OK : S_FALSE;
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer()
{
    std::string path = libraryPath();
    if (failed(registerTypeLibrary(lumigra::TypeLibraryName, lumigra::LIBID_LumigraLib,
                                   lumigra::ExchangeVersionMajor, lumigra::ExchangeVersionMinor, path)))
        return SELFREG_E_TYPELIB;
    if (failed(registerClass(lumigra::CLSID_Lumigra, lumigra::ProgID_Lumigra, "Lumigra Control", path,
                             lumigra::TypeLibraryName)))
        return SELFREG_E_CLASS;
    // The built-in format component the tick and data labels bind to.
    if (failed(registerClass(lumigra::CLSID_VbFormat, lumigra::ProgID_VbFormat, "Lumigra Format", path,
                             lumigra::TypeLibraryName)))
        return SELFREG_E_CLASS;
    return S_OK;
}

__attribute__((visibility("default"))) HRESULT DllUnregisterServer()
{
    HRESULT typeLib = unregisterTypeLibrary(lumigra::TypeLibraryName);
    HRESULT cls = unregisterClass(lumigra::CLSID_Lumigra, lumigra::ProgID_Lumigra);
    HRESULT format = unregisterClass(lumigra::CLSID_VbFormat, lumigra::ProgID_VbFormat);
    if (failed(format))
        cls = format;
    if (failed(typeLib))
        return SELFREG_E_TYPELIB;
    return failed(cls) ? SELFREG_E_CLASS : S_OK;
}

} // extern "C"
