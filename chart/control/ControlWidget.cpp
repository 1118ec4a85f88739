#include "control/ControlWidget.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_map>

#include "control/ContainerTransform.h"
#include "control/ControlDragDrop.h"
#include "control/ControlEvents.h"
#include "control/ControlMouse.h"
#include "control/ControlWindow.h"
#include "control/LumigraCtrl.h"
#include "paint/PaintPass.h"

namespace lumigra {

namespace {

// Each control has at most one window; the window removes itself here
// before it lets go of the control. Never destroyed, so that a window the
// container still holds at exit finds it.
std::unordered_map<const LumigraCtrl*, QPointer<ControlWidget>>& windows()
{
    static auto* map = new std::unordered_map<const LumigraCtrl*, QPointer<ControlWidget>>;
    return *map;
}

ControlWidget* windowOf(const LumigraCtrl& control)
{
    auto it = windows().find(&control);
    return it == windows().end() ? nullptr : it->second.data();
}

} // namespace

ControlWidget::ControlWidget(LumigraCtrl& control, QWidget* parent)
    : QWidget(parent), control_(platform::com::ComPtr<LumigraCtrl>::share(&control)),
      mouse_(std::make_unique<ControlMouse>(*this))
{
    windows()[control_.get()] = this;
    setAttribute(Qt::WA_OpaquePaintEvent); // the pass fills every pixel
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true); // the drop mode decides what is taken
    syncExtent();
}

ControlWidget::~ControlWidget()
{
    windows().erase(control_.get());
}

void ControlWidget::syncExtent()
{
    control_->setExtent(width(), height(), logicalDpiX(), logicalDpiY());
}

PaintFrame ControlWidget::paintFrame() const
{
    return PaintFrame{QRectF(rect()), double(logicalDpiX()), double(logicalDpiY()), 1};
}

void ControlWidget::paintEvent(QPaintEvent*)
{
    // Changes made from here on ask for the next paint.
    control_->paintDone();
    syncExtent();
    QPainter painter(this);
    const PaintFrame frame = paintFrame();
    {
        DrawContext context(*control_.get(), painter, frame);
        lastToDevice_ = context.toDevice;
    }
    paintChart(*control_.get(), painter, frame, containerTransformHook(*control_.get()));
}

void ControlWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    syncExtent();
}

std::optional<QPointF> ControlWidget::mouseInMillimetres() const
{
    if (!lastToDevice_ || !lastToDevice_->isInvertible())
        return std::nullopt;
    return lastToDevice_->inverted().map(QPointF(lastMouse_));
}

// The pointer position is remembered on every mouse message.
void ControlWidget::mouseMoveEvent(QMouseEvent* event)
{
    lastMouse_ = event->position().toPoint();
    mouse_->move(*event);
}

void ControlWidget::mousePressEvent(QMouseEvent* event)
{
    lastMouse_ = event->position().toPoint();
    mouse_->press(*event);
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* event)
{
    lastMouse_ = event->position().toPoint();
    mouse_->release(*event);
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    lastMouse_ = event->position().toPoint();
    mouse_->doubleClick(*event);
}

void ControlWidget::keyPressEvent(QKeyEvent* event) { mouse_->keyPress(*event); }

void ControlWidget::keyReleaseEvent(QKeyEvent* event) { mouse_->keyRelease(*event); }

// The pointer's position in whole drawing millimetres follows it; the tip
// changes only when the rounded position does.
void ControlWidget::updateToolHint(QPoint global)
{
    QString text = QStringLiteral("X:     Y:     ");
    if (auto mm = mouseInMillimetres())
        text = QStringLiteral("X:%1,Y:%2").arg(std::lround(mm->x())).arg(std::lround(mm->y()));
    if (text == toolHint_ && QToolTip::isVisible())
        return;
    toolHint_ = text;
    QToolTip::showText(global, text, this);
}

// The functions the rest of the control calls.

QWidget* controlWindow(const LumigraCtrl& control) { return windowOf(control); }

void requestWindowRepaint(LumigraCtrl& control)
{
    if (ControlWidget* w = windowOf(control))
        w->update();
}

bool refreshWindow(LumigraCtrl& control)
{
    ControlWidget* w = windowOf(control);
    if (!w)
        return false;
    w->repaint();
    return true;
}

bool lastMousePosition(const LumigraCtrl& control, double& x, double& y)
{
    ControlWidget* w = windowOf(control);
    if (!w)
        return false;
    auto mm = w->mouseInMillimetres();
    if (!mm)
        return false;
    x = mm->x();
    y = mm->y();
    return true;
}

void applyStoredExtent(LumigraCtrl& control, int32_t storedCx, int32_t storedCy)
{
    if (storedCx == control.cx_ && storedCy == control.cy_)
        return;
    const double dpiX = control.dpiX_, dpiY = control.dpiY_;
    const int32_t takenCx = storedCx != 0 ? storedCx : control.cx_;
    const int32_t takenCy = storedCy != 0 ? storedCy : control.cy_;
    // A damaged text may hold any number: conversions stay within int32,
    // and sizes beyond any screen are not taken.
    auto toInt = [](double v) {
        return static_cast<int32_t>(std::clamp(v, double(INT32_MIN), double(INT32_MAX)));
    };
    auto toTwips = [&](int32_t px, double dpi) { return toInt(px / dpi * 1440.0); };
    auto toPixels = [&](int32_t twips, double dpi) { return toInt(twips * dpi / 1440.0); };
    int32_t sx = toTwips(takenCx, dpiX), sy = toTwips(takenCy, dpiY);
    fireInitialSize(control, sx, sy);
    const int32_t px = toPixels(sx, dpiX), py = toPixels(sy, dpiY);
    constexpr int32_t kLargest = 32767;
    const int32_t cx = px > 0 && px <= kLargest ? px : control.cx_;
    const int32_t cy = py > 0 && py <= kLargest ? py : control.cy_;
    if (ControlWidget* w = windowOf(control))
        w->resize(cx, cy);
    control.setExtent(cx, cy, dpiX, dpiY);
}

void ControlWidget::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void ControlWidget::dragMoveEvent(QDragMoveEvent* event)
{
    if (acceptsChartDrop(*control_.get(), event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ControlWidget::dropEvent(QDropEvent* event)
{
    if (event->source() != this && dropChart(*control_.get(), event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

} // namespace lumigra
