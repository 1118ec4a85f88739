// The image window's view: zoom, panning and stretches.
#include "image/gui/FrmImage.h"

#include "display/PercentileLimits.h"
#include "image/gui/PicImage.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "shell/gui/FormSupport.h"
#include "shell/gui/MdiRaylen.h"
#include "state/AppState.h"

#include <QIcon>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

namespace raylen {

using namespace platform;

namespace {

// One wheel notch, in eighths of a degree.
constexpr int wheelNotch = 120;

// A grey ramp in a frame: the display's grey levels, unlike the bars' arrows.
QIcon viewButtonIcon()
{
    constexpr int side = 12;
    QPixmap pixmap(side, side);
    QPainter painter(&pixmap);
    QLinearGradient ramp(0, 0, side, 0);
    ramp.setColorAt(0.0, Qt::black);
    ramp.setColorAt(1.0, Qt::white);
    painter.fillRect(pixmap.rect(), ramp);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, side - 1, side - 1);
    return QIcon(pixmap);
}

} // namespace

void FrmImage::buildView()
{
    picImage->onPan = [this](QPoint delta) { panBy(delta); };
    picImage->onWheel = [this](int angle, QPoint at) { wheelZoom(angle, at + picImage->pos()); };
    picImage->beforePaint = [this] { prepareStretch(); };
    // The viewport takes the wheel beside a picture smaller than the window.
    picWindow->installEventFilter(this);
    viewMenu = new ImageViewMenu(this);
    viewMenu->onZoom = [this](bool fit, double factor) {
        setZoom(fit, factor, QPoint(picWindow->width() / 2, picWindow->height() / 2));
    };
    viewMenu->onStretch = [this](StretchCurve curve, double percent) { setStretch(curve, percent); };
    cmdView = new QToolButton(this);
    cmdView->setObjectName("cmdView");
    cmdView->setToolTip(QString::fromUtf8("表示"));
    cmdView->setAutoRaise(true);
    cmdView->setIcon(viewButtonIcon());
    // Popped up by hand rather than as the button's own menu, which would
    // draw an indicator arrow over the small icon.
    connect(cmdView, &QToolButton::clicked, this,
            [this] { viewMenu->menu->popup(cmdView->mapToGlobal(QPoint(0, cmdView->height()))); });
}

void FrmImage::setZoom(bool fit, double factor, QPoint anchor)
{
    const double before = picImage->scale().factor;
    if (fit)
        factor = fitFactor(picImage->imageWidth(), picImage->imageHeight(), picWindow->width(), picWindow->height());
    factor = std::clamp(factor, smallestZoom, largestZoom);
    view_.fit = fit;
    view_.zoom = factor;
    viewMenu->showChoice(view_);
    const int left = anchoredScroll(hsbImage->value(), anchor.x(), before, factor);
    const int top = anchoredScroll(vsbImage->value(), anchor.y(), before, factor);
    picImage->setScale(ViewScale{factor});
    std::string message = trapErrors("Form_Resize", [&] {
        layoutWindow(false);
        // The bars clamp the values to their new ranges.
        hsbImage->setValue(left);
        vsbImage->setValue(top);
    });
    showCritical(message);
}

void FrmImage::setStretch(StretchCurve curve, double percent)
{
    view_.curve = curve;
    view_.percent = percent;
    viewMenu->showChoice(view_);
    stretchStale_ = true;
    if (view_.rendered())
        picImage->showGrey(nullptr);
    picImage->update();
}

void FrmImage::prepareStretch()
{
    if (view_.rendered() || !stretchStale_)
        return;
    stretchStale_ = false;
    const AppState& s = appState();
    std::string message = trapErrors("picImage_Paint", [&] {
        DisplayLimits limits;
        if (view_.percent == mainWindowLimits ||
            !percentileLimits(s.sngImage, s.typFitsInfo.NAXIS1, s.typFitsInfo.NAXIS2, view_.percent, limits)) {
            // The limits the picture was rendered with, as the main window shows them.
            MdiRaylen* main = mdiRaylen();
            if (main == nullptr)
                platform::raise(errObjectNotSet);
            limits.high = leadingNumber(main->txtMax->text().toStdString());
            limits.low = leadingNumber(main->txtMin->text().toStdString());
        }
        stretchGrey(s.sngImage, s.typFitsInfo.NAXIS1, s.typFitsInfo.NAXIS2, limits, view_.curve, stretched_);
        picImage->showGrey(&stretched_);
    });
    if (!message.empty()) {
        // Back to the design's picture; the message waits until the paint is over.
        view_.curve = StretchCurve::Linear;
        view_.percent = mainWindowLimits;
        viewMenu->showChoice(view_);
        picImage->showGrey(nullptr);
        QTimer::singleShot(0, this, [message] { showCritical(message); });
    }
}

void FrmImage::panBy(QPoint delta)
{
    hsbImage->setValue(hsbImage->value() - delta.x());
    vsbImage->setValue(vsbImage->value() - delta.y());
}

void FrmImage::wheelZoom(int angle, QPoint anchor)
{
    // Fine-grained wheels add up to whole notches.
    wheelRest_ += angle;
    const int steps = wheelRest_ / wheelNotch;
    wheelRest_ -= steps * wheelNotch;
    if (steps != 0)
        setZoom(false, steppedZoom(picImage->scale().factor, steps), anchor);
}

bool FrmImage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picWindow && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        wheelZoom(wheel->angleDelta().y(), wheel->position().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace raylen
