#pragma once
// A 16-byte class or interface identifier, written "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::com {

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};

    friend bool operator==(const Guid&, const Guid&) = default;
};

// Reads "{...}" (braces optional, hex digits in either case).
std::optional<Guid> parseGuid(std::string_view text);
// Upper-case text with braces.
std::string toString(const Guid& guid);

// Compile-time identifiers for the fixed identities of the components.
consteval uint8_t hexDigit(char c)
{
    return static_cast<uint8_t>(c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c - 'A' + 10);
}
consteval uint32_t hexField(const char* t, int at, int digits)
{
    uint32_t v = 0;
    for (int i = 0; i < digits; ++i)
        v = v * 16 + hexDigit(t[at + i]);
    return v;
}
consteval Guid makeGuid(const char (&t)[39])
{
    Guid g;
    g.data1 = hexField(t, 1, 8);
    g.data2 = static_cast<uint16_t>(hexField(t, 10, 4));
    g.data3 = static_cast<uint16_t>(hexField(t, 15, 4));
    g.data4[0] = static_cast<uint8_t>(hexField(t, 20, 2));
    g.data4[1] = static_cast<uint8_t>(hexField(t, 22, 2));
    for (int i = 0; i < 6; ++i)
        g.data4[2 + i] = static_cast<uint8_t>(hexField(t, 25 + 2 * i, 2));
    return g;
}

} // namespace platform::com
