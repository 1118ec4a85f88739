#include "kinds/Axes.h"
#include "kinds/DrawingQueries.h"
#include "kinds/Text.h"
#include "model/ChartOwner.h"

namespace lumigra {

using namespace platform::com;

namespace {

// A live object always has its owner (detached ones are refused before).
DrawingQueries& queriesOf(const LgObject& object) { return object.owner()->drawingQueries(); }

} // namespace

const std::vector<Member>& xyAxisDrawingMembers()
{
    namespace id = dispid::xyAxis;
    static const std::vector<Member> members{
        {"PlotPosition", id::PlotPosition, MemberKind::Property, VT_R8, true,
         [](Dispatchable& d, Args& a) {
             auto& axis = static_cast<LgXyAxis&>(d);
             const double value = argDouble(a[0].deref());
             auto position = queriesOf(axis).plotPosition(axis, value);
             // A value the axis cannot place (no ends, outside a log or
             // probability scale) has no position.
             if (!position)
                 raiseError(lgErrBadArgument);
             return Variant::fromR8(*position);
         },
         nullptr, 1},
        {"SetPlotCache", id::SetPlotCache, MemberKind::Method, VT_BOOL, false,
         [](Dispatchable& d, Args& a) {
             auto& axis = static_cast<LgXyAxis&>(d);
             return Variant::fromBool(axis.plotCache_.set(argI2(a[0].deref())));
         },
         nullptr, 1},
    };
    return members;
}

const std::vector<Member>& labelDrawingMembers()
{
    namespace id = dispid::label;
    static const std::vector<Member> members{
        {"Height", id::Height, MemberKind::Property, VT_R8, true,
         [](Dispatchable& d, Args&) {
             auto& label = static_cast<LgLabel&>(d);
             return Variant::fromR8(queriesOf(label).labelExtent(label).second);
         },
         nullptr},
        {"Width", id::Width, MemberKind::Property, VT_R8, true,
         [](Dispatchable& d, Args&) {
             auto& label = static_cast<LgLabel&>(d);
             return Variant::fromR8(queriesOf(label).labelExtent(label).first);
         },
         nullptr},
    };
    return members;
}

} // namespace lumigra
