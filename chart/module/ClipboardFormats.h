#pragma once
// Registered clipboard formats: a name gets a number from 0xC000 up, the
// same number for the same name for the life of the process, and a MIME
// type under which the data travels on the desktop clipboard.
#include <cstdint>
#include <optional>
#include <string>

namespace lumigra {

inline constexpr char PrivateFormatName[] = "Lumigra Private Format";
inline constexpr char WorksPrivateFormatName[] = "Lumigra Works Private Format";

// 0 for an empty name.
uint32_t registerClipboardFormat(const std::string& name);
// "Lumigra Works Private Format" → "application/x-lumigra-works-private-format".
std::optional<std::string> clipboardFormatMime(uint32_t format);

} // namespace lumigra
