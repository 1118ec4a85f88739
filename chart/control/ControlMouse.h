#pragma once
// What the mouse and the keys do on the control's window: the hit record of
// a left press (SelectObject, the object menu), moving an object with a
// rubber-band outline and undoing the last move with Ctrl+Z, the edit menu
// of the right button and the double click; each message then goes to the
// container as its stock event.
#include <QPoint>
#include <QPointF>
#include <QRect>

#include <optional>
#include <vector>

#include "platform/com/Dispatch.h"

class QKeyEvent;
class QMouseEvent;
class QRubberBand;

namespace lumigra {

class ControlWidget;
class LgObject;

class ControlMouse {
public:
    explicit ControlMouse(ControlWidget& window);
    ~ControlMouse();
    ControlMouse(const ControlMouse&) = delete;
    ControlMouse& operator=(const ControlMouse&) = delete;

    void press(const QMouseEvent& event);
    void move(const QMouseEvent& event);
    void release(const QMouseEvent& event);
    void doubleClick(const QMouseEvent& event);
    void keyPress(const QKeyEvent& event);
    void keyRelease(const QKeyEvent& event);

    // An object follows the pointer until the next left press.
    bool moving() const { return moving_; }
    // The rubber band's place in the window's pixels; empty when not moving.
    QRect outline() const;

private:
    void leftPress(const QMouseEvent& event);
    void rightPress(QPointF pixels);
    void finishMove(QPoint at);
    void startMove(LgObject& target);
    void cancelMove();
    void undoLastMove();
    void forget(const LgObject& removed);
    // The point in drawing millimetres and the hit objects under it.
    QPointF millimetres(QPointF pixels) const;
    std::vector<LgObject*> hitTest(QPointF pixels) const;

    using Ref = platform::com::ComPtr<LgObject>;
    ControlWidget& window_;
    QRubberBand* band_ = nullptr; // a child of the window
    bool leftDown_ = false;
    // A left press on an empty spot that may become a drag of the chart.
    std::optional<QPoint> dragFrom_;
    // The hit record while a move is pending: the object and the press that started it.
    bool moving_ = false;
    Ref moved_;
    QPoint movePress_;
    QRect moveOutline_; // the object's box in pixels at that press
    // One level of undo.
    Ref lastMoved_;
    QPointF lastOffset_; // millimetres
};

} // namespace lumigra
