#pragma once
// The control's window: paints the chart with the window's resolution,
// keeps the extent of the control up to date, remembers the drawing
// context of its last paint and the last mouse position for GetMousePos,
// and passes mouse and key messages on to the container.
#include <QPoint>
#include <QString>
#include <QTransform>
#include <QWidget>

#include <optional>

#include "platform/com/Dispatch.h"

namespace lumigra {

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
    void updateToolHint(QPoint global);

    // The window keeps its control alive.
    platform::com::ComPtr<LumigraCtrl> control_;
    std::optional<QTransform> lastToDevice_; // drawing millimetres to pixels
    QPoint lastMouse_;                        // pixels
    QString toolHint_;                        // the tip's text
};

} // namespace lumigra
