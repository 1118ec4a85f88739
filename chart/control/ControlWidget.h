#pragma once
// The control's window: paints the chart with the window's resolution,
// keeps the extent of the control up to date, remembers the drawing
// context of its last paint and the last mouse position for GetMousePos,
// and hands mouse and key messages to its mouse rules.
#include <QPoint>
#include <QString>
#include <QTransform>
#include <QWidget>

#include <memory>
#include <optional>

#include "paint/DrawContext.h"
#include "platform/com/Dispatch.h"

namespace lumigra {

class ControlMouse;
class LumigraCtrl;

class ControlWidget : public QWidget {
    Q_OBJECT
public:
    // Holds a reference to the control for as long as the window lives.
    ControlWidget(LumigraCtrl& control, QWidget* parent);
    ~ControlWidget() override;

    LumigraCtrl& control() const { return *control_.get(); }
    // The last mouse position in drawing millimetres; empty before the first paint.
    std::optional<QPointF> mouseInMillimetres() const;
    // Takes the window's extent and resolution into the control.
    void syncExtent();
    // The device the chart is painted on: the whole window at its resolution.
    PaintFrame paintFrame() const;
    // The mouse and key rules of the window.
    ControlMouse& mouse() const { return *mouse_; }
    // The tip that follows the pointer (ToolHint).
    void updateToolHint(QPoint global);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The window keeps its control alive.
    platform::com::ComPtr<LumigraCtrl> control_;
    std::optional<QTransform> lastToDevice_; // drawing millimetres to pixels
    QPoint lastMouse_;                        // pixels
    QString toolHint_;                        // the tip's text
    std::unique_ptr<ControlMouse> mouse_;
};

} // namespace lumigra
