#pragma once
// The per-user component registry and object creation. Servers record their
// class, ProgID and library in $XDG_DATA_HOME/raylen/components.ini; hosts
// resolve a CLSID or ProgID there and, for a class that is not registered,
// fall back to the library of that name beside the program or, for an
// installed program, beside the platform library.
#include <optional>
#include <string>
#include <vector>

#include "platform/com/Dispatch.h"

namespace platform::com {

std::string registryFile();
// Directory of the running program (without a trailing separator).
std::string programDirectory();
// Directory of the shared object that holds the given address.
std::string moduleFileOf(const void* address);

// Where a class that is not registered is loaded from: the library beside
// the program, else the one beside this platform library (installed layout).
std::string unregisteredLibraryPath(const std::string& libraryFile);

HRESULT registerTypeLibrary(const std::string& name, const Guid& libid, int major, int minor,
                            const std::string& libraryPath);
HRESULT unregisterTypeLibrary(const std::string& name);
HRESULT registerClass(const Guid& clsid, const std::string& progId, const std::string& description,
                      const std::string& libraryPath, const std::string& typeLibrary);
HRESULT unregisterClass(const Guid& clsid, const std::string& progId);

std::optional<Guid> clsidFromProgId(const std::string& progId);
std::optional<std::string> libraryOfClass(const Guid& clsid);

// A class the host may create without registration.
struct RegistrationFreeClass {
    Guid clsid;
    std::string progId;
    std::string libraryFile; // file name, looked up beside the program
};

// CoCreateInstance: text is "{CLSID}" or a ProgID.
HRESULT createInstance(const std::string& clsidOrProgId, const Guid& iid, void** object,
                       const std::vector<RegistrationFreeClass>& registrationFree = {});
// Unloads the component libraries whose DllCanUnloadNow says so.
void freeUnusedLibraries();

} // namespace platform::com
