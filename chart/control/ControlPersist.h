#pragma once
// The persisted-property exchange of the control, handed out as a separate
// interface object that keeps the control alive.
#include "platform/com/Dispatch.h"

namespace lumigra {

class LumigraCtrl;

platform::com::HRESULT queryControlPersist(LumigraCtrl& control, void** object);

} // namespace lumigra
