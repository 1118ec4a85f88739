#include "model/TickCount.h"

#include <time.h>

#include <cstdint>

namespace lumigra {

unsigned long moduleTickCount()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec / 1000000);
    return static_cast<unsigned long>(static_cast<uint32_t>(ms));
}

} // namespace lumigra
