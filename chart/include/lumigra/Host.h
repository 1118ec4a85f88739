#pragma once
// Creating the control from a host: by CLSID text or ProgID through the
// per-user component registry, or unregistered from liblumigra.so beside
// the program.
#include <string>

#include "lumigra/Guids.h"
#include "platform/com/Registry.h"

namespace lumigra {

inline platform::com::HRESULT createControl(const std::string& clsidOrProgId, platform::com::IDispatch** control)
{
    static const std::vector<platform::com::RegistrationFreeClass> beside{
        {CLSID_Lumigra, ProgID_Lumigra, LibraryFile}};
    return platform::com::createInstance(clsidOrProgId, platform::com::IID_IDispatch,
                                         reinterpret_cast<void**>(control), beside);
}

} // namespace lumigra
