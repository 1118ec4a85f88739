// The sheet of one object (the object menu's edit and the double click):
// its own kind's page with it selected, and the pages of what it draws with.
#include "Scene.h"
#include "SheetScript.h"
#include "control/LumigraCtrl.h"
#include "control/PropertySheetLink.h"
#include "model/Object.h"

namespace sheettest {
namespace {

namespace c = dsp::control;
namespace col = dsp::collection;

lumigra::LgObject* chartObject(const Obj& o)
{
    void* p = nullptr;
    EXPECT_EQ(o->QueryInterface(lumigra::IID_LgObjectInternal, &p), S_OK);
    auto* object = static_cast<lumigra::LgObject*>(p);
    object->Release(); // the Obj keeps it alive
    return object;
}

lumigra::LumigraCtrl& controlOf(const Obj& control) { return *static_cast<lumigra::LumigraCtrl*>(host(control)); }

TEST(ObjectSheet, ShowsTheObjectAndThePensItDrawsWith)
{
    Obj control = controlByClsid();
    Obj pens = GetObj(control, c::Pens);
    Obj first = CallObj(pens, col::Add, {Str("First")});
    Obj dashes = CallObj(pens, col::Add, {Str("Dashes")});
    Obj lines = GetObj(control, c::Lines);
    CallObj(lines, col::Add, {Str("Before")});
    Obj line = CallObj(lines, col::Add, {Str("Marker")});
    Put(line, dsp::line::Pen2, O(dashes));
    CallObj(GetObj(control, c::Labels), col::Add, {Str("Unrelated")});

    QStringList tabs;
    QString selectedLine, selectedPen, pen2;
    onSheet([&](QDialog* sheet) {
        tabs = tabTitles(sheet);
        QWidget* linePage = page(sheet, "Lines");
        selectedLine = linePage->findChild<QListWidget*>("objects")->currentItem()->text();
        pen2 = field<QComboBox>(linePage, "Pen2")->currentText();
        type(linePage, "ToX", "42");
        QWidget* penPage = page(sheet, "Pens");
        selectedPen = penPage->findChild<QListWidget*>("objects")->currentItem()->text();
        type(penPage, "Width", "0.25");
        press(sheet, QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(lumigra::openPropertySheet(controlOf(control), chartObject(line), nullptr));
    EXPECT_EQ(tabs, QStringList({"Lines", "Pens"}));
    EXPECT_EQ(selectedLine, "Marker");
    EXPECT_EQ(pen2, "Dashes");
    EXPECT_EQ(selectedPen, "Dashes");
    EXPECT_DOUBLE_EQ(Get(line, dsp::line::ToX).r8(), 42.0);
    EXPECT_DOUBLE_EQ(Get(dashes, dsp::pen::Width).r8(), 0.25);
    EXPECT_EQ(Get(first, dsp::pen::Width).r8(), 0.0);
    EXPECT_EQ(Get(GetObj(control, c::Pens), col::Count).i4(), 2) << "reading the sheet's references made no pen";
}

TEST(ObjectSheet, AnAxisSheetReachesItsTick)
{
    Obj control = controlByClsid();
    Obj axis = CallObj(GetObj(control, c::XyAxes), col::Add, {Str("Bottom")});
    Obj tick = GetObj(axis, dsp::xyAxis::Tick);
    QStringList tabs;
    onSheet([&](QDialog* sheet) {
        tabs = tabTitles(sheet);
        type(page(sheet, "Tick"), "MarkLength", "4.5");
        press(sheet, QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(lumigra::openPropertySheet(controlOf(control), chartObject(axis), nullptr));
    EXPECT_EQ(tabs, QStringList({"XyAxes", "Tick"}));
    EXPECT_DOUBLE_EQ(Get(tick, dsp::xyTick::MarkLength).r8(), 4.5);
}

} // namespace
} // namespace sheettest

namespace sheettest {
namespace {

TEST(WholeChartSheet, VisitingEveryObjectOfThePlotWindowsChartChangesNothing)
{
    Obj control = controlByClsid();
    buildSpectrumChart(control);
    host(control)->setModified(false);
    const std::string before = textOf(control);
    int visited = 0, ticks = 0;
    QStringList tabs;
    onSheet([&](QDialog* sheet) {
        tabs = tabTitles(sheet);
        ticks = page(sheet, "Tick")->findChild<QListWidget*>("objects")->count();
        for (const QString& title : tabs) {
            auto* list = page(sheet, title)->findChild<QListWidget*>("objects");
            for (int row = 0; row < list->count(); ++row, ++visited)
                list->setCurrentRow(row);
        }
        press(sheet, QDialogButtonBox::Ok);
    });
    ASSERT_TRUE(Call(control, dsp::control::Dialog).boolean());
    EXPECT_EQ(tabs.front(), "Lumigra");
    EXPECT_TRUE(tabs.contains("XyCharts") && tabs.contains("XyAxes") && tabs.contains("DataCollection")) << tabs.join(",").toStdString();
    EXPECT_GT(visited, 8);
    EXPECT_EQ(ticks, Get(GetObj(control, dsp::control::XyAxes), dsp::collection::Count).i4()) << "one tick per axis";
    EXPECT_EQ(textOf(control), before) << "OK without an edit applies nothing";
    EXPECT_FALSE(host(control)->isModified());
}

} // namespace
} // namespace sheettest
