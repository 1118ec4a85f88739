#include "control/ControlEvents.h"

#include <cmath>
#include <vector>

#include "control/LumigraCtrl.h"
#include "kinds/Axes.h"

namespace lumigra {

using namespace platform::com;

HRESULT ControlEvents::advise(IDispatch* sink, uint32_t* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    sinks_.push_back({nextCookie_, ComPtr<IDispatch>::share(sink)});
    *cookie = nextCookie_++;
    return S_OK;
}

HRESULT ControlEvents::unadvise(uint32_t cookie)
{
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it)
        if (it->cookie == cookie) {
            sinks_.erase(it);
            return S_OK;
        }
    return E_INVALIDARG;
}

int ControlEvents::fire(LumigraCtrl& control, DispId event, Args& args)
{
    // A handler may unadvise (itself or another sink) or advise a new one
    // while it runs: call the sinks registered when the event started,
    // each kept alive for its call.
    const std::vector<Sink> sinks = control.events().sinks_;
    // The control must outlive a handler that releases the container's reference.
    ComPtr<LumigraCtrl> keep = ComPtr<LumigraCtrl>::share(&control);
    int called = 0;
    for (const Sink& s : sinks) {
        Variant ignored;
        ExcepInfo exception;
        s.sink->Invoke(event, DISPATCH_METHOD, args, &ignored, &exception);
        ++called;
    }
    return called;
}

bool ControlEvents::hasSinks(const LumigraCtrl& control) { return !control.events().empty(); }

void fireInitialSize(LumigraCtrl& control, int32_t& sizeX, int32_t& sizeY)
{
    Variant x = Variant::fromI4(sizeX);
    Variant y = Variant::fromI4(sizeY);
    Args args{Variant::byRef(&x), Variant::byRef(&y)};
    ControlEvents::fire(control, dispid::event::InitialSize, args);
    // A handler that left something other than a number keeps that size.
    sizeX = x.toI4().value_or(sizeX);
    sizeY = y.toI4().value_or(sizeY);
}

std::optional<double> fireTransform(LumigraCtrl& control, LgXyAxis& axis, double value)
{
    Variant val = Variant::fromR8(value);
    Args args{Variant::byRef(&val), Variant::fromDispatch(&axis)};
    ControlEvents::fire(control, dispid::event::Transform, args);
    const Variant& answer = val.deref();
    if (answer.isEmpty() || answer.isArray() || answer.vt() == VT_DISPATCH)
        return std::nullopt;
    std::optional<double> x = answer.toDouble();
    if (!x || !std::isfinite(*x))
        return std::nullopt;
    return x;
}

Variant fireSelectObject(LumigraCtrl& control, LgObject& object)
{
    Variant val = Variant::fromBool(true);
    Args args{Variant::byRef(&val), Variant::fromDispatch(&object)};
    ControlEvents::fire(control, dispid::event::SelectObject, args);
    return val;
}

void fireMouseEvent(LumigraCtrl& control, DispId event, int16_t button, int16_t shift, float xTwips, float yTwips)
{
    Args args{Variant::fromI2(button), Variant::fromI2(shift), Variant::fromR4(xTwips), Variant::fromR4(yTwips)};
    ControlEvents::fire(control, event, args);
}

int16_t fireKeyEvent(LumigraCtrl& control, DispId event, int16_t keyCode, int16_t shift)
{
    Variant code = Variant::fromI2(keyCode);
    Args args{Variant::byRef(&code), Variant::fromI2(shift)};
    ControlEvents::fire(control, event, args);
    return code.toI2().value_or(keyCode);
}

int16_t fireKeyPress(LumigraCtrl& control, int16_t keyAscii)
{
    Variant code = Variant::fromI2(keyAscii);
    Args args{Variant::byRef(&code)};
    ControlEvents::fire(control, dispid::event::KeyPress, args);
    return code.toI2().value_or(keyAscii);
}

void fireStockEvent(LumigraCtrl& control, DispId event)
{
    Args none;
    ControlEvents::fire(control, event, none);
}

} // namespace lumigra
