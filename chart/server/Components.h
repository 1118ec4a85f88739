#pragma once
// The components the module binds on first need: the format component
// registered as "Lumigra.VbFormat" and the add-in named under [HelperDLL]
// of lumigra.ini.
#include <string>

#include "platform/com/Dispatch.h"

namespace lumigra {

// FormatVal(value, format) of the format component into text: false when
// the component is absent (its message shown); an empty text when the
// call itself failed.
bool formatValue(const platform::com::Variant& value, const std::string& format, std::string& text);
// DateVal(text); 0 when the call fails or the component is absent.
double dateValue(const std::string& text);

// Asks the add-in whether an object may be changed: the entry member with
// the control and two chart objects. True when there is no add-in or the
// call fails.
bool consultAddIn(platform::com::IDispatch* control, platform::com::IDispatch* first,
                  platform::com::IDispatch* second);

// Module shut-down: releases the format component when LoadMode has bit 2
// and the add-in when it has bit 1.
void releaseComponents(int16_t loadMode);

} // namespace lumigra
