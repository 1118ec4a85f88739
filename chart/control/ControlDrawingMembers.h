#pragma once
// Members that reach the drawing: the control's (CreatePicture,
// CopyToClipboard, GetMousePos, Refresh), the XY axis's (PlotPosition,
// SetPlotCache) and the label's (Height, Width). Each kind splices its part
// into its member table.
#include <vector>

#include "model/Dispatchable.h"

namespace lumigra {

const std::vector<Member>& controlDrawingMembers();
const std::vector<Member>& xyAxisDrawingMembers();
const std::vector<Member>& labelDrawingMembers();

} // namespace lumigra
