#pragma once
// The control's Dialog member: the property sheet of the whole chart.
#include "model/Dispatchable.h"

namespace lumigra {

Member controlDialogMember();

} // namespace lumigra
