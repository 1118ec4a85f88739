#pragma once
// The control's members that reach the drawing: CreatePicture,
// CopyToClipboard, GetMousePos and Refresh.
#include <vector>

#include "model/Dispatchable.h"

namespace lumigra {

const std::vector<Member>& controlDrawingMembers();

} // namespace lumigra
