#include "platform/com/Registry.h"

#include <dlfcn.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QString>

#include <cstdlib>
#include <map>
#include <mutex>

namespace platform::com {

namespace {

using GetClassObjectFn = HRESULT (*)(const Guid*, const Guid*, void**);
using CanUnloadNowFn = HRESULT (*)();

std::mutex libraryLock;
std::map<std::string, void*> loadedLibraries;

QString q(const std::string& s) { return QString::fromStdString(s); }

QString classKey(const Guid& clsid) { return QStringLiteral("CLSID/") + q(toString(clsid)); }
QString progIdKey(const std::string& progId) { return QStringLiteral("ProgID/") + q(progId); }

bool writable(QSettings& settings)
{
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace

std::string registryFile()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (data && *data)
        base = data;
    else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : ".") + "/.local/share";
    }
    return base + "/raylen/components.ini";
}

std::string programDirectory()
{
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    path[n] = 0;
    std::string p(path);
    auto slash = p.rfind('/');
    return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

std::string moduleFileOf(const void* address)
{
    Dl_info info{};
    if (dladdr(address, &info) && info.dli_fname)
        return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath().toStdString();
    return {};
}

std::string unregisteredLibraryPath(const std::string& libraryFile)
{
    std::string beside = programDirectory() + "/" + libraryFile;
    if (QFileInfo::exists(q(beside)))
        return beside;
    // Installed programs keep their libraries apart, all in the folder of this one.
    QFileInfo platform(q(moduleFileOf(reinterpret_cast<const void*>(&registryFile))));
    return (platform.absolutePath() + "/" + q(libraryFile)).toStdString();
}

HRESULT registerTypeLibrary(const std::string& name, const Guid& libid, int major, int minor,
                            const std::string& libraryPath)
{
    QSettings s(q(registryFile()), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("TypeLib/") + q(name));
    s.setValue(QStringLiteral("LIBID"), q(toString(libid)));
    s.setValue(QStringLiteral("Version"), QStringLiteral("%1.%2").arg(major).arg(minor));
    s.setValue(QStringLiteral("Library"), q(libraryPath));
    s.endGroup();
    return writable(s) ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT unregisterTypeLibrary(const std::string& name)
{
    QSettings s(q(registryFile()), QSettings::IniFormat);
    s.remove(QStringLiteral("TypeLib/") + q(name));
    return writable(s) ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT registerClass(const Guid& clsid, const std::string& progId, const std::string& description,
                      const std::string& libraryPath, const std::string& typeLibrary)
{
    QSettings s(q(registryFile()), QSettings::IniFormat);
    s.beginGroup(classKey(clsid));
    s.setValue(QStringLiteral("Description"), q(description));
    s.setValue(QStringLiteral("ProgID"), q(progId));
    s.setValue(QStringLiteral("Library"), q(libraryPath));
    s.setValue(QStringLiteral("TypeLib"), q(typeLibrary));
    s.endGroup();
    s.setValue(progIdKey(progId) + QStringLiteral("/CLSID"), q(toString(clsid)));
    return writable(s) ? S_OK : SELFREG_E_CLASS;
}

HRESULT unregisterClass(const Guid& clsid, const std::string& progId)
{
    QSettings s(q(registryFile()), QSettings::IniFormat);
    s.remove(classKey(clsid));
    s.remove(progIdKey(progId));
    return writable(s) ? S_OK : SELFREG_E_CLASS;
}

std::optional<Guid> clsidFromProgId(const std::string& progId)
{
    QSettings s(q(registryFile()), QSettings::IniFormat);
    QString text = s.value(progIdKey(progId) + QStringLiteral("/CLSID")).toString();
    if (text.isEmpty())
        return std::nullopt;
    return parseGuid(text.toStdString());
}

std::optional<std::string> libraryOfClass(const Guid& clsid)
{
    QSettings s(q(registryFile()), QSettings::IniFormat);
    QString path = s.value(classKey(clsid) + QStringLiteral("/Library")).toString();
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

HRESULT createInstance(const std::string& text, const Guid& iid, void** object,
                       const std::vector<RegistrationFreeClass>& registrationFree)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    std::optional<Guid> clsid;
    if (!text.empty() && text.front() == '{')
        clsid = parseGuid(text);
    else {
        clsid = clsidFromProgId(text);
        if (!clsid)
            for (auto& c : registrationFree)
                if (c.progId == text)
                    clsid = c.clsid;
    }
    if (!clsid)
        return CO_E_CLASSSTRING;

    std::string library;
    if (auto registered = libraryOfClass(*clsid); registered && QFileInfo::exists(q(*registered)))
        library = *registered;
    else
        for (auto& c : registrationFree)
            if (c.clsid == *clsid)
                library = unregisteredLibraryPath(c.libraryFile);
    if (library.empty())
        return REGDB_E_CLASSNOTREG;

    void* handle = nullptr;
    {
        std::lock_guard guard(libraryLock);
        auto found = loadedLibraries.find(library);
        if (found != loadedLibraries.end())
            handle = found->second;
        else {
            handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (!handle)
                return CO_E_DLLNOTFOUND;
            loadedLibraries[library] = handle;
        }
    }
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    if (!getClassObject)
        return CO_E_ERRORINDLL;
    IClassFactory* factory = nullptr;
    HRESULT status = getClassObject(&*clsid, &IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (failed(status) || !factory)
        return failed(status) ? status : CLASS_E_CLASSNOTAVAILABLE;
    status = factory->CreateInstance(nullptr, iid, object);
    factory->Release();
    return status;
}

void freeUnusedLibraries()
{
    std::lock_guard guard(libraryLock);
    for (auto it = loadedLibraries.begin(); it != loadedLibraries.end();) {
        auto canUnload = reinterpret_cast<CanUnloadNowFn>(dlsym(it->second, "DllCanUnloadNow"));
        if (canUnload && canUnload() == S_OK) {
            dlclose(it->second);
            it = loadedLibraries.erase(it);
        } else
            ++it;
    }
}

} // namespace platform::com
