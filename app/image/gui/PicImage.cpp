#include "image/gui/PicImage.h"

#include "platform/BasicError.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <cstring>

namespace raylen {

namespace {

int32_t get32(const uint8_t* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

QPoint pixelOf(const QPointF& position)
{
    return QPoint(static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y())));
}

// Basic's invalid-picture error, as loading a damaged bitmap raises it.
std::string invalidPicture()
{
    return platform::trapMessage("sfInitForm", 481, "ピクチャが不正です。");
}

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
    // The 24-bit bottom-up bitmap that the rendering writes.
    if (renderFile.size() < static_cast<size_t>(bitmapHeaderBytes) || renderFile[0] != 'B' || renderFile[1] != 'M')
        return invalidPicture();
    const int32_t width = get32(renderFile.data() + 18), height = get32(renderFile.data() + 22);
    const int32_t rowBytes = bitmapRowBytes(width);
    if (width <= 0 || height <= 0 ||
        renderFile.size() < static_cast<size_t>(bitmapHeaderBytes) + static_cast<size_t>(rowBytes) * height)
        return invalidPicture();
    bytes_ = &renderFile;
    width_ = width;
    height_ = height;
    rowBytes_ = rowBytes;
    setFixedSize(width, height);
    update();
    return {};
}

void PicImage::paintEvent(QPaintEvent* event)
{
    ++paints_;
    QPainter painter(this);
    const QRect picture(0, 0, width_, height_);
    const QRect exposed = event->rect() & picture;
    const size_t needed = static_cast<size_t>(bitmapHeaderBytes) + static_cast<size_t>(rowBytes_) * height_;
    if (bytes_ == nullptr || exposed.isEmpty() || bytes_->size() < needed) {
        painter.fillRect(event->rect(), palette().color(QPalette::Dark));
        return;
    }
    // The stored rows run bottom-up. The exposed rows are one contiguous run
    // of them; only that band is wrapped (no copy) and only its exposed part
    // turned the right way up, so a large image is never copied whole.
    const uint8_t* pixels = bytes_->data() + bitmapHeaderBytes;
    const int lowestStored = height_ - 1 - exposed.bottom();
    const QImage band(pixels + static_cast<size_t>(rowBytes_) * lowestStored, width_, exposed.height(), rowBytes_,
                      QImage::Format_BGR888);
    const QImage visible = band.copy(exposed.left(), 0, exposed.width(), exposed.height()).mirrored(false, true);
    painter.drawImage(exposed.topLeft(), visible);
    for (const QRect& outside : QRegion(event->rect()).subtracted(exposed))
        painter.fillRect(outside, palette().color(QPalette::Dark));

    if (box_.visible && box_.width > 0 && box_.height > 0) {
        painter.setPen(QPen(boxColour(), 1));
        painter.setBrush(Qt::NoBrush);
        // The outline lies inside the box: border pixels from left to
        // left + width − 1.
        for (int i = 0; i < box_.borderWidth; ++i) {
            const int w = box_.width - 1 - 2 * i, h = box_.height - 1 - 2 * i;
            if (w < 0 || h < 0)
                break;
            painter.drawRect(QRect(box_.left + i, box_.top + i, w, h));
        }
    }
}

void PicImage::mousePressEvent(QMouseEvent* event)
{
    if (onPress)
        onPress(event->button(), event->buttons(), pixelOf(event->position()));
}

void PicImage::mouseMoveEvent(QMouseEvent* event)
{
    if (onMove)
        onMove(event->buttons(), pixelOf(event->position()));
}

void PicImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (onRelease)
        onRelease(event->button(), event->buttons(), pixelOf(event->position()));
}

} // namespace raylen
