// The mouse and key rules of the control's window, driven with real mouse
// and key events on a chart built like the plot window's: SelectObject, the
// object menu with its second pop-up, moving with the rubber band and
// Ctrl+Z, cancelling with the right button, deleting, and the edit menu.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QRubberBand>

#include "MenuScript.h"
#include "Scene.h"
#include "control/PropertySheetLink.h"
#include "model/Object.h"
#include "platform/UiService.h"

namespace controltest {
namespace {

namespace ev = lumigra::dispid::event;

void mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void leftPress(QWidget* w, QPointF at) { mouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
void rightPress(QWidget* w, QPointF at) { mouse(w, QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton); }
void moveTo(QWidget* w, QPointF at) { mouse(w, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }

void key(QWidget* w, QEvent::Type type, int k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QKeyEvent e(type, k, m);
    QApplication::sendEvent(w, &e);
}

std::string nameOf(const Variant& object) { return Get(objectOf(object.deref()), dsp::common::Name).toText().value_or(""); }
int32_t countOf(const Obj& control, DispId collection) { return Get(GetObj(control, collection), col::Count).i4(); }

// What the registered property sheet was asked to show.
struct SheetCall {
    lumigra::LgObject* target;
    QWidget* parent;
};
std::vector<SheetCall> sheetCalls;
bool recordSheet(lumigra::LumigraCtrl&, lumigra::LgObject* target, QWidget* parent)
{
    sheetCalls.push_back({target, parent});
    return true;
}

// The plot window's chart (plot area 13, 10, 120 x 80) with two labels
// overlapping at (40, 60), a free line and a rectangle.
struct Desk {
    Obj control = controlByClsid();
    QWidget* w = showWindow(control, 600, 450);
    Obj graph, label1, label2, line, box;
    Surface s{96, 450};
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped{&ui};

    Desk()
    {
        s = Surface{double(w->logicalDpiX()), w->height()};
        graph = buildSpectrumChart(control);
        Obj labels = GetObj(control, c::Labels);
        label1 = addLabel(labels, "L1", 40, "Label one");
        label2 = addLabel(labels, "L2", 42, "Label two");
        line = CallObj(GetObj(control, c::Lines), col::Add, {Str("Free")});
        Put(line, dsp::line::FromX, R8(20));
        Put(line, dsp::line::FromY, R8(30));
        Put(line, dsp::line::ToX, R8(60));
        Put(line, dsp::line::ToY, R8(30));
        Put(line, dsp::line::Length1, R8(1E+40));
        GetObj(line, dsp::line::Pen1);
        box = CallObj(GetObj(control, c::Rectangles), col::Add, {Str("Box")});
        Put(box, dsp::rectangle::OrgX, R8(90));
        Put(box, dsp::rectangle::OrgY, R8(20));
        Put(box, dsp::rectangle::Width, R8(20));
        Put(box, dsp::rectangle::Height, R8(15));
        GetObj(box, dsp::rectangle::Pen);
        QApplication::processEvents();
    }
    ~Desk() { delete w; }

    static Obj addLabel(const Obj& labels, const char* name, double x, const char* text)
    {
        Obj label = CallObj(labels, col::Add, {Str(name)});
        Put(label, dsp::label::OrgX, R8(x));
        Put(label, dsp::label::OrgY, R8(60));
        Put(label, dsp::label::String1, Str(text));
        Obj font = GetObj(label, dsp::label::Font1);
        Put(font, dsp::font::TypeFace, Str("Century"));
        Put(font, dsp::font::Size, R8(3.0));
        return label;
    }
    QPointF at(double xMm, double yMm) const { return {s.px(xMm), s.py(yMm)}; }
    QPointF onLabels() const { return at(44, 61); } // inside both labels and the plot area
    QRubberBand* band() const { return w->findChild<QRubberBand*>(); }
    double x(const Obj& o, DispId id) const { return Get(o, id).r8(); }
};

// Calls of SelectObject with the names of their objects.
struct Selections {
    EventSink sink;
    std::vector<std::string> names;
    std::vector<int> kinds; // ObjectID
    std::function<void(Variant& val)> answer;
    Selections()
    {
        sink.handler = [this](DispId id, std::vector<Variant>& args) {
            if (id != ev::SelectObject)
                return;
            EXPECT_EQ(args[0].deref().vt(), VT_BOOL);
            EXPECT_TRUE(args[0].deref().toBool().value_or(false));
            names.push_back(nameOf(args[1]));
            kinds.push_back(static_cast<int>(
                Get(objectOf(args[1].deref()), dsp::common::ObjectID).toDouble().value_or(-1)));
            if (answer)
                answer(*args[0].refTarget());
        };
    }
};

TEST(ControlMouse, SelectObjectGoesToEachHitObjectTopmostFirstUntilValIsNoLongerTrue)
{
    Desk d;
    Put(d.control, c::MouseAction, I2(8));
    Selections sel;
    Advised advised(d.control, sel.sink);

    // Left as true: every object under the pointer, the later label first, the chart last.
    leftPress(d.w, d.onLabels());
    EXPECT_EQ(sel.names, (std::vector<std::string>{"L2", "L1", "Graph1"}));

    sel.names.clear();
    sel.answer = [](Variant& val) { val = Bool(false); };
    leftPress(d.w, d.onLabels());
    EXPECT_EQ(sel.names, std::vector<std::string>{"L2"});

    // A value that is not a boolean stops as well.
    sel.names.clear();
    sel.answer = [](Variant& val) { val = I4(-1); };
    leftPress(d.w, d.onLabels());
    EXPECT_EQ(sel.names, std::vector<std::string>{"L2"});

    // Only the label further right reaches this far; nothing is hit outside the chart.
    sel.names.clear();
    sel.answer = nullptr;
    leftPress(d.w, d.at(40 + Get(d.label1, dsp::label::Width).r8() + 1, 61));
    EXPECT_EQ(sel.names, (std::vector<std::string>{"L2", "Graph1"}));
    sel.names.clear();
    leftPress(d.w, d.at(150, 100));
    EXPECT_TRUE(sel.names.empty());

    // Without bit 8 nothing is fired.
    Put(d.control, c::MouseAction, I2(4));
    leftPress(d.w, d.onLabels());
    EXPECT_TRUE(sel.names.empty());
}

TEST(ControlMouse, ObjectMenuOffersTheHitNamesAndDeletesTheChosenOneAfterAsking)
{
    Desk d;
    Put(d.control, c::MouseAction, I2(2 | 4));
    EventSink heard;
    Advised advised(d.control, heard);
    MenuScript menus;

    // No keeps the object.
    menus.picks = {"削除(&D)...", "L1"};
    d.ui.answers = {platform::vbNo};
    leftPress(d.w, d.onLabels());
    ASSERT_EQ(menus.shown.size(), 2u);
    EXPECT_EQ(texts(menus.shown[0]), (QStringList{"編集(&E)...", "移動(&M)...", "削除(&D)..."}));
    EXPECT_EQ(texts(menus.shown[1]), (QStringList{"L2", "L1", "Graph1"}));
    ASSERT_EQ(d.ui.shown.size(), 1u);
    EXPECT_EQ(d.ui.shown[0].prompt, "[L1]を削除しますか ？");
    EXPECT_EQ(d.ui.shown[0].buttons(), platform::vbYesNo);
    EXPECT_EQ(countOf(d.control, c::Labels), 2);
    // MouseDown still goes to the container.
    EXPECT_EQ(heard.calls[ev::MouseDown], 1);

    // Yes removes the one chosen in the second pop-up, not the topmost.
    menus.picks = {"削除(&D)...", "L1"};
    d.ui.answers = {platform::vbYes};
    leftPress(d.w, d.onLabels());
    EXPECT_EQ(countOf(d.control, c::Labels), 1);
    EXPECT_EQ(Get(GetObj(GetObj(d.control, c::Labels), col::Item, {I4(1)}), dsp::common::Name).toText(), "L2");

    // Dismissing the second pop-up does nothing.
    menus.picks = {"削除(&D)...", ""};
    leftPress(d.w, d.onLabels());
    EXPECT_EQ(d.ui.shown.size(), 2u);
    EXPECT_EQ(countOf(d.control, c::Labels), 1);
}

TEST(ControlMouse, EditFromEitherMenuAndTheDoubleClickOpenTheSheetOfTheirTarget)
{
    Desk d;
    sheetCalls.clear();
    lumigra::setPropertySheetOpener(recordSheet);
    MenuScript menus;
    Put(d.control, c::MouseAction, I2(2));
    menus.picks = {"編集(&E)...", "L1"};
    leftPress(d.w, d.onLabels());
    ASSERT_EQ(sheetCalls.size(), 1u);
    ASSERT_NE(sheetCalls[0].target, nullptr);
    EXPECT_EQ(sheetCalls[0].target->name(), "L1");
    EXPECT_EQ(sheetCalls[0].parent, d.w);

    menus.picks = {"編集(&E)..."};
    rightPress(d.w, d.at(150, 100));
    ASSERT_EQ(sheetCalls.size(), 2u);
    EXPECT_EQ(sheetCalls[1].target, nullptr);

    // The double click only with bit 1.
    mouse(d.w, QEvent::MouseButtonDblClick, d.at(150, 100), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(sheetCalls.size(), 2u);
    Put(d.control, c::MouseAction, I2(1));
    mouse(d.w, QEvent::MouseButtonDblClick, d.at(150, 100), Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(sheetCalls.size(), 3u);
    EXPECT_EQ(sheetCalls[2].target, nullptr);
    lumigra::setPropertySheetOpener(nullptr);
}

TEST(ControlMouse, MoveFollowsWithARubberBandAndCtrlZPutsTheObjectBack)
{
    Desk d;
    Put(d.control, c::MouseAction, I2(2));
    MenuScript menus;
    const double x0 = d.x(d.label2, dsp::label::OrgX), y0 = d.x(d.label2, dsp::label::OrgY);
    const QPointF press = d.onLabels();
    menus.picks = {"移動(&M)...", "L2"};
    leftPress(d.w, press);
    ASSERT_NE(d.band(), nullptr);
    EXPECT_TRUE(d.band()->isVisible());
    EXPECT_EQ(d.w->cursor().shape(), Qt::SizeAllCursor);
    const QRect start = d.band()->geometry();
    // The band is the label's box on the screen: it holds the press.
    EXPECT_TRUE(start.contains(press.toPoint()));

    // Following the pointer does not repaint the chart.
    host(d.control)->paintDone();
    const QPoint offset(38, -19);
    moveTo(d.w, press + offset);
    EXPECT_EQ(d.band()->geometry(), start.translated(offset));
    EXPECT_EQ(host(d.control)->pendingInvalidates(), 0);
    EXPECT_DOUBLE_EQ(d.x(d.label2, dsp::label::OrgX), x0);

    leftPress(d.w, press + offset);
    EXPECT_FALSE(d.band()->isVisible());
    EXPECT_NE(d.w->cursor().shape(), Qt::SizeAllCursor);
    const double perMm = d.s.perMm();
    EXPECT_NEAR(d.x(d.label2, dsp::label::OrgX), x0 + 38 / perMm, 1e-9);
    EXPECT_NEAR(d.x(d.label2, dsp::label::OrgY), y0 + 19 / perMm, 1e-9);
    EXPECT_EQ(menus.shown.size(), 2u); // finishing the move shows no menu
    EXPECT_DOUBLE_EQ(d.x(d.label1, dsp::label::OrgX), 40); // the other label stays

    // Z alone does nothing; with Ctrl held the label goes back, once.
    key(d.w, QEvent::KeyPress, Qt::Key_Z);
    key(d.w, QEvent::KeyRelease, Qt::Key_Z);
    EXPECT_NEAR(d.x(d.label2, dsp::label::OrgX), x0 + 38 / perMm, 1e-9);
    key(d.w, QEvent::KeyPress, Qt::Key_Control);
    key(d.w, QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NEAR(d.x(d.label2, dsp::label::OrgX), x0, 1e-9);
    EXPECT_NEAR(d.x(d.label2, dsp::label::OrgY), y0, 1e-9);
    key(d.w, QEvent::KeyRelease, Qt::Key_Z, Qt::ControlModifier);
    key(d.w, QEvent::KeyPress, Qt::Key_Control);
    key(d.w, QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NEAR(d.x(d.label2, dsp::label::OrgX), x0, 1e-9);
}

TEST(ControlMouse, MovingTheChartMovesItsPlotAreaAndAxesAndUndoRestoresThem)
{
    Desk d;
    Put(d.control, c::MouseAction, I2(2));
    MenuScript menus;
    Obj area = GetObj(d.graph, dsp::xyChart::PlotArea);
    Obj xAxis = GetObj(d.graph, dsp::xyChart::XAxis);
    menus.picks = {"移動(&M)...", "Graph1"};
    const QPointF press = d.at(100, 30);
    leftPress(d.w, press);
    leftPress(d.w, press + QPointF(-20, 10));
    const double dx = -20 / d.s.perMm(), dy = -10 / d.s.perMm();
    EXPECT_NEAR(d.x(area, dsp::rectangle::OrgX), 13 + dx, 1e-9);
    EXPECT_NEAR(d.x(area, dsp::rectangle::OrgY), 10 + dy, 1e-9);
    EXPECT_NEAR(d.x(xAxis, dsp::xyAxis::OrgX), 13 + dx, 1e-9);
    EXPECT_NEAR(d.x(xAxis, dsp::xyAxis::OrgY), 10 + dy, 1e-9);
    key(d.w, QEvent::KeyPress, Qt::Key_Control);
    key(d.w, QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NEAR(d.x(area, dsp::rectangle::OrgX), 13, 1e-9);
    EXPECT_NEAR(d.x(xAxis, dsp::xyAxis::OrgY), 10, 1e-9);
}

TEST(ControlMouse, ARightPressCancelsAPendingMove)
{
    Desk d;
    Put(d.control, c::MouseAction, I2(2));
    MenuScript menus;
    menus.picks = {"移動(&M)...", "Box"};
    const QPointF press = d.at(100, 25);
    leftPress(d.w, press);
    ASSERT_TRUE(d.band()->isVisible());
    moveTo(d.w, press + QPointF(30, 30));
    rightPress(d.w, press + QPointF(30, 30));
    EXPECT_FALSE(d.band()->isVisible());
    EXPECT_NE(d.w->cursor().shape(), Qt::SizeAllCursor);
    EXPECT_EQ(menus.shown.size(), 2u); // the cancelling press shows no edit menu
    // The next left press is an ordinary one: the box stays.
    menus.picks = {""};
    leftPress(d.w, press + QPointF(30, 30));
    EXPECT_DOUBLE_EQ(d.x(d.box, dsp::rectangle::OrgX), 90);
    EXPECT_DOUBLE_EQ(d.x(d.box, dsp::rectangle::OrgY), 20);
    // And nothing is left to undo.
    key(d.w, QEvent::KeyPress, Qt::Key_Control);
    key(d.w, QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(d.x(d.box, dsp::rectangle::OrgX), 90);
}

TEST(ControlMouse, EditMenuOffersItsItemsWithStatusTextsAndInsertsOneObjectOfTheChosenKind)
{
    Desk d;
    Put(d.control, c::MouseAction, I2(2));
    MenuScript menus;
    const QPointF empty = d.at(150, 100);
    menus.picks = {""};
    rightPress(d.w, empty);
    ASSERT_EQ(menus.shown.size(), 1u);
    const auto& top = menus.shown[0];
    EXPECT_EQ(texts(top), (QStringList{"グラフ要素の挿入(&I)", "ｺﾋﾟｰ(&C)...", "編集(&E)...", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."}));
    EXPECT_EQ(texts(top[0].submenu),
              (QStringList{"XYｸﾞﾗﾌ(&X)...", "三角ｸﾞﾗﾌ(&T)...", "極座標ｸﾞﾗﾌ(&P)...", "", "XY座標軸(&A)...",
                           "三角座標軸(&3)...", "極座標軸(E)...", "", "文字列ﾗﾍﾞﾙ(&B)...", "直線(&L)...",
                           "矢印線(&N)...", "矩形(&R)...", "ｼﾝﾎﾞﾙ(&S)...", "凡例(&G)...", "多角形(&Y)...",
                           "折れ線(&I)..."}));
    EXPECT_EQ(top[0].submenu[4].status, "XY座標軸を作成して挿入します。");
    EXPECT_EQ(top[2].status, "ﾌﾟﾛﾊﾟﾃｨｼｰﾄを表示します。");
    EXPECT_EQ(top[3].status, "ﾊﾞｰｼﾞｮﾝ情報を表示します。");
    for (const auto& item : top[0].submenu)
        EXPECT_EQ(item.text.isEmpty(), item.status.isEmpty()) << item.text.toStdString();

    struct Case {
        const char* item;
        DispId collection;
    };
    for (Case k : {Case{"矩形(&R)...", c::Rectangles}, Case{"文字列ﾗﾍﾞﾙ(&B)...", c::Labels},
                   Case{"XYｸﾞﾗﾌ(&X)...", c::XyCharts}, Case{"凡例(&G)...", c::Legends},
                   Case{"多角形(&Y)...", c::Polygons}, Case{"矢印線(&N)...", c::SymbolLines},
                   Case{"極座標軸(E)...", c::PolarAxes}}) {
        const int32_t before = countOf(d.control, k.collection);
        menus.picks = {k.item};
        rightPress(d.w, empty);
        EXPECT_EQ(countOf(d.control, k.collection), before + 1) << k.item;
    }
    // The new rectangle stands at the pointer, the chart's plot area and axes came with it.
    Obj rect = GetObj(GetObj(d.control, c::Rectangles), col::Item, {I4(3)});
    EXPECT_NEAR(d.x(rect, dsp::rectangle::OrgX), 150, 1e-9);
    EXPECT_NEAR(d.x(rect, dsp::rectangle::OrgY), 100, 1e-9);
    EXPECT_EQ(countOf(d.control, c::XyAxes), 4);

    // What was inserted is hit where it was put, topmost first: label,
    // legend, polygon, rectangle, polar axis, the new chart's x axis (its
    // marks) and the chart itself. The arrow line passes 1 mm below: missed.
    Put(d.control, c::MouseAction, I2(8));
    Selections sel;
    Advised advised(d.control, sel.sink);
    leftPress(d.w, d.at(152, 101));
    EXPECT_EQ(sel.kinds, (std::vector<int>{lumigra::lgxLabel, lumigra::lgxLegend, lumigra::lgxPolygon,
                                           lumigra::lgxRectangle, lumigra::lgxPolarAxis, lumigra::lgxXyAxis,
                                           lumigra::lgxXyChart}));

    // Copy puts the chart on the clipboard as a replayable picture.
    QGuiApplication::clipboard()->clear();
    Put(d.control, c::MouseAction, I2(2));
    menus.picks = {"ｺﾋﾟｰ(&C)..."};
    rightPress(d.w, empty);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->hasFormat(QStringLiteral("application/x-qt-picture")));

    // The about box.
    Put(d.control, c::MouseAction, I2(2));
    menus.picks = {"ﾊﾞｰｼﾞｮﾝ情報(&A)..."};
    rightPress(d.w, empty);
    ASSERT_EQ(d.ui.shown.size(), 1u);
    EXPECT_EQ(d.ui.shown[0].title, "Lumigra Works のバージョン情報");
}

} // namespace
} // namespace controltest
