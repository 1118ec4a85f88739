// The control's window drawn through the container's calls only.
#include <QMouseEvent>
#include <QPaintEvent>
#include <QToolTip>

#include "Scene.h"

namespace controltest {
namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST(ControlWindow, PaintsTheChartOfTheContainersCalls)
{
    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 540, 426);
    ASSERT_NE(w, nullptr);
    buildSpectrumChart(control);
    QImage image = w->grab().toImage();
    ASSERT_EQ(image.size(), QSize(540, 426));
    const Surface s{double(w->logicalDpiY()), 426};
    ASSERT_EQ(w->logicalDpiX(), w->logicalDpiY());

    // The X axis runs along y = 10 mm from x = 13 to 133 mm; the Y axis up x = 13 mm.
    for (double mm = 20; mm <= 125; mm += 15) {
        EXPECT_TRUE(darkNear(image, s.px(mm), s.py(10.0))) << "x axis at " << mm;
        EXPECT_FALSE(darkNear(image, s.px(mm), s.py(10.0) - 6, 0)) << "above the x axis at " << mm;
    }
    for (double mm = 15; mm <= 85; mm += 10)
        EXPECT_TRUE(darkNear(image, s.px(13.0), s.py(mm))) << "y axis at " << mm;
    // The spectrum rises from (0, 0) to (100, 8) over the scale 0..100 by
    // 0..8: on the paper from (13, 10) to (133, 90).
    for (double t : {0.2, 0.35, 0.5, 0.65, 0.8}) {
        const double x = 13 + 120 * t, y = 10 + 80 * t;
        EXPECT_TRUE(darkNear(image, s.px(x), s.py(y))) << "curve at " << t;
        EXPECT_FALSE(darkNear(image, s.px(x), s.py(y) - 20, 2)) << "above the curve at " << t;
    }
    // Marks across the X axis every 20 (24 mm), and labels under it: "100"
    // below the far end, "8" left of the top of the Y axis.
    for (double mm : {37.0, 61.0, 85.0, 109.0}) {
        EXPECT_TRUE(darkNear(image, s.px(mm), s.py(10.0) - 1.5, 0)) << "mark at " << mm;
        EXPECT_TRUE(darkNear(image, s.px(mm), s.py(10.0) + 1.5, 0)) << "mark at " << mm;
    }
    auto inkIn = [&](QRectF mm) {
        const QRect box = QRectF(QPointF(s.px(mm.left()), s.py(mm.bottom())), QPointF(s.px(mm.right()), s.py(mm.top())))
                              .toRect();
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (image.valid(x, y) && dark(image.pixel(x, y)))
                    return true;
        return false;
    };
    EXPECT_TRUE(inkIn(QRectF(129, 4, 8, 4.5))) << "label 100";
    EXPECT_TRUE(inkIn(QRectF(7, 86, 4.5, 6))) << "label 8";
    EXPECT_FALSE(inkIn(QRectF(60, 60, 10, 10))) << "empty plot area";
    // The ends found by the drawing are readable.
    Obj axisX = GetObj(GetObj(GetObj(control, c::XyCharts), col::Item, {I4(1)}), dsp::xyChart::XAxis);
    EXPECT_EQ(Get(axisX, dsp::xyAxis::Maximum).r8(), 100.0);
    // The background is the control's white.
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
    // The window's extent is the control's: ScaleWidth in millimetres.
    EXPECT_NEAR(Get(control, c::ScaleWidth).r8(), 540 * 25.4 / w->logicalDpiX(), 1e-9);
    delete w;
}

TEST(ControlWindow, ChangesCoalesceIntoOnePaintAndRefreshPaintsAtOnce)
{
    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 200, 150);
    ASSERT_NE(w, nullptr);
    PaintCounter counter;
    w->installEventFilter(&counter);
    QApplication::processEvents();
    counter.paints = 0;

    for (int i = 1; i <= 5; ++i)
        Put(control, c::OrgX, R8(i));
    EXPECT_EQ(host(control)->pendingInvalidates(), 1);
    EXPECT_EQ(counter.paints, 0); // not synchronously
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(host(control)->pendingInvalidates(), 0);

    // Without AutoRedraw a change paints nothing; Refresh paints now.
    Put(control, c::AutoRedraw, Bool(false));
    QApplication::processEvents();
    counter.paints = 0;
    Put(control, c::BackMode, I2(1));
    Put(control, c::BackColor, I4(0x0000FF)); // red
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    Call(control, c::Refresh);
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(w->grab().toImage().pixel(100, 75), qRgb(255, 0, 0));
    w->removeEventFilter(&counter);
    delete w;
}

TEST(ControlWindow, GetMousePosAnswersInDrawingMillimetresAfterAPaint)
{
    Obj control = controlByClsid();
    Put(control, c::OrgX, R8(5.0));
    Put(control, c::OrgY, R8(3.0));
    Put(control, c::ScaleFactor, R8(2.0));
    Variant x = R8(-7), y = R8(-9);

    // No window, no drawing context: 0 and the arguments untouched.
    EXPECT_EQ(Call(control, c::GetMousePos, {Variant::byRef(&x), Variant::byRef(&y)}).i4(), 0);
    EXPECT_EQ(x.r8(), -7);
    EXPECT_EQ(y.r8(), -9);

    QWidget* w = showWindow(control, 400, 300);
    ASSERT_NE(w, nullptr);
    w->repaint();
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 200), w->mapToGlobal(QPointF(100, 200)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    EXPECT_EQ(Call(control, c::GetMousePos, {Variant::byRef(&x), Variant::byRef(&y)}).i4(), 1);
    // Pixels to millimetres at twice the screen's scale, y upward from the
    // lower edge, shifted by the origin.
    const double perMm = w->logicalDpiX() / 25.4 * 2;
    EXPECT_NEAR(x.r8(), 100 / perMm + 5.0, 1e-9);
    EXPECT_NEAR(y.r8(), (300 - 200) / perMm + 3.0, 1e-9);

    // A press elsewhere moves the position too.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(0, 300), w->mapToGlobal(QPointF(0, 300)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    Call(control, c::GetMousePos, {Variant::byRef(&x), Variant::byRef(&y)});
    EXPECT_NEAR(x.r8(), 5.0, 1e-9);
    EXPECT_NEAR(y.r8(), 3.0, 1e-9);
    delete w;
}

TEST(ControlWindow, ToolHintShowsThePointerInWholeMillimetres)
{
    Obj control = controlByClsid();
    Put(control, c::OrgX, R8(10.0));
    QWidget* w = showWindow(control, 400, 300);
    ASSERT_NE(w, nullptr);
    w->repaint();
    auto moveTo = [&](QPointF at) {
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    };
    const double perMm = w->logicalDpiX() / 25.4;
    moveTo({100, 200});
    EXPECT_FALSE(QToolTip::isVisible()); // ToolHint is off by default

    Put(control, c::ToolHint, Bool(true));
    w->repaint();
    moveTo({100, 200});
    ASSERT_TRUE(QToolTip::isVisible());
    const QString expected = QStringLiteral("X:%1,Y:%2")
                                 .arg(std::lround(100 / perMm + 10.0))
                                 .arg(std::lround((300 - 200) / perMm));
    EXPECT_EQ(QToolTip::text(), expected);
    moveTo({0, 300});
    EXPECT_EQ(QToolTip::text(), "X:10,Y:0");
    QToolTip::hideText();
    delete w;
}

} // namespace
} // namespace controltest
