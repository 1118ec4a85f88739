// Positions on axes, the Transform event with the plot cache, label
// extents against the drawing, and InitialSize on loading a chart.
#include <climits>
#include <cmath>
#include <set>

#include "Scene.h"

namespace controltest {
namespace {

namespace ax = dsp::xyAxis;
namespace ev = lumigra::dispid::event;

Obj manualAxis(const Obj& control, double orgX, double length, double lo, double hi)
{
    Obj axis = CallObj(GetObj(control, c::XyAxes), col::Add, {Str("A")});
    Put(axis, ax::OrgX, R8(orgX));
    Put(axis, ax::Length, R8(length));
    Put(axis, ax::MinimumSelection, I2(42));
    Put(axis, ax::MaximumSelection, I2(42));
    Put(axis, ax::Minimum, R8(lo));
    Put(axis, ax::Maximum, R8(hi));
    return axis;
}

double position(const Obj& axis, double v) { return Get(axis, ax::PlotPosition, {R8(v)}).r8(); }

TEST(AxisPosition, PlotPositionWithReverseAndValuesThatCannotBePlaced)
{
    Obj control = controlByClsid();
    Obj axis = manualAxis(control, 20, 100, 0, 10);
    EXPECT_DOUBLE_EQ(position(axis, 2.5), 45);
    Put(axis, ax::Reverse, Bool(true));
    EXPECT_DOUBLE_EQ(position(axis, 0), 120);
    EXPECT_DOUBLE_EQ(position(axis, 10), 20);
    EXPECT_DOUBLE_EQ(position(axis, 2.5), 95);
    // A log axis has no place for 0.
    Put(axis, ax::Style, I2(25));
    Put(axis, ax::Minimum, R8(1));
    Put(axis, ax::Maximum, R8(1000));
    EXPECT_DOUBLE_EQ(position(axis, 10), 120 - 100.0 / 3);
    Raised r = invokeRaw(axis, ax::PlotPosition, DISPATCH_PROPERTYGET, {R8(0)});
    EXPECT_EQ(r.status, DISP_E_EXCEPTION);
    EXPECT_EQ(r.info.wCode, 1003);
    EXPECT_EQ(r.info.source, "A");
    // PlotPosition is read-only.
    EXPECT_EQ(invokeRaw(axis, ax::PlotPosition, DISPATCH_PROPERTYPUT, {R8(1), R8(2)}).info.wCode, 1008);
}

TEST(AxisPosition, CustomAxisAsksTheContainerThroughTheCache)
{
    Obj control = controlByClsid();
    Obj axis = manualAxis(control, 0, 100, 1, 100);
    Put(axis, ax::Style, I2(68));
    EventSink sink;
    std::vector<double> asked;
    std::string axisName;
    sink.handler = [&](DispId id, std::vector<Variant>& args) {
        if (id != ev::Transform)
            return;
        Variant* val = args[0].refTarget();
        asked.push_back(val->r8());
        axisName = Get(objectOf(args[1]), dsp::common::Name).str();
        *val = R8(std::log10(val->r8()));
    };
    Advised advised(control, sink);

    // Without the cache every position asks for both ends and the value.
    EXPECT_NEAR(position(axis, 10), 50, 1e-12);
    EXPECT_EQ(axisName, "A");
    const size_t perCall = asked.size();
    EXPECT_GE(perCall, 3u);
    EXPECT_NEAR(position(axis, 10), 50, 1e-12);
    EXPECT_EQ(asked.size(), 2 * perCall);

    // With it each value is asked once, across positions.
    const std::set<double> distinct(asked.begin(), asked.begin() + perCall);
    EXPECT_TRUE(Call(axis, ax::SetPlotCache, {I2(1)}).boolean());
    asked.clear();
    EXPECT_NEAR(position(axis, 10), 50, 1e-12);
    const size_t first = asked.size();
    EXPECT_EQ(first, distinct.size());
    EXPECT_EQ(std::set<double>(asked.begin(), asked.end()), distinct);
    EXPECT_NEAR(position(axis, 10), 50, 1e-12);
    EXPECT_NEAR(position(axis, 1), 0, 1e-12);
    EXPECT_EQ(asked.size(), first); // ends, marks and both values were cached
    // A drawing of the axis uses the same answers.
    QWidget* w = showWindow(control, 300, 200);
    ASSERT_NE(w, nullptr);
    const size_t beforePaint = asked.size();
    w->repaint();
    const size_t afterFirstPaint = asked.size();
    w->repaint();
    EXPECT_EQ(asked.size(), afterFirstPaint) << "a second paint asks nothing new";
    EXPECT_GE(afterFirstPaint, beforePaint);

    // Flushing asks again; disabling asks every time.
    EXPECT_TRUE(Call(axis, ax::SetPlotCache, {I2(2)}).boolean());
    asked.clear();
    position(axis, 10);
    EXPECT_EQ(asked.size(), distinct.size());
    position(axis, 10);
    EXPECT_EQ(asked.size(), distinct.size());
    EXPECT_TRUE(Call(axis, ax::SetPlotCache, {I2(0)}).boolean());
    position(axis, 10);
    EXPECT_EQ(asked.size(), distinct.size() + perCall);
    EXPECT_FALSE(Call(axis, ax::SetPlotCache, {I2(3)}).boolean());

    // An answer that is no number leaves the value without a place.
    sink.handler = [](DispId, std::vector<Variant>& args) { *args[0].refTarget() = Str("far away"); };
    EXPECT_EQ(invokeRaw(axis, ax::PlotPosition, DISPATCH_PROPERTYGET, {R8(10)}).info.wCode, 1003);
    delete w;
}

TEST(AxisPosition, ATransformHandlerAskingForAPositionDoesNotRecurse)
{
    Obj control = controlByClsid();
    Obj axis = manualAxis(control, 0, 100, 0, 10);
    Put(axis, ax::Style, I2(68));
    EventSink sink;
    int depth = 0, deepest = 0;
    sink.handler = [&](DispId, std::vector<Variant>& args) {
        ++depth;
        deepest = std::max(deepest, depth);
        position(objectOf(args[1]), 5); // inside: values stay as they are
        --depth;
        *args[0].refTarget() = R8(args[0].refTarget()->r8() * 2);
    };
    Advised advised(control, sink);
    EXPECT_NEAR(position(axis, 5), 50, 1e-12);
    EXPECT_EQ(deepest, 1);
}

TEST(LabelExtent, WidthAndHeightMatchTheDrawnText)
{
    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 500, 300);
    ASSERT_NE(w, nullptr);
    Put(control, c::BackMode, I2(1));
    Put(control, c::BackColor, I4(0xFFFFFF));
    Obj label = CallObj(GetObj(control, c::Labels), col::Add, {Str("Title")});
    Put(label, dsp::label::OrgX, R8(10));
    Put(label, dsp::label::OrgY, R8(30));
    Put(label, dsp::label::String1, Str("HHHHHHHH"));
    Obj font = GetObj(label, dsp::label::Font1);
    Put(font, dsp::font::Size, R8(10));
    Put(font, dsp::font::TextColor, I4(0));
    const double width = Get(label, dsp::label::Width).r8();
    const double height = Get(label, dsp::label::Height).r8();

    // The ink of the capitals, measured in the window.
    QImage image = w->grab().toImage();
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (dark(image.pixel(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0) << "the label was not drawn";
    const double perMm = w->logicalDpiX() / 25.4;
    const double inkWidth = (right - left + 1) / perMm;
    const double inkHeight = (bottom - top + 1) / perMm;
    // Eight capitals: the advance exceeds the ink only by the side bearings.
    EXPECT_GT(width, inkWidth - 0.3);
    EXPECT_LT(width, inkWidth + 2.0);
    // The line height holds the capitals' ink, with ascent and descent to spare.
    EXPECT_GT(height, inkHeight);
    EXPECT_LT(height, 2.0 * inkHeight);
    EXPECT_NEAR(left / perMm, 10, 1.0); // drawn from OrgX

    // Trailing blanks widen the label without more ink.
    Put(label, dsp::label::TrailingSpace1, I2(3));
    EXPECT_GT(Get(label, dsp::label::Width).r8(), width + 1.0);
    EXPECT_EQ(Get(label, dsp::label::Height).r8(), height);
    EXPECT_EQ(invokeRaw(label, dsp::label::Width, DISPATCH_PROPERTYPUT, {R8(1)}).info.wCode, 1008);
    delete w;
}

TEST(InitialSize, LoadingAChartOfAnotherSizeAsksTheContainer)
{
    Obj source = controlByClsid();
    host(source)->setExtent(540, 426, 96, 96);
    auto text = host(source)->saveObjectText();

    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 300, 200);
    ASSERT_NE(w, nullptr);
    const double dpi = w->logicalDpiX();
    EventSink sink;
    std::vector<int32_t> offered;
    sink.handler = [&](DispId id, std::vector<Variant>& args) {
        if (id != ev::InitialSize)
            return;
        offered = {args[0].refTarget()->i4(), args[1].refTarget()->i4()};
        *args[0].refTarget() = I4(6000); // 4 1/6 inches
        *args[1].refTarget() = I4(-5);   // not positive: the height stays
    };
    Advised advised(control, sink);
    ASSERT_TRUE(host(control)->restoreObjectText(text.data(), text.size(), false));
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], int32_t(540 / dpi * 1440));
    EXPECT_EQ(offered[1], int32_t(426 / dpi * 1440));
    EXPECT_EQ(w->size(), QSize(int(6000 * dpi / 1440), 200));

    // A size beyond any screen is not taken; the other one is.
    Obj huge = controlByClsid();
    host(huge)->setExtent(INT32_MAX, 150, dpi, dpi);
    auto hugeText = host(huge)->saveObjectText();
    sink.handler = nullptr;
    ASSERT_TRUE(host(control)->restoreObjectText(hugeText.data(), hugeText.size(), false));
    EXPECT_EQ(w->size(), QSize(int(6000 * dpi / 1440), 150));

    // A chart saved at the current size asks nothing.
    sink.calls.clear();
    auto same = host(control)->saveObjectText();
    ASSERT_TRUE(host(control)->restoreObjectText(same.data(), same.size(), false));
    EXPECT_EQ(sink.calls[ev::InitialSize], 0);
    delete w;
}

} // namespace
} // namespace controltest
