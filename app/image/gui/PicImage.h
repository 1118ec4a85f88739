#pragma once
// The picture of the image window: the render bytes (or a stretched grey
// copy of the image) shown at the window's zoom, with the region box drawn
// over them. Mouse positions reach the window as image pixels.
#include "display/Bitmap.h"
#include "display/ScaledView.h"
#include "image/RegionBox.h"

#include <QWidget>

#include <functional>
#include <string>

namespace raylen {

class PicImage : public QWidget {
    Q_OBJECT
public:
    explicit PicImage(const ShpBox& box, QWidget* parent = nullptr);

    // Takes the picture from the render bytes (which must stay alive and
    // unchanged until the next load) and sizes the widget to it.
    std::string loadPicture(const BitmapBytes& renderFile);
    // Shows grey (alive until the next call) instead of the render bytes;
    // null returns to them.
    void showGrey(const GreyImage* grey);
    bool showsRender() const { return grey_ == nullptr; }
    void setScale(ViewScale scale);
    const ViewScale& scale() const { return scale_; }
    // The picture on screen, in screen pixels.
    int pictureWidth() const { return scale_.screenSize(imageWidth_); }
    int pictureHeight() const { return scale_.screenSize(imageHeight_); }
    int imageWidth() const { return imageWidth_; }
    int imageHeight() const { return imageHeight_; }
    // The image pixel under a position in this widget.
    QPoint imagePixel(QPointF position) const;
    // Paint events handled so far (the first picture on screen is 1).
    int paintCount() const { return paints_; }

    // Mouse events in image pixels; set by the image window.
    std::function<void(Qt::MouseButton, Qt::MouseButtons, QPoint)> onPress, onRelease;
    std::function<void(Qt::MouseButtons, QPoint)> onMove;
    // A middle-button drag: the pointer's move in screen pixels since the last call.
    std::function<void(QPoint)> onPan;
    // The wheel turned (eighths of a degree) over a position in this widget.
    std::function<void(int, QPoint)> onWheel;
    // Called before painting, so that a stale stretch is rebuilt only when seen.
    std::function<void()> beforePaint;

    static QColor boxColour();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void resizeToPicture();
    void drawBox(QPainter& painter) const;

    const ShpBox& box_;
    GreySource render_, source_;
    const GreyImage* grey_ = nullptr;
    ViewScale scale_;
    int imageWidth_ = 0, imageHeight_ = 0;
    int paints_ = 0;
    bool painting_ = false;
    bool panning_ = false;
    QPoint panFrom_;
};

} // namespace raylen
