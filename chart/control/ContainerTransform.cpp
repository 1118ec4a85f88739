#include "control/ContainerTransform.h"

#include "control/ControlEvents.h"
#include "control/LumigraCtrl.h"
#include "kinds/Axes.h"

namespace lumigra {

namespace {
// A handler that asks for a position while it transforms would start the
// event again without end: inside a handler values stay as they are.
thread_local int transformDepth = 0;
} // namespace

std::optional<double> transformByContainer(LumigraCtrl& control, LgXyAxis& axis, double value)
{
    if (transformDepth > 0)
        return value;
    return axis.plotCache_.lookup(value, [&](double v) {
        ++transformDepth;
        std::optional<double> answer;
        try {
            answer = fireTransform(control, axis, v);
        } catch (...) {
            --transformDepth;
            throw;
        }
        --transformDepth;
        return answer;
    });
}

AxisTransformHook containerTransformHook(LumigraCtrl& control)
{
    return [&control](const LgXyAxis& axis, double value) {
        // The handler receives the axis as a live object it may call.
        return transformByContainer(control, const_cast<LgXyAxis&>(axis), value);
    };
}

CustomTransform::Callback containerTransform(LumigraCtrl& control, LgXyAxis& axis)
{
    return [&control, &axis](double value) { return transformByContainer(control, axis, value); };
}

} // namespace lumigra
