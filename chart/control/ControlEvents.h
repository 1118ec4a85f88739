#pragma once
// Firing the events of _DLumigraEvents at every sink the container has
// registered with advise(). Arguments go in call order; an argument the
// handler may change is passed as Variant::byRef to a variant of the caller.
#include <cstdint>
#include <optional>
#include <vector>

#include "model/Dispatchable.h"
#include "platform/com/Dispatch.h"

namespace lumigra {

class LgObject;
class LgXyAxis;
class LumigraCtrl;

// The control's event source: the sinks the container registered with
// advise(), in the order of registration.
class ControlEvents {
public:
    HRESULT advise(platform::com::IDispatch* sink, uint32_t* cookie);
    HRESULT unadvise(uint32_t cookie);
    bool empty() const { return sinks_.empty(); }

    // Calls the event on each sink, in the order of registration, and
    // returns how many sinks were called. A sink that fails does not stop
    // the others; a sink may unadvise itself while it runs.
    static int fire(LumigraCtrl& control, DispId event, Args& args);
    static bool hasSinks(const LumigraCtrl& control);

private:
    struct Sink {
        uint32_t cookie;
        platform::com::ComPtr<platform::com::IDispatch> sink;
    };
    std::vector<Sink> sinks_;
    uint32_t nextCookie_ = 1;
};

// InitialSize(SizeX, SizeY): sizes in twips, changed in place by the handler.
void fireInitialSize(LumigraCtrl& control, int32_t& sizeX, int32_t& sizeY);

// Transform(Val, Axis): the container replaces Val by a number. Without a
// handler the value stays as it is; an answer that is not a finite number
// leaves the value unplaceable (empty).
std::optional<double> fireTransform(LumigraCtrl& control, LgXyAxis& axis, double value);

// SelectObject(Val, Object): Val starts as True; the result is what the
// handlers left in it (a later handler sees the earlier one's answer).
platform::com::Variant fireSelectObject(LumigraCtrl& control, LgObject& object);

// MouseDown / MouseMove / MouseUp (Button, Shift, x, y in twips of the control).
void fireMouseEvent(LumigraCtrl& control, DispId event, int16_t button, int16_t shift, float xTwips, float yTwips);

// KeyDown / KeyUp (KeyCode by reference, Shift) and KeyPress (KeyAscii by
// reference): the returned code is what the handlers left.
int16_t fireKeyEvent(LumigraCtrl& control, DispId event, int16_t keyCode, int16_t shift);
int16_t fireKeyPress(LumigraCtrl& control, int16_t keyAscii);

// Click and DblClick take no arguments.
void fireStockEvent(LumigraCtrl& control, DispId event);

} // namespace lumigra
