#pragma once
// Module-wide state shared by every control of the process: the 200-slot
// table, the live-control list, the module directory and the INI file.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace lumigra {

class ChartDocument;
class LgMath;

inline constexpr int MaxControls = 200;

// Runs module start-up once; false when it failed (its message was shown).
bool startModule();
std::recursive_mutex& moduleLock();

// First free slot (or the one already held), -1 when all 200 are taken
// (after the limit message).
int allocateSlot(const ChartDocument* control);
void releaseSlot(const ChartDocument* control);
void linkControl(ChartDocument* control, int32_t controlId);
void unlinkControl(const ChartDocument* control);
// The live control with this identity, or nullptr.
ChartDocument* findControl(int32_t controlId);
int32_t nextControlId();

std::string moduleDirectory();
std::string iniFile();
std::string helpFile();
LgMath* mathObject();

// Lock count of the class factory and live objects, for DllCanUnloadNow.
extern std::atomic<int> serverLocks;
extern std::atomic<int> liveControls;

} // namespace lumigra

namespace lumigra {
// LoadMode kept under [Lumigra] in the INI file beside the library.
int16_t moduleLoadMode();
void setModuleLoadMode(int16_t mode);
} // namespace lumigra
