#pragma once
// What turning a resource into a device tool needs to know of the device.
#include "draw/Millimetres.h"

namespace lumigra {

struct DeviceUnits {
    double perMmX = 96 / kMillimetresPerInch; // device units per drawing millimetre, magnification included
    double perMmY = 96 / kMillimetresPerInch;
    bool monochrome = false;
    bool rasterOps = true; // the device can combine colours with the target
    double minPenWidth = 1; // device units of the thinnest pen
};

} // namespace lumigra
