#include "module/Module.h"

#include <fenv.h>

#include <QSettings>
#include <QString>

#include <array>
#include <cstdio>
#include <list>

#include "kinds/Math.h"
#include "platform/UiService.h"
#include "platform/com/Registry.h"
#include "module/ClipboardFormats.h"

namespace lumigra {

std::atomic<int> serverLocks{0};
std::atomic<int> liveControls{0};

namespace {

struct ModuleState {
    std::recursive_mutex lock;
    bool started = false;
    bool failed = false;
    std::array<const ChartDocument*, MaxControls> slotTable{};
    struct Live {
        ChartDocument* chart;
        int32_t id;
    };
    std::list<Live> live; // newest first
    int32_t lastId = 0;
    std::string directory;
    LgMath* math = nullptr;
};

ModuleState& state()
{
    // Never destroyed: controls may outlive static destruction order.
    static auto* s = new ModuleState;
    return *s;
}

} // namespace

std::recursive_mutex& moduleLock() { return state().lock; }

bool startModule()
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    if (s.started)
        return !s.failed;
    s.started = true;
    // Floating-point faults give infinities and NaNs instead of traps.
    fedisableexcept(FE_ALL_EXCEPT);
    s.math = new (std::nothrow) LgMath;
    if (!s.math) {
        platform::MsgBox("CLumigraMath を初期化できません。", platform::vbSystemModal, "Lumigra");
        s.failed = true;
        return false;
    }
    std::string file = platform::com::moduleFileOf(reinterpret_cast<const void*>(&startModule));
    auto slash = file.rfind('/');
    s.directory = slash == std::string::npos ? std::string(".") : file.substr(0, slash);
    registerClipboardFormat(PrivateFormatName);
    return true;
}

int allocateSlot(const ChartDocument* control)
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    for (int i = 0; i < MaxControls; ++i)
        if (s.slotTable[i] == control)
            return i;
    for (int i = 0; i < MaxControls; ++i)
        if (!s.slotTable[i]) {
            s.slotTable[i] = control;
            return i;
        }
    char text[160];
    std::snprintf(text, sizeof text, "ERROR(Lumigra):作成できるコントロールの最大数(%d)を超えました。", MaxControls);
    platform::MsgBox(text, platform::vbSystemModal, "Lumigra");
    return -1;
}

void releaseSlot(const ChartDocument* control)
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    for (auto& slot : s.slotTable)
        if (slot == control)
            slot = nullptr;
}

void linkControl(ChartDocument* control, int32_t controlId)
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    s.live.push_front({control, controlId});
}

void unlinkControl(const ChartDocument* control)
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    s.live.remove_if([control](const ModuleState::Live& l) { return l.chart == control; });
}

int32_t nextControlId()
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    return ++s.lastId;
}

ChartDocument* findControl(int32_t controlId)
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    for (const auto& l : s.live)
        if (l.id == controlId)
            return l.chart;
    return nullptr;
}

std::string moduleDirectory()
{
    startModule();
    return state().directory;
}

std::string iniFile() { return moduleDirectory() + "/lumigra.ini"; }

std::string helpFile() { return moduleDirectory() + "/lumigra.hlp"; }

LgMath* mathObject()
{
    startModule();
    return state().math;
}

int16_t moduleLoadMode()
{
    QSettings ini(QString::fromStdString(iniFile()), QSettings::IniFormat);
    bool ok = false;
    int value = ini.value(QStringLiteral("Lumigra/LoadMode")).toString().toInt(&ok);
    return ok ? static_cast<int16_t>(value) : 0;
}

void setModuleLoadMode(int16_t mode)
{
    QSettings ini(QString::fromStdString(iniFile()), QSettings::IniFormat);
    ini.setValue(QStringLiteral("Lumigra/LoadMode"), QString::number(mode));
    ini.sync();
}

} // namespace lumigra
