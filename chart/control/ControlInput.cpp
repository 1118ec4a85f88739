#include "control/ControlInput.h"

#include <QKeyEvent>

#include "control/ControlEvents.h"
#include "control/LumigraCtrl.h"
#include "lumigra/Constants.h"

namespace lumigra {

int16_t basicButtons(Qt::MouseButtons buttons)
{
    int16_t b = 0;
    if (buttons & Qt::LeftButton)
        b |= 1;
    if (buttons & Qt::RightButton)
        b |= 2;
    if (buttons & Qt::MiddleButton)
        b |= 4;
    return b;
}

int16_t basicShift(Qt::KeyboardModifiers modifiers)
{
    int16_t s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= 1;
    if (modifiers & Qt::ControlModifier)
        s |= 2;
    if (modifiers & Qt::AltModifier)
        s |= 4;
    return s;
}

int16_t virtualKeyCode(int key)
{
    // Letters and digits have their capital ASCII codes in both systems.
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<int16_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<int16_t>(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    default: return 0;
    }
}

void forwardMouse(LumigraCtrl& control, DispId event, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                  QPointF pixels, double dpiX, double dpiY)
{
    if (!(control.mouseAction_ & lgFireMouseEvent))
        return;
    const auto twips = [](double px, double dpi) { return static_cast<float>(px * 1440.0 / (dpi > 0 ? dpi : 96)); };
    fireMouseEvent(control, event, basicButtons(buttons), basicShift(modifiers), twips(pixels.x(), dpiX),
                   twips(pixels.y(), dpiY));
}

void forwardDoubleClick(LumigraCtrl& control)
{
    if (control.mouseAction_ & lgFireMouseEvent)
        fireStockEvent(control, dispid::event::DblClick);
}

void forwardKey(LumigraCtrl& control, const QKeyEvent& event, bool press)
{
    if (control.keyboardAction_ & lgFireKeyboardEvent) {
        const int16_t code = virtualKeyCode(event.key());
        if (code != 0)
            fireKeyEvent(control, press ? dispid::event::KeyDown : dispid::event::KeyUp, code,
                         basicShift(event.modifiers()));
    }
    // KeyPress carries the character typed, as its code.
    const QString text = event.text();
    if (press && text.size() == 1 && text[0].unicode() < 0x8000 && text[0].unicode() != 0)
        fireKeyPress(control, static_cast<int16_t>(text[0].unicode()));
}

} // namespace lumigra
