#pragma once
// Members of _DLumigra that move the chart through files, memory blocks and
// drags, the
// clipboard format, the window handle and the about box.
#include <vector>

#include "model/Dispatchable.h"

namespace lumigra {

class LumigraCtrl;

std::vector<Member> controlStorageMembers();

// SaveToMemory: the handle of a new block holding the chart as a compound
// file, 0 on failure.
int32_t saveToMemory(LumigraCtrl& control);
// RestoreFromMemory with How 92, 93 or 94; 0 when the block is unknown, is
// no compound file (then it is kept whatever How says) or did not restore.
int32_t restoreFromMemory(LumigraCtrl& control, int32_t handle, int16_t how);

} // namespace lumigra
