#pragma once
// Mouse and key messages of the control's window handed to the container
// as the stock events, in the container's terms: buttons and shift state as
// Basic numbers them, positions in twips, keys as virtual-key codes.
#include <QPointF>
#include <Qt>

#include <cstdint>

#include "model/Dispatchable.h"

class QKeyEvent;

namespace lumigra {

class LumigraCtrl;

// 1 left, 2 right, 4 middle (or-ed).
int16_t basicButtons(Qt::MouseButtons buttons);
// 1 Shift, 2 Ctrl, 4 Alt (or-ed).
int16_t basicShift(Qt::KeyboardModifiers modifiers);
// The virtual-key code of a Qt key; 0 for a key without one.
int16_t virtualKeyCode(int qtKey);

// MouseDown / MouseMove / MouseUp when MouseAction has lgFireMouseEvent.
void forwardMouse(LumigraCtrl& control, DispId event, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                  QPointF pixels, double dpiX, double dpiY);
// DblClick under the same condition.
void forwardDoubleClick(LumigraCtrl& control);
// KeyDown / KeyUp when KeyboardAction has lgFireKeyboardEvent; a press with
// a character also goes out as KeyPress.
void forwardKey(LumigraCtrl& control, const QKeyEvent& event, bool press);

} // namespace lumigra
