// Mouse and key messages of the window reach the container as stock events
// under MouseAction and KeyboardAction.
#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMouseEvent>

#include "Scene.h"

namespace controltest {
namespace {

namespace ev = lumigra::dispid::event;

struct Heard {
    DispId id;
    std::vector<double> args; // numbers as passed
};

struct Listener {
    EventSink sink;
    std::vector<Heard> heard;
    Listener()
    {
        sink.handler = [this](DispId id, std::vector<Variant>& args) {
            Heard h{id, {}};
            for (auto& a : args)
                h.args.push_back(a.deref().toDouble().value_or(-1));
            heard.push_back(h);
        };
    }
};

void mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(w, &e);
}

TEST(ControlInput, MouseEventsInTwipsOnlyWithTheirMouseAction)
{
    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 300, 200);
    ASSERT_NE(w, nullptr);
    const double twipsPerPixel = 1440.0 / w->logicalDpiX();
    Listener l;
    Advised advised(control, l.sink);

    Put(control, c::MouseAction, I2(0));
    mouse(w, QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(l.heard.empty());

    Put(control, c::MouseAction, I2(4));
    mouse(w, QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    mouse(w, QEvent::MouseMove, {30, 40}, Qt::NoButton, Qt::LeftButton | Qt::RightButton, Qt::ControlModifier);
    mouse(w, QEvent::MouseButtonRelease, {30, 40}, Qt::RightButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonDblClick, {30, 40}, Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(l.heard.size(), 4u);
    EXPECT_EQ(l.heard[0].id, ev::MouseDown);
    EXPECT_EQ(l.heard[0].args, (std::vector<double>{1, 1, 10 * twipsPerPixel, 20 * twipsPerPixel}));
    EXPECT_EQ(l.heard[1].id, ev::MouseMove);
    EXPECT_EQ(l.heard[1].args, (std::vector<double>{3, 2, 30 * twipsPerPixel, 40 * twipsPerPixel}));
    EXPECT_EQ(l.heard[2].id, ev::MouseUp);
    EXPECT_EQ(l.heard[2].args[0], 2);
    EXPECT_EQ(l.heard[3].id, ev::DblClick);
    EXPECT_TRUE(l.heard[3].args.empty());
    delete w;
}

TEST(ControlInput, KeysAsVirtualKeyCodesAndCharacters)
{
    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 300, 200);
    ASSERT_NE(w, nullptr);
    Listener l;
    Advised advised(control, l.sink);
    auto key = [&](QEvent::Type type, int k, Qt::KeyboardModifiers m, const QString& text) {
        QKeyEvent e(type, k, m, text);
        QApplication::sendEvent(w, &e);
    };

    // KeyPress goes out whatever KeyboardAction says; KeyDown and KeyUp only with bit 1.
    Put(control, c::KeyboardAction, I2(0));
    key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    key(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
    ASSERT_EQ(l.heard.size(), 1u);
    EXPECT_EQ(l.heard[0].id, ev::KeyPress);
    EXPECT_EQ(l.heard[0].args, std::vector<double>{97});

    l.heard.clear();
    Put(control, c::KeyboardAction, I2(1));
    key(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier, "A");
    key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    key(QEvent::KeyRelease, Qt::Key_Left, Qt::AltModifier, "");
    ASSERT_EQ(l.heard.size(), 5u);
    EXPECT_EQ(l.heard[0].id, ev::KeyDown);
    EXPECT_EQ(l.heard[0].args, (std::vector<double>{65, 3}));
    EXPECT_EQ(l.heard[1].id, ev::KeyPress);
    EXPECT_EQ(l.heard[1].args, std::vector<double>{65});
    EXPECT_EQ(l.heard[2].args, (std::vector<double>{13, 0}));
    EXPECT_EQ(l.heard[3].id, ev::KeyPress);
    EXPECT_EQ(l.heard[3].args, std::vector<double>{13});
    EXPECT_EQ(l.heard[4].id, ev::KeyUp);
    EXPECT_EQ(l.heard[4].args, (std::vector<double>{0x25, 4}));
    delete w;
}

TEST(ControlEvents, EverySinkHearsAnEventAndMaySeeTheEarlierAnswer)
{
    Obj control = controlByClsid();
    Obj axis = CallObj(GetObj(control, c::XyAxes), col::Add, {Str("A")});
    Put(axis, dsp::xyAxis::Length, R8(100));
    Put(axis, dsp::xyAxis::MinimumSelection, I2(42));
    Put(axis, dsp::xyAxis::MaximumSelection, I2(42));
    Put(axis, dsp::xyAxis::Minimum, R8(0));
    Put(axis, dsp::xyAxis::Maximum, R8(99));
    Put(axis, dsp::xyAxis::Style, I2(68));
    EventSink first, second;
    first.handler = [](DispId, std::vector<Variant>& a) { *a[0].refTarget() = R8(a[0].refTarget()->r8() + 1); };
    second.handler = [](DispId, std::vector<Variant>& a) {
        const double v = a[0].refTarget()->r8();
        *a[0].refTarget() = R8(v * v);
    };
    {
        Advised one(control, first), two(control, second);
        // Both in order of registration: T(v) = (v + 1)^2, ends 1 and 10000.
        EXPECT_NEAR(Get(axis, dsp::xyAxis::PlotPosition, {R8(49)}).r8(), 2499.0 / 9999 * 100, 1e-9);
    }
    // Unadvised sinks hear nothing: without a handler values stay as they are.
    first.calls.clear();
    EXPECT_NEAR(Get(axis, dsp::xyAxis::PlotPosition, {R8(49)}).r8(), 49.0 / 99 * 100, 1e-9);
    EXPECT_TRUE(first.calls.empty());
    EXPECT_EQ(first.refs.load(), 1u);
    EXPECT_EQ(second.refs.load(), 1u);
}

// A press on an empty spot becomes a drag of the chart only once the pointer
// has moved by the drag distance with the button held, and only in mode 1.
TEST(ControlInput, EmptySpotDragStartsAfterTheDragDistance)
{
    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 300, 200);
    ASSERT_NE(w, nullptr);
    const int distance = QApplication::startDragDistance();
    auto drags = [&] { return w->findChildren<QDrag*>().size(); };
    auto pressAndMove = [&](int by) {
        mouse(w, QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton, Qt::LeftButton);
        mouse(w, QEvent::MouseMove, {50.0 + by, 50}, Qt::NoButton, Qt::LeftButton);
        mouse(w, QEvent::MouseButtonRelease, {50.0 + by, 50}, Qt::LeftButton, Qt::NoButton);
    };

    pressAndMove(distance - 1);
    EXPECT_EQ(drags(), 0);
    Put(control, c::OLEDragMode, I2(0));
    pressAndMove(distance + 5);
    EXPECT_EQ(drags(), 0);
    Put(control, c::OLEDragMode, I2(1));
    pressAndMove(distance + 5);
    EXPECT_EQ(drags(), 1);
    delete w;
}

} // namespace
} // namespace controltest
