#include "platform/com/Guid.h"

#include <cstdio>

namespace platform::com {

std::optional<Guid> parseGuid(std::string_view text)
{
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        return std::nullopt;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    bool ok = true;
    auto hex = [&](size_t at, int digits) {
        uint32_t v = 0;
        for (int i = 0; i < digits; ++i) {
            int d = digit(text[at + i]);
            if (d < 0)
                ok = false;
            v = v * 16 + static_cast<uint32_t>(d < 0 ? 0 : d);
        }
        return v;
    };
    Guid g;
    g.data1 = hex(0, 8);
    g.data2 = static_cast<uint16_t>(hex(9, 4));
    g.data3 = static_cast<uint16_t>(hex(14, 4));
    g.data4[0] = static_cast<uint8_t>(hex(19, 2));
    g.data4[1] = static_cast<uint8_t>(hex(21, 2));
    for (int i = 0; i < 6; ++i)
        g.data4[2 + i] = static_cast<uint8_t>(hex(24 + 2 * i, 2));
    if (!ok)
        return std::nullopt;
    return g;
}

std::string toString(const Guid& g)
{
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.data1, g.data2, g.data3,
                  g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
    return text;
}

} // namespace platform::com
