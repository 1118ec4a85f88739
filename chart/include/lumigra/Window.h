#pragma once
// The control's window: a QWidget the container embeds. The host asks the
// control for it with QueryInterface(IID_ILumigraWindow).
#include "platform/com/Dispatch.h"

class QWidget;

namespace lumigra {

inline constexpr platform::com::Guid IID_ILumigraWindow =
    platform::com::makeGuid("{DD4CC726-3918-11D0-8BF9-000000000001}");

struct ILumigraWindow : platform::com::IUnknown {
    // Creates the window on the first call, as a child of parent (or a
    // top-level window); later calls return the same window. The window
    // keeps the control alive until it is destroyed.
    virtual QWidget* window(QWidget* parent) = 0;

protected:
    ~ILumigraWindow() = default;
};

} // namespace lumigra
