#pragma once
// The picture of the image window: the render bytes shown at one screen
// pixel per image pixel, with the region box drawn over them.
#include "display/Bitmap.h"
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
    int pictureWidth() const { return width_; }
    int pictureHeight() const { return height_; }
    // Paint events handled so far (the first picture on screen is 1).
    int paintCount() const { return paints_; }

    // Mouse events in picture pixels; set by the image window.
    std::function<void(Qt::MouseButton, Qt::MouseButtons, QPoint)> onPress, onRelease;
    std::function<void(Qt::MouseButtons, QPoint)> onMove;

    static QColor boxColour();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const ShpBox& box_;
    const BitmapBytes* bytes_ = nullptr;
    int width_ = 0, height_ = 0, rowBytes_ = 0;
    int paints_ = 0;
};

} // namespace raylen
