#pragma once
// What the rest of the control asks of its window, without Qt widgets:
// repaints, the last drawing context, the extent stored in a chart.
#include <cstdint>

#include "platform/com/Dispatch.h"

class QWidget;

namespace lumigra {

class LumigraCtrl;

// The control's window, or null before the container asked for it.
QWidget* controlWindow(const LumigraCtrl& control);

// A repaint request of the change notification (coalesced by the caller).
void requestWindowRepaint(LumigraCtrl& control);
// Refresh: paints the window now. False without a window.
bool refreshWindow(LumigraCtrl& control);

// GetMousePos: the last mouse position in drawing millimetres, through the
// drawing context of the last paint. False before the first paint.
bool lastMousePosition(const LumigraCtrl& control, double& x, double& y);

// Size on load: the extent in pixels read from a chart (0 where none was
// stored); when it differs from the current one, InitialSize lets the
// container adjust it and the control takes the result.
void applyStoredExtent(LumigraCtrl& control, int32_t storedCx, int32_t storedCy);

// QueryInterface(IID_ILumigraWindow).
platform::com::HRESULT queryControlWindow(LumigraCtrl& control, void** object);

} // namespace lumigra
