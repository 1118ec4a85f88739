#include "image/gui/PicImage.h"

#include "platform/BasicError.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace raylen {

namespace {

// Basic's invalid-picture error, as loading a damaged bitmap raises it.
std::string invalidPicture()
{
    return platform::trapMessage("sfInitForm", 481, "ピクチャが不正です。");
}

GreySource greySource(const GreyImage& grey)
{
    GreySource source;
    source.origin = grey.data();
    source.rowStep = grey.width();
    source.pixelStep = 1;
    source.width = grey.width();
    source.height = grey.height();
    return source;
}

int screenPixel(double position) { return static_cast<int>(std::floor(position)); }

} // namespace

PicImage::PicImage(const ShpBox& box, QWidget* parent) : QWidget(parent), box_(box)
{
    setObjectName("picImage");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

QColor PicImage::boxColour() { return QColor(255, 0, 0); }

std::string PicImage::loadPicture(const BitmapBytes& renderFile)
{
    const GreySource render = bitmapSource(renderFile.data(), renderFile.size());
    if (render.origin == nullptr)
        return invalidPicture();
    render_ = render;
    imageWidth_ = render.width;
    imageHeight_ = render.height;
    if (grey_ == nullptr)
        source_ = render_;
    resizeToPicture();
    update();
    return {};
}

void PicImage::showGrey(const GreyImage* grey)
{
    // A grey copy of another size than the render is not this picture.
    if (grey != nullptr && (grey->width() != imageWidth_ || grey->height() != imageHeight_))
        grey = nullptr;
    grey_ = grey;
    source_ = grey != nullptr ? greySource(*grey) : render_;
    // Asked for while painting, the paint under way already shows it.
    if (!painting_)
        update();
}

void PicImage::setScale(ViewScale scale)
{
    scale_ = scale;
    resizeToPicture();
    update();
}

void PicImage::resizeToPicture() { setFixedSize(std::max(pictureWidth(), 1), std::max(pictureHeight(), 1)); }

QPoint PicImage::imagePixel(QPointF position) const
{
    return QPoint(scale_.imageOf(screenPixel(position.x())), scale_.imageOf(screenPixel(position.y())));
}

void PicImage::paintEvent(QPaintEvent* event)
{
    ++paints_;
    if (beforePaint) {
        painting_ = true;
        beforePaint();
        painting_ = false;
    }
    QPainter painter(this);
    const QRect picture(0, 0, pictureWidth(), pictureHeight());
    const QRect exposed = event->rect() & picture;
    if (source_.origin == nullptr || exposed.isEmpty()) {
        painter.fillRect(event->rect(), palette().color(QPalette::Dark));
        return;
    }
    // Only the exposed screen pixels are sampled, whatever the zoom.
    QImage visible(exposed.size(), QImage::Format_Grayscale8);
    sampleView(source_, scale_, exposed.left(), exposed.top(), exposed.width(), exposed.height(), visible.bits(),
               visible.bytesPerLine());
    painter.drawImage(exposed.topLeft(), visible);
    for (const QRect& outside : QRegion(event->rect()).subtracted(exposed))
        painter.fillRect(outside, palette().color(QPalette::Dark));
    drawBox(painter);
}

void PicImage::drawBox(QPainter& painter) const
{
    if (!box_.visible || box_.width <= 0 || box_.height <= 0)
        return;
    // The box's image pixels on screen; at least one screen pixel, so that
    // a small box stays visible when the picture is reduced.
    const int left = scale_.screenOf(box_.left), top = scale_.screenOf(box_.top);
    const int width = std::max(scale_.screenOf(box_.left + box_.width) - left, 1);
    const int height = std::max(scale_.screenOf(box_.top + box_.height) - top, 1);
    painter.setPen(QPen(boxColour(), 1));
    painter.setBrush(Qt::NoBrush);
    // The outline lies inside the box: border pixels from left to
    // left + width − 1.
    for (int i = 0; i < box_.borderWidth; ++i) {
        const int w = width - 1 - 2 * i, h = height - 1 - 2 * i;
        if (w < 0 || h < 0)
            break;
        painter.drawRect(QRect(left + i, top + i, w, h));
    }
}

void PicImage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        panning_ = true;
        panFrom_ = event->globalPosition().toPoint();
        return;
    }
    if (onPress)
        onPress(event->button(), event->buttons(), imagePixel(event->position()));
}

void PicImage::mouseMoveEvent(QMouseEvent* event)
{
    if (panning_ && (event->buttons() & Qt::MiddleButton)) {
        // Global positions: the picture itself moves under the pointer.
        const QPoint at = event->globalPosition().toPoint();
        if (onPan)
            onPan(at - panFrom_);
        panFrom_ = at;
    }
    if (onMove)
        onMove(event->buttons(), imagePixel(event->position()));
}

void PicImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        panning_ = false;
        return;
    }
    if (onRelease)
        onRelease(event->button(), event->buttons(), imagePixel(event->position()));
}

void PicImage::wheelEvent(QWheelEvent* event)
{
    if (!onWheel) {
        event->ignore();
        return;
    }
    onWheel(event->angleDelta().y(), event->position().toPoint());
}

} // namespace raylen
