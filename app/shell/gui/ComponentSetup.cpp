#include "shell/gui/ComponentSetup.h"

#include "lumigra/Guids.h"
#include "platform/com/Registry.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <QString>

namespace raylen {

namespace {

using RegisterServerFn = platform::com::HRESULT (*)();

bool fileExists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

} // namespace

std::string registerInstalledComponent()
{
    if (fileExists(platform::com::programDirectory() + "/" + lumigra::LibraryFile))
        return {};
    if (auto registered = platform::com::libraryOfClass(lumigra::CLSID_Lumigra); registered && fileExists(*registered))
        return {};
    const std::string library = platform::com::unregisteredLibraryPath(lumigra::LibraryFile);
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        return std::string("chart component not found: ") + dlerror();
    std::string failure;
    auto registerServer = reinterpret_cast<RegisterServerFn>(dlsym(handle, "DllRegisterServer"));
    if (registerServer == nullptr)
        failure = "chart component has no DllRegisterServer";
    else if (platform::com::failed(registerServer()))
        failure = "chart component could not be registered in " + platform::com::registryFile();
    // Left loaded: the chart is created from it next, and a Qt library is
    // not safely unloaded while the application runs.
    return failure;
}

} // namespace raylen
