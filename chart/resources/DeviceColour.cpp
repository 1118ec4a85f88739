#include "resources/DeviceColour.h"

namespace lumigra {

namespace {

// The classic desktop scheme; indices are those of the system colour table.
uint32_t systemColour(uint32_t index)
{
    switch (index) {
    case 5:  // window
    case 14: // highlight text
        return 0xFFFFFF;
    case 6:  // window frame
    case 7:  // menu text
    case 8:  // window text
    case 9:  // caption text
    case 18: // button text
        return 0x000000;
    case 13: // highlight
        return 0xD77800;
    case 16: // button shadow
        return 0xA0A0A0;
    case 17: // grey text
        return 0x6D6D6D;
    case 20: // button highlight
        return 0xFFFFFF;
    default: // button face and the rest
        return 0xF0F0F0;
    }
}

} // namespace

QColor deviceColour(int32_t colour)
{
    auto c = static_cast<uint32_t>(colour);
    if (c & 0x80000000u)
        c = systemColour(c & 0xFFu);
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

int32_t monochromeColour(int32_t colour)
{
    QColor c = deviceColour(colour);
    return c.red() > 127 && c.green() > 127 && c.blue() > 127 ? 0xFFFFFF : 0;
}

QColor deviceColour(int32_t colour, bool monochrome)
{
    return deviceColour(monochrome ? monochromeColour(colour) : colour);
}

} // namespace lumigra
