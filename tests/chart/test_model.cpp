// Setter rules, errors and collections of the control and its objects,
// as a host sees them through dispatch.
#include "ChartHost.h"

using namespace charttest;
namespace c = dsp::control;
namespace col = dsp::collection;

namespace {

int32_t count(const Obj& control, DispId collection) { return Get(GetObj(control, collection), col::Count).i4(); }

} // namespace

TEST(ChartControl, PropertyRulesAndChangeNotification)
{
    Obj control = newControl();
    auto* h = host(control);
    EXPECT_FALSE(h->isModified());
    Put(control, c::MaxLoop, I4(999));
    EXPECT_EQ(Get(control, c::MaxLoop).i4(), 20000);
    EXPECT_FALSE(h->isModified());
    Put(control, c::MaxLoop, I4(1000));
    EXPECT_EQ(Get(control, c::MaxLoop).i4(), 1000);
    EXPECT_TRUE(h->isModified());
    EXPECT_EQ(h->pendingInvalidates(), 1);

    Put(control, c::BackMode, I2(4));
    Put(control, c::OLEDragMode, I2(2));
    Put(control, c::OLEDropMode, I2(3));
    EXPECT_EQ(Get(control, c::BackMode).i2(), 0);
    EXPECT_EQ(Get(control, c::OLEDragMode).i2(), 1);
    EXPECT_EQ(Get(control, c::OLEDropMode).i2(), 2);
    Put(control, c::BackMode, I2(3));
    EXPECT_EQ(Get(control, c::BackMode).i2(), 3);

    // ExactScale changes only with its truth value.
    Put(control, c::ExactScale, Bool(true));
    h->setModified(false);
    h->paintDone();
    Put(control, c::ExactScale, I2(5));
    EXPECT_FALSE(h->isModified());
    EXPECT_EQ(h->pendingInvalidates(), 0);

    // Repaint requests coalesce until the next paint; none without AutoRedraw.
    Put(control, c::OrgX, R8(3));
    Put(control, c::OrgY, R8(4));
    EXPECT_EQ(h->pendingInvalidates(), 1);
    h->paintDone();
    Put(control, c::AutoRedraw, Bool(false));
    h->paintDone();
    Put(control, c::ScaleFactor, R8(2));
    EXPECT_EQ(h->pendingInvalidates(), 0);
    EXPECT_TRUE(h->isModified());

    // Read-only properties answer with the framework's status.
    Raised r = invokeRaw(control, c::LowerBound, DISPATCH_PROPERTYPUT, {I4(0)});
    EXPECT_EQ(r.status, CTL_E_SETNOTSUPPORTED);
    EXPECT_EQ(Get(control, c::LowerBound).i4(), 1);
    EXPECT_EQ(Call(control, c::GetVersion).i2(), 120);
}

TEST(ChartControl, ScaleHeightAndWidthFollowTheExtent)
{
    Obj control = newControl();
    auto* h = host(control);
    h->setExtent(480, 240, 96, 96);
    EXPECT_DOUBLE_EQ(Get(control, c::ScaleWidth).r8(), 127.0);
    EXPECT_DOUBLE_EQ(Get(control, c::ScaleHeight).r8(), 63.5);
    Put(control, c::ScaleHeight, R8(80)); // refused: nothing stored yet
    Put(control, c::ExactScale, Bool(true));
    EXPECT_DOUBLE_EQ(Get(control, c::ScaleHeight).r8(), 63.5);
    Put(control, c::ScaleHeight, R8(80));
    h->setExtent(960, 960, 96, 96);
    EXPECT_DOUBLE_EQ(Get(control, c::ScaleHeight).r8(), 80.0);
    Put(control, c::ScaleWidth, R8(10));
    EXPECT_DOUBLE_EQ(Get(control, c::ScaleWidth).r8(), 254.0);
}

TEST(ChartControl, MaxElementsRebuildsEveryCollection)
{
    Obj control = newControl();
    CallObj(GetObj(control, c::Pens), col::Add, {I2(3)});
    Obj old = GetObj(control, c::Pens);
    Put(control, c::MaxElements, I4(500));
    EXPECT_EQ(count(control, c::Pens), 3);
    Put(control, c::MaxElements, I4(20));
    EXPECT_EQ(count(control, c::Pens), 0);
    EXPECT_NE(GetObj(control, c::Pens).get(), old.get());
    // The capacity grows beyond MaxElements when elements are added.
    CallObj(GetObj(control, c::Lines), col::Add, {I2(25)});
    EXPECT_EQ(count(control, c::Lines), 25);
}

TEST(ChartControl, CollectionsInTheirOrderWithIdsAndPaintOrders)
{
    Obj control = newControl();
    struct Row {
        DispId property;
        const char* name;
        int objectId;
        int paintOrder;
    } rows[] = {{7, "PictureHolders", 20, 0}, {8, "Pens", 4, 0},          {9, "Brushes", 2, 0},
                {10, "Symbols", 29, 10},      {11, "Rectangles", 27, 7},  {12, "Lines", 18, 11},
                {14, "FontHolders", 6, 0},    {13, "Labels", 12, 14},     {22, "SymbolLines", 8, 12},
                {52, "Polygons", 39, 8},      {53, "Polylines", 41, 9},   {15, "DataCollection", 10, 0},
                {4, "XyAxes", 36, 4},         {29, "TriangularAxes", 31, 5}, {30, "PolarAxes", 22, 6},
                {16, "XyCharts", 38, 1},      {23, "TriangularCharts", 33, 2}, {28, "PolarCharts", 24, 3},
                {17, "Legends", 14, 13}};
    int index = 1;
    for (auto& row : rows) {
        Obj collection = GetObj(control, row.property);
        EXPECT_EQ(Get(collection, dsp::common::Name).str(), row.name);
        EXPECT_EQ(Get(collection, dsp::common::ObjectID).i4(), row.objectId) << row.name;
        EXPECT_EQ(Get(collection, col::PaintOrder).i4(), row.paintOrder) << row.name;
        EXPECT_EQ(Get(collection, dsp::common::Index).i4(), index++) << row.name;
        EXPECT_EQ(GetObj(control, row.property).get(), collection.get());
    }
    EXPECT_EQ(dispIdOf(control.get(), "symbollines"), 22);
}

TEST(ChartControl, SwapPaintOrderRefusals)
{
    Obj control = newControl();
    Obj other = newControl();
    Obj charts = GetObj(control, c::XyCharts), labels = GetObj(control, c::Labels);
    EXPECT_FALSE(Call(control, c::SwapPaintOrder, {O(charts), O(charts)}).boolean());
    EXPECT_FALSE(Call(control, c::SwapPaintOrder, {O(charts), O(GetObj(control, c::Pens))}).boolean());
    EXPECT_FALSE(Call(control, c::SwapPaintOrder, {O(charts), O(GetObj(other, c::Labels))}).boolean());
    EXPECT_EQ(Get(charts, col::PaintOrder).i4(), 1);
    EXPECT_TRUE(Call(control, c::SwapPaintOrder, {O(charts), O(labels)}).boolean());
    EXPECT_EQ(Get(charts, col::PaintOrder).i4(), 14);
    EXPECT_EQ(Get(labels, col::PaintOrder).i4(), 1);
}

TEST(ChartObjects, ErrorsCarryCodeTextSourceAndStatus)
{
    Obj control = newControl();
    Obj pens = GetObj(control, c::Pens);
    Obj a = CallObj(pens, col::Add, {Str("A")});
    Obj b = CallObj(pens, col::Add, {Str("B")});
    EXPECT_EQ(Get(a, dsp::common::Index).i4(), 1);
    EXPECT_EQ(Get(b, dsp::common::Index).i4(), 2);

    Raised taken = invokeRaw(b, dsp::common::Name, DISPATCH_PROPERTYPUT, {Str("A")});
    EXPECT_EQ(taken.status, DISP_E_EXCEPTION);
    EXPECT_EQ(taken.info.wCode, 1006);
    EXPECT_EQ(taken.info.description, "同じ名前が既に存在しています。");
    EXPECT_EQ(taken.info.source, "B");
    EXPECT_EQ(static_cast<uint32_t>(taken.info.scode), 0x80040205u);
    EXPECT_EQ(Get(b, dsp::common::Name).str(), "B");

    auto* h = host(control);
    h->setModified(false);
    Put(b, dsp::common::Name, Str("B"));
    EXPECT_FALSE(h->isModified());
    Put(b, dsp::common::Name, Str(""));
    EXPECT_EQ(Get(b, dsp::common::Name).str().rfind("Pen:", 0), 0u);

    Raised addTaken = invokeRaw(pens, col::Add, DISPATCH_METHOD, {Str("A")});
    EXPECT_EQ(addTaken.info.wCode, 1006);
    EXPECT_EQ(addTaken.info.source, "Pens");
    Raised badCount = invokeRaw(pens, col::Add, DISPATCH_METHOD, {Variant::makeArray(VT_I2, 0, 1)});
    EXPECT_EQ(badCount.info.wCode, 1003);
    EXPECT_EQ(badCount.info.description, "変数や引数の型が不正、添え字が範囲外、不正な名前等のエラーです。.");
    EXPECT_EQ(static_cast<uint32_t>(badCount.info.scode), 0x80040202u);
    EXPECT_EQ(invokeRaw(pens, col::Item, DISPATCH_METHOD, {I4(3)}).info.wCode, 1003);
    EXPECT_EQ(invokeRaw(pens, col::Item, DISPATCH_METHOD, {Str("Z")}).info.wCode, 1003);
    EXPECT_EQ(invokeRaw(pens, col::Remove, DISPATCH_METHOD, {I4(0)}).info.wCode, 1003);
    Raised readOnly = invokeRaw(a, dsp::common::Index, DISPATCH_PROPERTYPUT, {I4(5)});
    EXPECT_EQ(readOnly.info.wCode, 1008);
    EXPECT_EQ(static_cast<uint32_t>(readOnly.info.scode), 0x80040207u);
    EXPECT_EQ(GetObj(pens, col::Item, {Str("A")}).get(), a.get());
    EXPECT_EQ(GetObj(pens, col::Item, {I4(2)}).get(), b.get());

    // A host error of the code and text, by the host-side helper.
    try {
        Put(b, dsp::common::Name, Str("A"));
        FAIL();
    } catch (const platform::BasicError& e) {
        EXPECT_EQ(e.number(), 1006);
        EXPECT_EQ(e.description(), "同じ名前が既に存在しています。");
    }
}

TEST(ChartObjects, CopyWithinAndAcrossControls)
{
    Obj control = newControl();
    Obj other = newControl();
    Obj a = CallObj(GetObj(control, c::Pens), col::Add, {Str("A")});
    Obj b = CallObj(GetObj(control, c::Pens), col::Add, {Str("B")});
    Obj foreign = CallObj(GetObj(other, c::Pens), col::Add, {Str("F")});
    Put(a, dsp::pen::Width, R8(0.3));
    Put(a, dsp::pen::Color, I4(255));
    Put(a, dsp::pen::Style, I2(61));
    Call(a, dsp::common::Copy, {O(b)});
    EXPECT_EQ(Get(b, dsp::pen::Width).r8(), 0.3);
    EXPECT_EQ(Get(b, dsp::pen::Color).i4(), 255);
    EXPECT_EQ(Get(b, dsp::pen::Style).i2(), 61);
    EXPECT_EQ(Get(b, dsp::common::Name).str(), "B");
    EXPECT_EQ(Get(b, dsp::common::Index).i4(), 2);
    EXPECT_EQ(Get(a, dsp::pen::Width).r8(), 0.3);

    Raised across = invokeRaw(a, dsp::common::Copy, DISPATCH_METHOD, {O(foreign)});
    EXPECT_EQ(across.info.wCode, 1005);
    EXPECT_EQ(across.info.description, "別のコントロールのオブジェクトを追加しようとしました。");
    EXPECT_EQ(Get(foreign, dsp::pen::Width).r8(), 0.0);

    Obj line = CallObj(GetObj(control, c::Lines), col::Add);
    EXPECT_EQ(invokeRaw(line, dsp::line::Pen1, DISPATCH_PROPERTYPUTREF, {O(foreign)}).info.wCode, 1005);
    EXPECT_EQ(invokeRaw(line, dsp::line::Pen1, DISPATCH_PROPERTYPUTREF, {O(line)}).info.wCode, 1011);
    Put(line, dsp::line::Pen1, O(a));
    EXPECT_EQ(Get(a, dsp::common::RefCount, {I2(lumigra::lgParents)}).i4(), 1);
    EXPECT_EQ(Get(a, dsp::common::RefCount, {I2(lumigra::lgUsers)}).i4(), 2);
    EXPECT_EQ(Get(a, dsp::common::RefCount, {I2(7)}).i4(), 0);

    // Pen style outside the table is ignored; monochrome reads colours.
    Put(a, dsp::pen::Style, I2(62));
    EXPECT_EQ(Get(a, dsp::pen::Style).i2(), 61);
    Put(a, dsp::pen::Color, I4(0x64C8C8)); // RGB(200, 200, 100)
    Put(control, c::Monochrome, Bool(true));
    EXPECT_EQ(Get(a, dsp::pen::Color).i4(), 0);
    Put(a, dsp::pen::Color, I4(0xC8C8C8));
    EXPECT_EQ(Get(a, dsp::pen::Color).i4(), 0xFFFFFF);
}

TEST(ChartObjects, CreationOnDemandAndClone)
{
    Obj control = newControl();
    Obj graph = CallObj(GetObj(control, c::XyCharts), col::Add, {Str("Graph1")});
    EXPECT_EQ(count(control, c::Rectangles), 0);
    Obj area = GetObj(graph, dsp::xyChart::PlotArea);
    EXPECT_EQ(count(control, c::Rectangles), 1);
    EXPECT_EQ(GetObj(graph, dsp::xyChart::PlotArea).get(), area.get());
    Obj y = GetObj(graph, dsp::xyChart::YAxis);
    EXPECT_EQ(Get(y, dsp::xyAxis::Orientation).i2(), 21);
    Obj x = GetObj(graph, dsp::xyChart::XAxis);
    EXPECT_EQ(count(control, c::XyAxes), 2);
    Obj symbol = CallObj(graph, dsp::chart::GetSymbol, {I2(2)});
    Put(symbol, dsp::symbol::Width, R8(2));
    EXPECT_EQ(GetObj(graph, dsp::chart::MarkerSymbol).get(), symbol.get());
    EXPECT_EQ(invokeRaw(graph, dsp::chart::GetSymbol, DISPATCH_METHOD, {I2(4)}).info.wCode, 1003);

    Obj data = CallObj(GetObj(control, c::DataCollection), col::Add, {Str("clone2")});
    Obj clone = CallObj(graph, dsp::xyChart::Clone, {Str("ｸﾞﾗﾌ2"), O(data)});
    EXPECT_EQ(Get(clone, dsp::common::Name).str(), "ｸﾞﾗﾌ2");
    EXPECT_EQ(count(control, c::XyCharts), 2);
    EXPECT_EQ(count(control, c::XyAxes), 2);
    EXPECT_EQ(count(control, c::Rectangles), 1);
    EXPECT_EQ(GetObj(clone, dsp::xyChart::XAxis).get(), x.get());
    EXPECT_EQ(GetObj(clone, dsp::xyChart::PlotArea).get(), area.get());
    EXPECT_EQ(GetObj(clone, dsp::chart::Data).get(), data.get());
    Obj cloneSymbol = CallObj(clone, dsp::chart::GetSymbol, {I2(2)});
    EXPECT_NE(cloneSymbol.get(), symbol.get());
    EXPECT_EQ(Get(cloneSymbol, dsp::symbol::Width).r8(), 2.0);
    Put(cloneSymbol, dsp::symbol::Width, R8(5));
    EXPECT_EQ(Get(symbol, dsp::symbol::Width).r8(), 2.0);
    EXPECT_EQ(count(control, c::Symbols), 2);
}

TEST(ChartData, SlotsTypesExtremesAndFiles)
{
    Obj control = newControl();
    Obj data = CallObj(GetObj(control, c::DataCollection), col::Add);
    Variant values = Variant::makeArray(VT_R8, 1, 4);
    double v[] = {3.5, -1, 9.25, -7};
    for (int i = 0; i < 4; ++i)
        values.at(i) = R8(v[i]);
    EXPECT_EQ(invokeRaw(data, dsp::data::SetData, DISPATCH_METHOD, {I2(0), values}).info.wCode, 1003);
    EXPECT_EQ(invokeRaw(data, dsp::data::SetData, DISPATCH_METHOD, {I2(5), values}).info.wCode, 1003);
    EXPECT_EQ(invokeRaw(data, dsp::data::SetData, DISPATCH_METHOD, {I2(1), R8(2)}).info.wCode, 1003);
    Variant grid = Variant::makeArray(VT_R8, {{0, 2}, {0, 2}});
    EXPECT_EQ(invokeRaw(data, dsp::data::SetData, DISPATCH_METHOD, {I2(1), grid}).info.wCode, 1003);
    EXPECT_TRUE(Call(data, dsp::data::SetData, {I2(1), values}).boolean());
    EXPECT_EQ(Get(data, dsp::data::Type, {I2(1)}).i2(), lumigra::lgDataDouble);
    EXPECT_EQ(Call(data, dsp::data::LBound, {I2(1)}).i4(), 1);
    EXPECT_EQ(Call(data, dsp::data::UBound, {I2(1)}).i4(), 4);
    EXPECT_EQ(Call(data, dsp::data::Max, {I2(1)}).r8(), 9.25);
    EXPECT_EQ(Call(data, dsp::data::Min, {I2(1)}).r8(), -7.0);
    Call(data, dsp::data::SetMissingValue, {I2(1), I2(-7)});
    EXPECT_EQ(Call(data, dsp::data::Min, {I2(1)}).r8(), -1.0);
    Call(data, dsp::data::SetElement, {I2(1), I4(3), Str("12")});
    EXPECT_EQ(Call(data, dsp::data::Max, {I2(1)}).r8(), 12.0);
    EXPECT_EQ(invokeRaw(data, dsp::data::SetElement, DISPATCH_METHOD, {I2(1), I4(5), R8(1)}).info.wCode, 1003);
    EXPECT_EQ(invokeRaw(data, dsp::data::Max, DISPATCH_METHOD, {I2(0)}).info.wCode, 1003);
    EXPECT_EQ(invokeRaw(data, dsp::data::Max, DISPATCH_METHOD, {I2(2)}).info.wCode, 1003);
    Call(data, dsp::data::SetData, {I2(1), Variant()});
    EXPECT_EQ(Get(data, dsp::data::Type, {I2(1)}).i2(), lumigra::lgDataUndefined);

    // Dates round outward to the unit asked for: 2024-02-10 06:00 and 2024-03-05.
    Variant dates = Variant::makeArray(VT_DATE, 0, 2);
    dates.at(0) = Variant::fromDate(45332.25);
    dates.at(1) = Variant::fromDate(45356.0);
    Call(data, dsp::data::SetData, {I2(2), dates});
    EXPECT_EQ(Call(data, dsp::data::MinTime, {I2(2), I2(lumigra::lgMonth)}).r8(), 45323.0); // 2024-02-01
    EXPECT_EQ(Call(data, dsp::data::MaxTime, {I2(2), I2(lumigra::lgMonth)}).r8(), 45383.0); // 2024-04-01
    EXPECT_EQ(Call(data, dsp::data::MinTime, {I2(2), I2(lumigra::lgDay)}).r8(), 45332.0);
    EXPECT_EQ(Call(data, dsp::data::MaxTime, {I2(2), I2(lumigra::lgYear)}).r8(), 45658.0); // 2025-01-01

    std::string file = testDataHome() + "/columns.csv";
    FILE* f = fopen(file.c_str(), "w");
    fputs("1,a\r\n2.5,\"b,c\"\r\n-3,d\r\n", f);
    fclose(f);
    Put(data, dsp::data::DataFile, Str(file));
    EXPECT_TRUE(Call(data, dsp::data::GetDataFromFile, {I2(27)}).boolean());
    EXPECT_EQ(Call(data, dsp::data::Max, {I2(1)}).r8(), 2.5);
    EXPECT_EQ(Call(data, dsp::data::GetElement, {I2(2), I4(2)}).str(), "b,c");
    EXPECT_EQ(invokeRaw(data, dsp::data::GetDataFromFile, DISPATCH_METHOD, {I2(1)}).info.wCode, 1003);
}
