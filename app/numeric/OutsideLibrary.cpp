#include "numeric/OutsideLibrary.h"

#include "platform/BasicError.h"
#include "platform/com/Registry.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

namespace raylen {

namespace {

constexpr const char* libraryName = "libraylen.so";

struct Binding {
    std::mutex lock;
    std::string overridePath;
    bool overridden = false;
    void* handle = nullptr;
    void* swap2 = nullptr;
    void* swap4 = nullptr;
    void* swap4Lng = nullptr;
    void* gaussfit = nullptr;
};

Binding& binding()
{
    static Binding b;
    return b;
}

// Directory of the module holding this code: the program or the library
// beside which libraylen.so is installed.
std::string ownDirectory()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ownDirectory), &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::string path = info.dli_fname;
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void* openLibrary(Binding& b)
{
    if (b.handle != nullptr)
        return b.handle;
    if (b.overridden) {
        if (!b.overridePath.empty())
            b.handle = dlopen(b.overridePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    } else {
        std::string beside = ownDirectory() + libraryName;
        b.handle = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
        // An installed program keeps it with the other libraries of the system.
        if (b.handle == nullptr)
            b.handle = dlopen(platform::com::unregisteredLibraryPath(libraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (b.handle == nullptr)
            b.handle = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    }
    if (b.handle == nullptr)
        platform::raise(platform::errDllLoad);
    return b.handle;
}

template <class Function>
Function entry(void* Binding::*slot, const char* name)
{
    Binding& b = binding();
    std::lock_guard<std::mutex> guard(b.lock);
    if (b.*slot == nullptr) {
        void* handle = openLibrary(b);
        void* symbol = dlsym(handle, name);
        if (symbol == nullptr)
            platform::raise(platform::errDllEntryPoint);
        b.*slot = symbol;
    }
    return reinterpret_cast<Function>(b.*slot);
}

} // namespace

void VB_ffswap2(int16_t* first, int32_t count)
{
    entry<void (*)(int16_t*, int32_t)>(&Binding::swap2, "VB_ffswap2")(first, count);
}

void VB_ffswap4(float* first, int32_t count)
{
    entry<void (*)(float*, int32_t)>(&Binding::swap4, "VB_ffswap4")(first, count);
}

void VB_ffswap4Lng(int32_t* first, int32_t count)
{
    entry<void (*)(int32_t*, int32_t)>(&Binding::swap4Lng, "VB_ffswap4Lng")(first, count);
}

int32_t VB_iGaussfit(const float* x, const float* y, int32_t n, double initB, double scaleB, double initC,
                     double scaleC, double& A, double& B, double& C, double& D)
{
    using Fit = int32_t (*)(const float*, const float*, int32_t, double, double, double, double, double*, double*,
                            double*, double*);
    return entry<Fit>(&Binding::gaussfit, "VB_iGaussfit")(x, y, n, initB, scaleB, initC, scaleC, &A, &B, &C, &D);
}

void setOutsideLibraryPath(const char* path)
{
    Binding& b = binding();
    std::lock_guard<std::mutex> guard(b.lock);
    if (b.handle != nullptr)
        dlclose(b.handle);
    b.handle = nullptr;
    b.swap2 = b.swap4 = b.swap4Lng = b.gaussfit = nullptr;
    b.overridden = path != nullptr;
    b.overridePath = path != nullptr ? path : "";
}

} // namespace raylen
