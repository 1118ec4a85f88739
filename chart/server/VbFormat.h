#pragma once
// The format component: the built-in Format offered as an automation object
// under the ProgID "Lumigra.VbFormat", with FormatVal(value, format) and
// DateVal(text).
#include <optional>
#include <string>

#include "platform/com/Dispatch.h"

namespace lumigra {

inline constexpr platform::com::Guid CLSID_VbFormat =
    platform::com::makeGuid("{DD4CC7F0-3918-11D0-8BF9-000000000001}");
inline constexpr char ProgID_VbFormat[] = "Lumigra.VbFormat";

namespace dispid::vbFormat {
inline constexpr platform::com::DispId FormatVal = 1, DateVal = 2;
}

// A new format object with one reference.
platform::com::IDispatch* createVbFormat();
platform::com::IClassFactory* vbFormatFactory();

// "2026/12/07 10:30:00", "2026-12-07", "10:30" and the like as an OLE date;
// nothing for a text that is not a date.
std::optional<double> parseDateText(const std::string& text);

} // namespace lumigra
