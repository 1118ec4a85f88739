#pragma once
// Colours of the data (0x00BBGGRR, or a system colour with the top bit set)
// as device colours.
#include <QColor>

#include <cstdint>

namespace lumigra {

// A system colour (0x80000000 | index) becomes its usual desktop value, so
// that a drawing comes out the same on every machine.
QColor deviceColour(int32_t colour);

// The Monochrome rule: white when red, green and blue all exceed 127, else black.
int32_t monochromeColour(int32_t colour);

// Device colour, read through Monochrome when it is on.
QColor deviceColour(int32_t colour, bool monochrome);

} // namespace lumigra
