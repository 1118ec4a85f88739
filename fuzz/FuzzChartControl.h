#pragma once
// One chart control for a whole fuzz run, created by ProgID under a message
// service that answers from a script, so that no box ever waits.
#include "lumigra/Guids.h"
#include "lumigra/Host.h"
#include "platform/UiService.h"
#include "platform/com/DispatchCall.h"

namespace fuzz {

inline platform::ScriptedUiService& quietUi()
{
    static platform::ScriptedUiService ui;
    return ui;
}

inline platform::com::IDispatch* chartControl()
{
    static platform::com::IDispatch* made = [] {
        platform::setUiService(&quietUi());
        platform::com::IDispatch* dispatch = nullptr;
        if (platform::com::failed(lumigra::createControl(lumigra::ProgID_Lumigra, &dispatch)))
            __builtin_trap();
        return dispatch;
    }();
    return made;
}

} // namespace fuzz
