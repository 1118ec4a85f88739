// The image window's zoom, panning and stretches, driven by real events:
// the box, the read-out and the picture stay in image pixels.
#include "GuiHarness.h"

#include "display/PercentileLimits.h"
#include "display/Stretch.h"
#include "image/gui/FrmImage.h"
#include "image/gui/PicImage.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

using namespace guitest;
using raylen::appState;
using raylen::frmImage;

namespace {

// Distinct values, so that a read-out names its pixel.
double distinctValue(int x, int y) { return x + 1000.0 * y; }

void dragBox(QWidget* pic, QPoint from, QPoint to)
{
    mouse(pic, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(pic, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    mouse(pic, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

void wheel(QWidget* pic, QPoint at, int notches)
{
    QWheelEvent event(QPointF(at), pic->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pic, &event);
}

struct Seen {
    int left, top, width, height;
    std::string x, y, count;
};

// Draws the box by mouse over image pixels (11, 21) … (41, 61) at the
// window's zoom, reads the box and the read-out over pixel (41, 61).
Seen drawAndRead(Harness& h, raylen::FrmImage* w)
{
    const raylen::ViewScale& s = w->picImage->scale();
    auto at = [&](int x, int y) { return QPoint(s.screenOf(x), s.screenOf(y)); };
    w->dsMnuBoxRemove();
    dragBox(w->picImage, at(11, 21), at(41, 61));
    mouse(w->picImage, QEvent::MouseMove, at(41, 61), Qt::NoButton, Qt::NoButton);
    const raylen::ShpBox& b = w->box();
    return {b.left, b.top, b.width, b.height, text(h.main->lblX->text()), text(h.main->lblY->text()),
            text(h.main->lblCount->text())};
}

} // namespace

TEST(ImageView, BoxAndReadOutStayInImagePixelsAtEveryZoom)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(writeFits(dir.file("z.fit"), -32, 300, 200, distinctValue));
    raylen::FrmImage* w = frmImage();
    ASSERT_NE(w, nullptr);
    const Seen one = drawAndRead(h, w);
    EXPECT_EQ(one.x, "x 41");
    EXPECT_EQ(one.y, "y 61");
    EXPECT_EQ(one.count, "count 61041.0");
    for (QAction* zoom : {w->viewMenu->mnuZoom[0], w->viewMenu->mnuZoom[2]}) {
        zoom->trigger();
        const double factor = w->picImage->scale().factor;
        EXPECT_EQ(w->picImage->width(), static_cast<int>(300 * factor));
        const Seen seen = drawAndRead(h, w);
        EXPECT_EQ(seen.left, one.left) << factor;
        EXPECT_EQ(seen.top, one.top) << factor;
        EXPECT_EQ(seen.width, one.width) << factor;
        EXPECT_EQ(seen.height, one.height) << factor;
        EXPECT_EQ(seen.x, one.x) << factor;
        EXPECT_EQ(seen.y, one.y) << factor;
        EXPECT_EQ(seen.count, one.count) << factor;
        // The outline's corner pixel sits on the box's first image pixel.
        const raylen::ViewScale& s = w->picImage->scale();
        const QImage shown = w->picImage->grab().toImage();
        EXPECT_EQ(shown.pixelColor(s.screenOf(one.left), s.screenOf(one.top)), raylen::PicImage::boxColour());
        EXPECT_EQ(shown.pixelColor(s.screenOf(one.left + one.width) - 1, s.screenOf(one.top + one.height) - 1),
                  raylen::PicImage::boxColour());
        // Each screen pixel shows the grey of the image pixel under its centre.
        const uint8_t* render = appState().renderFile.data() + raylen::bitmapHeaderBytes;
        const int rowBytes = raylen::bitmapRowBytes(300);
        for (QPoint p : {QPoint(3, 5), QPoint(101, 77), QPoint(s.screenOf(299), s.screenOf(199))}) {
            const int x = s.imageOf(p.x()), y = s.imageOf(p.y());
            EXPECT_EQ(qGray(shown.pixel(p)), render[(199 - y) * rowBytes + 3 * x]) << factor << " " << x << "," << y;
        }
    }
    // Back at 1:1 the picture is the render, byte for byte.
    w->viewMenu->mnuZoom[1]->trigger();
    EXPECT_EQ(w->picImage->size(), QSize(300, 200));
}

TEST(ImageView, WheelZoomsAboutThePointerAndTheMiddleButtonPans)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(writeFits(dir.file("w.fit"), -32, 900, 700, distinctValue));
    raylen::FrmImage* w = frmImage();
    ASSERT_NE(w, nullptr);
    w->parentWidget()->resize(420, 320);
    QApplication::processEvents();
    w->hsbImage->setValue(200);
    w->vsbImage->setValue(150);
    // The pointer at viewport (150, 100); its position on the picture follows the picture.
    const QPoint pointer(150, 100);
    auto under = [&] { return w->picImage->imagePixel(QPointF(pointer - w->picImage->pos())); };
    const QPoint before = under();
    EXPECT_EQ(before, QPoint(350, 250));
    for (int notches : {1, 1}) {
        wheel(w->picImage, pointer - w->picImage->pos(), notches);
        EXPECT_EQ(under(), before) << w->picImage->scale().factor;
    }
    EXPECT_EQ(w->picImage->scale().factor, 4.0);
    EXPECT_TRUE(w->viewMenu->mnuZoom[3]->isChecked());
    // Zooming out, a screen pixel covers two image pixels: within one.
    wheel(w->picImage, pointer - w->picImage->pos(), -3);
    EXPECT_EQ(w->picImage->scale().factor, 0.5);
    EXPECT_LE((under() - before).manhattanLength(), 2);

    // The middle button drags the picture with the pointer.
    w->viewMenu->mnuZoom[1]->trigger();
    w->hsbImage->setValue(100);
    w->vsbImage->setValue(100);
    QWidget* pic = w->picImage;
    mouse(pic, QEvent::MouseButtonPress, QPoint(300, 300), Qt::MiddleButton, Qt::MiddleButton);
    mouse(pic, QEvent::MouseMove, QPoint(270, 280), Qt::NoButton, Qt::MiddleButton);
    mouse(pic, QEvent::MouseButtonRelease, QPoint(270, 280), Qt::MiddleButton, Qt::NoButton);
    EXPECT_EQ(w->hsbImage->value(), 130);
    EXPECT_EQ(w->vsbImage->value(), 120);
    EXPECT_EQ(w->picImage->pos(), QPoint(-130, -120));
    EXPECT_TRUE(h.ui.shown.empty());

    // Fit: the whole picture in the viewport, no scrolling, kept through a resize.
    w->viewMenu->mnuZoomFit->trigger();
    EXPECT_LE(w->picImage->width(), w->picWindow->width());
    EXPECT_LE(w->picImage->height(), w->picWindow->height());
    EXPECT_FALSE(w->hsbImage->isEnabled());
    w->parentWidget()->resize(620, 420);
    QApplication::processEvents();
    EXPECT_TRUE(w->picImage->width() == w->picWindow->width() || w->picImage->height() == w->picWindow->height());
    EXPECT_TRUE(w->viewMenu->mnuZoomFit->isChecked());
    // The view button sits in the corner between the bars and opens the menu.
    EXPECT_EQ(w->cmdView->geometry().topLeft(), QPoint(w->picWindow->width(), w->picWindow->height()));
    w->cmdView->click();
    EXPECT_TRUE(w->viewMenu->menu->isVisible());
    w->viewMenu->menu->hide();
}

TEST(ImageView, StretchesPaintWhatTheCoreComputes)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(writeFits(dir.file("s.fit"), -32, 64, 48, [](int x, int y) {
        return x == 5 && y == 5 ? 1.0e6 : (x * 37 + y * 11) % 500;
    }));
    raylen::FrmImage* w = frmImage();
    ASSERT_NE(w, nullptr);
    const QImage design = w->picImage->grab().toImage();
    const raylen::SingleImage& image = appState().sngImage;

    w->viewMenu->mnuCurve[1]->trigger(); // square root
    w->viewMenu->mnuLimits[2]->trigger(); // 99 %
    raylen::DisplayLimits limits;
    ASSERT_TRUE(raylen::percentileLimits(image, 64, 48, 99.0, limits));
    const QImage shown = w->picImage->grab().toImage();
    int changed = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const double t = std::clamp((image(x, y) - limits.low) / (limits.high - limits.low), 0.0, 1.0);
            const int grey = static_cast<int>(std::nearbyint(255 * std::sqrt(t)));
            ASSERT_EQ(qGray(shown.pixel(x, y)), grey) << x << "," << y;
            changed += shown.pixel(x, y) != design.pixel(x, y) ? 1 : 0;
        }
    EXPECT_GT(changed, 64 * 48 / 2);

    // The main window's limits with a curve: 0 … 100 here (a tenth of the range).
    w->viewMenu->mnuLimitsMain->trigger();
    w->viewMenu->mnuCurve[2]->trigger(); // logarithmic
    EXPECT_EQ(text(h.main->txtMax->text()), "100000");
    const QImage logarithmic = w->picImage->grab().toImage();
    const double t = image(7, 3) / 100000.0;
    EXPECT_EQ(qGray(logarithmic.pixel(7, 3)), std::nearbyint(255 * std::log1p(1000 * t) / std::log1p(1000.0)));

    // Linear between the main window's limits is the design's picture again.
    w->viewMenu->mnuCurve[0]->trigger();
    EXPECT_TRUE(w->picImage->showsRender());
    EXPECT_EQ(w->picImage->grab().toImage(), design);

    // The stretch follows a new rendering of the image.
    w->viewMenu->mnuCurve[3]->trigger();
    const int paints = w->picImage->paintCount();
    h.main->txtMax->setText("400");
    h.main->cmdAutoScale->click();
    QApplication::processEvents();
    const QImage refreshed = w->picImage->grab().toImage();
    const double u = std::min(image(9, 9) / 400.0, 1.0);
    EXPECT_EQ(qGray(refreshed.pixel(9, 9)), std::nearbyint(255 * std::asinh(u / 0.1) / std::asinh(1 / 0.1)));
    // One rendering, a bounded number of paints.
    EXPECT_LE(w->picImage->paintCount() - paints, 3);
}
