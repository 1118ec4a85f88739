#pragma once
// The lists the property sheet offers for enumerated members: each value
// with the caption the sheet shows for it.
#include <cstdint>
#include <string_view>
#include <vector>

namespace lumigra {

struct EnumChoice {
    int32_t value;
    const char* caption;
};

// The choices of member name on objects of kind objectId (the control's own
// members under kControlKind); empty when the member is no enumeration.
const std::vector<EnumChoice>& enumChoices(int32_t objectId, std::string_view member);

// Kind under which the control's own members are looked up.
inline constexpr int32_t kControlKind = -1;

// Members holding a colour (a button with the colour chooser).
bool isColourMember(std::string_view member);

} // namespace lumigra
