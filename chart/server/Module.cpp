#include "server/Module.h"

#include <fenv.h>
#include <time.h>

#include <QSettings>
#include <QString>

#include <array>
#include <cstdio>
#include <list>

#include "control/LumigraCtrl.h"
#include "kinds/Math.h"
#include "platform/UiService.h"
#include "platform/com/Registry.h"
#include "server/ClipboardFormats.h"

namespace lumigra {

std::atomic<int> serverLocks{0};
std::atomic<int> liveControls{0};

namespace {

struct ModuleState {
    std::recursive_mutex lock;
    bool started = false;
    bool failed = false;
    std::array<LumigraCtrl*, MaxControls> slotTable{};
    std::list<LumigraCtrl*> live; // newest first
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
        platform::MsgBox("CLumigraMath を初期化できません。", 4096, "Lumigra");
        s.failed = true;
        return false;
    }
    std::string file = platform::com::moduleFileOf(reinterpret_cast<const void*>(&startModule));
    auto slash = file.rfind('/');
    s.directory = slash == std::string::npos ? std::string(".") : file.substr(0, slash);
    registerClipboardFormat(PrivateFormatName);
    return true;
}

int allocateSlot(LumigraCtrl* control)
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
    platform::MsgBox(text, 4096, "Lumigra");
    return -1;
}

void releaseSlot(LumigraCtrl* control)
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    for (auto& slot : s.slotTable)
        if (slot == control)
            slot = nullptr;
}

void linkControl(LumigraCtrl* control)
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    s.live.push_front(control);
}

void unlinkControl(LumigraCtrl* control)
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    s.live.remove(control);
}

int32_t nextControlId()
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    return ++s.lastId;
}

LumigraCtrl* findControl(int32_t controlId)
{
    ModuleState& s = state();
    std::lock_guard guard(s.lock);
    for (LumigraCtrl* c : s.live)
        if (c->controlId() == controlId)
            return c;
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

unsigned long moduleTickCount()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec / 1000000);
    return static_cast<unsigned long>(static_cast<uint32_t>(ms));
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
