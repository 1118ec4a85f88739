#include "control/ControlMouse.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include "control/ControlDragDrop.h"
#include "control/ControlEvents.h"
#include "control/ControlInput.h"
#include "control/ControlMenus.h"
#include "control/ControlWidget.h"
#include "control/LumigraCtrl.h"
#include "control/PropertySheetLink.h"
#include "hit/HitTest.h"
#include "lumigra/Constants.h"
#include "model/Collection.h"
#include "paint/DrawContext.h"

namespace lumigra {

namespace {

// Ctrl is held: set by a Ctrl press, cleared by any release, for the whole module.
bool ctrlHeld = false;

// The window's drawing context, made for measuring without painting.
template <class F>
auto withContext(const ControlWidget& window, F&& f)
{
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    DrawContext ctx(window.control(), painter, window.paintFrame());
    return f(ctx);
}

} // namespace

ControlMouse::ControlMouse(ControlWidget& window) : window_(window) {}

ControlMouse::~ControlMouse() = default; // the band is the window's child

QRect ControlMouse::outline() const { return band_ && band_->isVisible() ? band_->geometry() : QRect(); }

QPointF ControlMouse::millimetres(QPointF pixels) const
{
    return withContext(window_, [&](DrawContext& ctx) { return ctx.surfaceOf(pixels); });
}

std::vector<LgObject*> ControlMouse::hitTest(QPointF pixels) const
{
    return withContext(window_, [&](DrawContext& ctx) {
        return hitObjects(window_.control(), ctx.surfaceOf(pixels), ctx.units);
    });
}

void ControlMouse::press(const QMouseEvent& event)
{
    LumigraCtrl& control = window_.control();
    if (event.button() == Qt::LeftButton)
        leftPress(event);
    else if (event.button() == Qt::RightButton)
        rightPress(event.position());
    forwardMouse(control, dispid::event::MouseDown, event.button(), event.modifiers(), event.position(),
                 window_.logicalDpiX(), window_.logicalDpiY());
}

void ControlMouse::leftPress(const QMouseEvent& event)
{
    leftDown_ = true;
    const QPoint at = event.position().toPoint();
    if (moving_) {
        finishMove(at);
        return;
    }
    LumigraCtrl& control = window_.control();
    const std::vector<LgObject*> found = hitTest(event.position());
    if (found.empty()) {
        // The drag starts once the pointer leaves the press by the drag
        // distance, so that a plain click stays a click.
        if (control.oleDragMode_ == 1)
            dragFrom_ = at;
        return;
    }
    // The record keeps its objects alive while the container and the menus run.
    std::vector<Ref> record;
    for (LgObject* o : found)
        record.push_back(Ref::share(o));
    if (control.mouseAction_ & lgFireSelectObject) {
        for (const Ref& o : record) {
            const Variant val = fireSelectObject(control, *o.get());
            if (val.deref().vt() != platform::com::VT_BOOL || !val.deref().toBool().value_or(false))
                break;
        }
    }
    if (!(control.mouseAction_ & lgDropMenu))
        return;
    LgObject* target = nullptr;
    const QPoint global = window_.mapToGlobal(at);
    switch (objectMenu(&window_, global, found, target)) {
    case ObjectAction::Edit: openPropertySheet(control, target, &window_); break;
    case ObjectAction::Move:
        movePress_ = at;
        startMove(*target);
        break;
    case ObjectAction::Delete:
        if (target->parentCollection() && confirmAndDelete(*target))
            forget(*target);
        break;
    case ObjectAction::None: break;
    }
}

void ControlMouse::startMove(LgObject& target)
{
    const QRectF box = withContext(window_, [&](DrawContext& ctx) {
        return ctx.toDevice.mapRect(shapeOf(target, ctx.units).bounds());
    });
    moved_ = Ref::share(&target);
    moving_ = true;
    moveOutline_ = box.toAlignedRect();
    if (!band_)
        band_ = new QRubberBand(QRubberBand::Rectangle, &window_);
    // The band is a widget of its own: the chart is not repainted while it moves.
    band_->setGeometry(moveOutline_);
    band_->show();
    window_.setCursor(Qt::SizeAllCursor);
}

void ControlMouse::finishMove(QPoint at)
{
    const QPoint offset = at - movePress_;
    const Ref target = moved_;
    cancelMove();
    const DeviceUnits units = withContext(window_, [](DrawContext& ctx) { return ctx.units; });
    // Pixels down are millimetres down: the surface's y grows upward.
    const QPointF mm(offset.x() / units.perMmX, -offset.y() / units.perMmY);
    if (target && target->parentCollection() && moveObject(*target.get(), mm.x(), mm.y())) {
        lastMoved_ = target;
        lastOffset_ = mm;
    }
    window_.update();
}

void ControlMouse::cancelMove()
{
    moving_ = false;
    moved_.reset();
    if (band_)
        band_->hide();
    window_.unsetCursor();
}

void ControlMouse::rightPress(QPointF pixels)
{
    if (moving_) {
        cancelMove();
        return;
    }
    LumigraCtrl& control = window_.control();
    if (!(control.mouseAction_ & lgDropMenu))
        return;
    editMenu(control, &window_, window_.mapToGlobal(pixels.toPoint()), millimetres(pixels));
}

void ControlMouse::move(const QMouseEvent& event)
{
    if (leftDown_ && !(event.buttons() & Qt::LeftButton))
        release(QMouseEvent(QEvent::MouseButtonRelease, event.position(), event.globalPosition(), Qt::LeftButton,
                            event.buttons(), event.modifiers()));
    if (dragFrom_ && (event.buttons() & Qt::LeftButton) &&
        (event.position().toPoint() - *dragFrom_).manhattanLength() >= QApplication::startDragDistance()) {
        dragFrom_.reset();
        startChartDrag(window_.control());
    } else if (moving_ && band_)
        band_->setGeometry(moveOutline_.translated(event.position().toPoint() - movePress_));
    else if (window_.control().toolHint_)
        window_.updateToolHint(event.globalPosition().toPoint());
    forwardMouse(window_.control(), dispid::event::MouseMove, event.buttons(), event.modifiers(), event.position(),
                 window_.logicalDpiX(), window_.logicalDpiY());
}

void ControlMouse::release(const QMouseEvent& event)
{
    if (event.button() == Qt::LeftButton) {
        leftDown_ = false;
        dragFrom_.reset();
    }
    forwardMouse(window_.control(), dispid::event::MouseUp, event.button(), event.modifiers(), event.position(),
                 window_.logicalDpiX(), window_.logicalDpiY());
}

void ControlMouse::doubleClick(const QMouseEvent&)
{
    LumigraCtrl& control = window_.control();
    if (control.mouseAction_ & lgShowPropertySheet)
        openPropertySheet(control, nullptr, &window_);
    forwardDoubleClick(control);
}

void ControlMouse::keyPress(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Control)
        ctrlHeld = true;
    else if (ctrlHeld && event.key() == Qt::Key_Z)
        undoLastMove();
    forwardKey(window_.control(), event, true);
}

void ControlMouse::keyRelease(const QKeyEvent& event)
{
    ctrlHeld = false;
    if (!event.isAutoRepeat())
        forwardKey(window_.control(), event, false);
}

void ControlMouse::undoLastMove()
{
    const Ref target = std::move(lastMoved_);
    lastMoved_.reset();
    if (!target || !target->parentCollection())
        return;
    moveObject(*target.get(), -lastOffset_.x(), -lastOffset_.y());
    window_.update();
}

void ControlMouse::forget(const LgObject& removed)
{
    if (lastMoved_.get() == &removed)
        lastMoved_.reset();
}

} // namespace lumigra
