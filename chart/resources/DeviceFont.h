#pragma once
// Font holders of the data as device fonts: height (and width) from
// millimetres to device units, style flags, text colour and background box.
// Face names of the data keep their names; substitutions map them to
// installed faces.
#include <QColor>
#include <QFont>

#include "resources/DeviceUnits.h"

namespace lumigra {

class LgFontHolder;

struct DeviceFont {
    bool draws = false; // a missing or disabled font draws no text
    QFont font;
    QColor colour;
    bool box = false;   // fill the text's background box
    QColor boxColour;
};

DeviceFont makeDeviceFont(const LgFontHolder* holder, const DeviceUnits& units);

// Face names of the data mapped to installed faces; installed once per process.
void installFontSubstitutions();

} // namespace lumigra
