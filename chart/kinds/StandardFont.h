#pragma once
// The standard font object a font holder hands out as its Font property:
// Name, Size (points), Bold, Italic, Underline, Strikethrough, Weight and
// Charset under their standard dispatch identifiers.
#include <string>

#include "model/Dispatchable.h"
#include "platform/com/Dispatch.h"

namespace lumigra {

namespace dispid::stdFont {
inline constexpr DispId Name = 0, Size = 2, Bold = 3, Italic = 4, Underline = 5, Strikethrough = 6, Weight = 7,
    Charset = 8;
}

struct StandardFontFields {
    std::string name;
    int64_t sizeCy = 0; // points x 10000, as the currency type holds them
    bool bold = false, italic = false, underline = false, strikethrough = false;
    int16_t weight = 400;
    int16_t charset = 1;
};

// A new standard font object; empty when there is no memory for it.
platform::com::ComPtr<platform::com::IDispatch> createStandardFont(const StandardFontFields& fields);
// Reads the fields of any object answering the standard font members;
// false when one of them cannot be read.
bool readStandardFont(platform::com::IDispatch* font, StandardFontFields& fields);

// Size in millimetres to points in the currency type, and back.
int64_t millimetresToPointsCy(double mm);
double pointsCyToMillimetres(int64_t cy);

// The font holder's Font member.
Member fontObjectMember();

} // namespace lumigra
