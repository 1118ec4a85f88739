#include "server/Components.h"

#include <QSettings>
#include <QString>

#include <cstdlib>
#include <fstream>
#include <mutex>

#include "lumigra/Guids.h"
#include "platform/UiService.h"
#include "platform/com/Registry.h"
#include "module/Module.h"
#include "server/VbFormat.h"

namespace lumigra {

using namespace platform::com;

namespace {

struct Bound {
    ComPtr<IDispatch> object;
    DispId first = DISPID_UNKNOWN;
    DispId second = DISPID_UNKNOWN;

    void release() { *this = Bound{}; }
};

Bound& formatComponent()
{
    static auto* b = new Bound;
    return *b;
}

Bound& addIn()
{
    static auto* b = new Bound;
    return *b;
}

// lumigra.ini as found while Qt was running: module shut-down reads it
// without Qt, whose own state may be gone by then.
std::string& boundIniFile()
{
    static auto* path = new std::string;
    return *path;
}

int16_t loadModeWithoutQt(const std::string& path)
{
    std::ifstream in(path);
    std::string line, section;
    int16_t mode = 0;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        auto eq = line.find('=');
        if (section == "Lumigra" && eq != std::string::npos && line.substr(0, eq) == "LoadMode")
            mode = static_cast<int16_t>(std::strtol(line.c_str() + eq + 1, nullptr, 10));
    }
    return mode;
}

// What the system says about a class that cannot be found.
const char* systemText(HRESULT status)
{
    switch (status) {
    case CO_E_CLASSSTRING:
        return "無効なクラス文字列です";
    case REGDB_E_CLASSNOTREG:
        return "クラスが登録されていません";
    default:
        return nullptr;
    }
}

DispId memberId(IDispatch* object, const std::string& name)
{
    std::vector<DispId> ids;
    if (failed(object->GetIDsOfNames({name}, ids)) || ids.empty())
        return DISPID_UNKNOWN;
    return ids[0];
}

bool bindFormat()
{
    Bound& f = formatComponent();
    if (f.object)
        return true;
    IDispatch* object = nullptr;
    static const std::vector<RegistrationFreeClass> beside{{CLSID_VbFormat, ProgID_VbFormat, LibraryFile}};
    HRESULT status = createInstance(ProgID_VbFormat, IID_IDispatch, reinterpret_cast<void**>(&object), beside);
    if (const char* text = systemText(status))
        platform::MsgBox(text, platform::vbCritical | platform::vbSystemModal, "Lumigra");
    if (succeeded(status) && object) {
        f.object = ComPtr<IDispatch>::attach(object);
        f.first = memberId(object, "FormatVal");
        f.second = memberId(object, "DateVal");
        if (f.first != DISPID_UNKNOWN && f.second != DISPID_UNKNOWN) {
            boundIniFile() = iniFile();
            return true;
        }
    }
    // Absent until the next need tries again.
    f.release();
    platform::MsgBox("Lumigra:エラー、Format.dll をロードできません。", platform::vbCritical | platform::vbSystemModal, "Lumigra");
    return false;
}

bool bindAddIn()
{
    Bound& a = addIn();
    if (a.object)
        return true;
    std::string file = iniFile();
    QSettings ini(QString::fromStdString(file), QSettings::IniFormat);
    std::string progId = ini.value(QStringLiteral("HelperDLL/ProgID")).toString().toStdString();
    std::string entry = ini.value(QStringLiteral("HelperDLL/Entry")).toString().toStdString();
    if (progId.empty())
        return false;
    IDispatch* object = nullptr;
    if (failed(createInstance(progId, IID_IDispatch, reinterpret_cast<void**>(&object))) || !object)
        return false;
    a.object = ComPtr<IDispatch>::attach(object);
    a.first = memberId(object, entry);
    if (a.first == DISPID_UNKNOWN) {
        a.release();
        return false;
    }
    boundIniFile() = file;
    return true;
}

} // namespace

bool formatValue(const Variant& value, const std::string& format, std::string& text)
{
    std::lock_guard guard(moduleLock());
    text.clear();
    if (!bindFormat())
        return false;
    Bound& f = formatComponent();
    std::vector<Variant> args{value, Variant::fromString(format)};
    Variant result;
    ExcepInfo e;
    if (succeeded(f.object->Invoke(f.first, DISPATCH_METHOD, args, &result, &e)))
        text = result.toText().value_or("");
    return true;
}

double dateValue(const std::string& text)
{
    std::lock_guard guard(moduleLock());
    if (!bindFormat())
        return 0;
    Bound& f = formatComponent();
    std::vector<Variant> args{Variant::fromString(text)};
    Variant result;
    ExcepInfo e;
    if (failed(f.object->Invoke(f.second, DISPATCH_METHOD, args, &result, &e)))
        return 0;
    return result.toDouble().value_or(0);
}

bool consultAddIn(IDispatch* control, IDispatch* first, IDispatch* second)
{
    std::lock_guard guard(moduleLock());
    if (!bindAddIn())
        return true;
    Bound& a = addIn();
    std::vector<Variant> args{Variant::fromDispatch(control), Variant::fromDispatch(first),
                              Variant::fromDispatch(second)};
    Variant result;
    ExcepInfo e;
    if (failed(a.object->Invoke(a.first, DISPATCH_METHOD, args, &result, &e)))
        return true;
    return result.toBool().value_or(true);
}

void releaseComponents(int16_t loadMode)
{
    std::lock_guard guard(moduleLock());
    if (loadMode & 2)
        formatComponent().release();
    if (loadMode & 1)
        addIn().release();
}

} // namespace lumigra

namespace {

// Module shut-down: LoadMode decides which bound components are let go.
__attribute__((destructor)) void shutDownComponents()
{
    using namespace lumigra;
    if (!formatComponent().object && !addIn().object)
        return;
    releaseComponents(loadModeWithoutQt(boundIniFile()));
}

} // namespace
