#pragma once
// Members of a kind whose answer only the drawing can give: the size of a
// label as drawn and the position of a value on an axis. The document's
// owner answers them; the kinds reach them through ChartOwner.
#include <optional>
#include <utility>
#include <vector>

#include "model/Dispatchable.h"

namespace lumigra {

class LgLabel;
class LgXyAxis;

class DrawingQueries {
public:
    // Width and height of the label's text box in millimetres.
    virtual std::pair<double, double> labelExtent(const LgLabel& label) = 0;
    // Where value lies on the axis; empty when the axis cannot place it.
    virtual std::optional<double> plotPosition(LgXyAxis& axis, double value) = 0;

protected:
    ~DrawingQueries() = default;
};

// The XY axis's PlotPosition and SetPlotCache, the label's Height and Width.
const std::vector<Member>& xyAxisDrawingMembers();
const std::vector<Member>& labelDrawingMembers();

} // namespace lumigra
