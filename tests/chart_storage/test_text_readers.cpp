// Object texts that readers of other versions can follow: a field wider
// than ours loses nothing after it, the axis's added fields are wrapped so
// that a reader knowing only the published keys (published_keys_reader.py) walks
// past every axis, and texts written before the wrapping still load.
#include <QJsonArray>

#include "PlotWindowChart.h"
#include "StorageHost.h"

using namespace charttest;
using namespace storagetest;

namespace {

namespace c = dsp::control;
namespace col = dsp::collection;

std::string block(const Bytes& b)
{
    uint32_t size = static_cast<uint32_t>(b.s.size());
    return std::string(reinterpret_cast<const char*>(&size), 4) + b.s + std::string(1, '\0');
}

bool restoreText(const Obj& control, const std::string& text)
{
    return host(control)->restoreObjectText(reinterpret_cast<const uint8_t*>(text.data()), text.size(), false);
}

QJsonObject publishedKeysRead(const std::string& text)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("chart.txt");
    testsupport::writeAll(path, text);
    std::string output;
    testsupport::run(std::string(RAYLEN_PYTHON) + " " + RAYLEN_TEST_DIR + "/published_keys_reader.py " + path, &output);
    return QJsonDocument::fromJson(QByteArray::fromStdString(output)).object();
}

const char* const collectionNames[] = {"PictureHolders", "Pens", "Brushes", "Rectangles", "Lines", "FontHolders",
                                       "Labels", "Symbols", "SymbolLines", "DataCollection", "XyAxes",
                                       "TriangularAxes", "PolarAxes", "XyCharts", "TriangularCharts", "PolarCharts",
                                       "Legends", "Polygons", "Polylines"};
const DispId collectionIds[] = {c::PictureHolders, c::Pens, c::Brushes, c::Rectangles, c::Lines, c::FontHolders,
                                c::Labels, c::Symbols, c::SymbolLines, c::DataCollection, c::XyAxes,
                                c::TriangularAxes, c::PolarAxes, c::XyCharts, c::TriangularCharts, c::PolarCharts,
                                c::Legends, c::Polygons, c::Polylines};

Obj item(const Obj& control, DispId collection, int index)
{
    return CallObj(GetObj(control, collection), col::Item, {I4(index)});
}

double number(const QJsonValue& v) { return v.toDouble(); }

// Every object of every collection found, in order, begun and ended, and
// the known values of axes, labels, pens and charts as the control has them.
void expectWalked(const Obj& control, const QJsonObject& read)
{
    QJsonObject collections = read["collections"].toObject();
    ASSERT_EQ(collections.size(), 19);
    int objects = 0;
    for (size_t k = 0; k < std::size(collectionNames); ++k) {
        SCOPED_TRACE(collectionNames[k]);
        QJsonObject r = collections[collectionNames[k]].toObject();
        EXPECT_TRUE(r["begun"].toBool());
        EXPECT_TRUE(r["ended"].toBool());
        EXPECT_EQ(r["name"].toString().toStdString(), collectionNames[k]);
        QJsonArray elements = r["elements"].toArray();
        ASSERT_EQ(elements.size(), Get(GetObj(control, collectionIds[k]), col::Count).i4());
        for (int i = 0; i < elements.size(); ++i) {
            QJsonObject e = elements[i].toObject();
            EXPECT_TRUE(e["begun"].toBool());
            EXPECT_TRUE(e["ended"].toBool()) << i;
            EXPECT_EQ(e["name"].toString().toStdString(),
                      Get(item(control, collectionIds[k], i + 1), dsp::common::Name).str());
            ++objects;
        }
    }
    EXPECT_GT(objects, 50);
    QJsonArray axes = collections["XyAxes"].toObject()["elements"].toArray();
    for (int i = 0; i < axes.size(); ++i) {
        Obj axis = item(control, c::XyAxes, i + 1);
        QJsonObject f = axes[i].toObject()["fields"].toObject();
        EXPECT_EQ(number(f["Length="]), Get(axis, dsp::xyAxis::Length).r8());
        EXPECT_EQ(number(f["Orientation="]), Get(axis, dsp::xyAxis::Orientation).i2());
        EXPECT_EQ(number(f["CustomTick"]), Get(axis, dsp::xyAxis::CustomTick).i2());
    }
    QJsonArray labels = collections["Labels"].toObject()["elements"].toArray();
    for (int i = 0; i < labels.size(); ++i) {
        Obj label = item(control, c::Labels, i + 1);
        QJsonObject f = labels[i].toObject()["fields"].toObject();
        EXPECT_EQ(f["String1="].toString().toStdString(), Get(label, dsp::label::String1).str());
        EXPECT_EQ(number(f["OrgX="]), Get(label, dsp::label::OrgX).r8());
        EXPECT_EQ(number(f["OrgY="]), Get(label, dsp::label::OrgY).r8());
    }
    QJsonArray pens = collections["Pens"].toObject()["elements"].toArray();
    for (int i = 0; i < pens.size(); ++i) {
        Obj pen = item(control, c::Pens, i + 1);
        QJsonObject f = pens[i].toObject()["fields"].toObject();
        EXPECT_EQ(number(f["Width="]), Get(pen, dsp::pen::Width).r8());
        EXPECT_EQ(number(f["Color="]), Get(pen, dsp::pen::Color).i4());
    }
    QJsonArray legends = collections["Legends"].toObject()["elements"].toArray();
    for (int i = 0; i < legends.size(); ++i) {
        Obj items = GetObj(item(control, c::Legends, i + 1), dsp::legend::Items);
        QJsonObject r = legends[i].toObject()["items"].toObject();
        EXPECT_TRUE(r["ended"].toBool());
        QJsonArray elements = r["elements"].toArray();
        ASSERT_EQ(elements.size(), Get(items, col::Count).i4());
        for (int k = 0; k < elements.size(); ++k) {
            QJsonObject e = elements[k].toObject();
            EXPECT_TRUE(e["ended"].toBool());
            EXPECT_EQ(e["name"].toString().toStdString(),
                      Get(CallObj(items, col::Item, {I4(k + 1)}), dsp::common::Name).str());
            EXPECT_EQ(number(e["fields"].toObject()["Chart="]), 1);
        }
    }
    QJsonArray charts = collections["XyCharts"].toObject()["elements"].toArray();
    for (int i = 0; i < charts.size(); ++i) {
        Obj chart = item(control, c::XyCharts, i + 1);
        QJsonObject own = charts[i].toObject()["own"].toObject();
        EXPECT_TRUE(own["ended"].toBool());
        EXPECT_EQ(number(own["fields"].toObject()["YAxis="]),
                  Get(GetObj(chart, dsp::xyChart::YAxis), dsp::common::Index).i4() - 1);
    }
}

Obj plotChartWithCustomTicks()
{
    Obj control = buildPlotWindowChart();
    Obj axisX = GetObj(item(control, c::XyCharts, 1), dsp::xyChart::XAxis);
    Put(axisX, dsp::xyAxis::CustomTick, I2(2));
    Variant pos = Variant::makeArray(VT_R8, 0, 3);
    for (int i = 0; i < 3; ++i)
        pos.at(i) = Variant::fromR8(4000.5 + i * 0.5);
    Put(axisX, dsp::xyAxis::TickPositions, pos);
    // Beside the plot window's kinds, a legend with an item and an arrow line.
    Obj legend = CallObj(GetObj(control, c::Legends), col::Add, {Str("Key")});
    Obj key = CallObj(GetObj(legend, dsp::legend::Items), col::Add, {Str("Spectrum")});
    Put(key, dsp::legendItem::Chart, O(item(control, c::XyCharts, 2)));
    Put(GetObj(key, dsp::legendItem::Label), dsp::label::String1, Str("Hα"));
    Obj arrow = CallObj(GetObj(control, c::SymbolLines), col::Add, {Str("Arrow")});
    GetObj(arrow, dsp::symbolLine::EndSymbol);
    return control;
}

} // namespace

TEST(ChartTextReaders, AFieldWiderThanOursLosesNothingAfterIt)
{
    // Another version writes the pen's width in ten bytes, zeros included.
    Bytes b;
    b.text("Lumigra:", "").rec<int16_t>("Version=", 120);
    b.text("Begin Collection", "{").text("Name=", "PictureHolders").rec<int32_t>("Elements=", 0);
    b.text("End Collection", "}");
    b.text("Begin Collection", "{").text("Name=", "Pens").rec<int32_t>("Elements=", 2);
    b.marker("Begin Object:Pen").text("Name=", "Wide").rec<int16_t>("Style=", 54);
    double width = 0.75;
    b.s += "Width=" + std::string(reinterpret_cast<const char*>(&width), 8) + std::string("\0\0", 2) + "\n";
    b.rec<int32_t>("Color=", 0x123456).b("Enabled=", true).marker("End Object:Pen");
    b.rec<int32_t>("RefCount=", 1).rec<int32_t>("Tag=", 7);
    b.marker("Begin Object:Pen").text("Name=", "After").rec<double>("Width=", 0.25).marker("End Object:Pen");
    b.rec<int32_t>("RefCount=", 1).rec<int32_t>("Tag=", 8);
    b.rec<int32_t>("Tag=", 0).text("End Collection", "}");

    Obj control = newControl();
    ASSERT_TRUE(restoreText(control, block(b)));
    Obj pens = GetObj(control, c::Pens);
    ASSERT_EQ(Get(pens, col::Count).i4(), 2);
    Obj wide = CallObj(pens, col::Item, {I4(1)});
    EXPECT_EQ(Get(wide, dsp::pen::Width).r8(), 0.75);
    EXPECT_EQ(Get(wide, dsp::pen::Color).i4(), 0x123456);
    EXPECT_EQ(Get(wide, dsp::common::Tag).i4(), 7);
    Obj after = CallObj(pens, col::Item, {I4(2)});
    EXPECT_EQ(Get(after, dsp::common::Name).str(), "After");
    EXPECT_EQ(Get(after, dsp::pen::Width).r8(), 0.25);
    EXPECT_EQ(Get(after, dsp::common::Tag).i4(), 8);
}

TEST(ChartTextReaders, TheAxisWrapsWhatItAddsInOneTextRecord)
{
    Obj control = newControl();
    Obj axis = CallObj(GetObj(control, c::XyAxes), col::Add, {Str("Wave")});
    Put(axis, dsp::xyAxis::Length, R8(120.0));
    Obj tick = GetObj(axis, dsp::xyAxis::Tick);
    Put(tick, dsp::common::Name, Str("T"));
    std::string record = collectionRecord(textOf(control), "XyAxes");
    const std::string custom = std::string("CustomTick\0\0\n", 13);
    size_t at = record.find(custom);
    ASSERT_NE(at, std::string::npos);
    size_t end = record.find('\n', at + custom.size());
    std::string added = record.substr(at + custom.size(), end + 1 - at - custom.size());
    EXPECT_EQ(record.substr(end + 1, 18), "End Object:XyAxis\n");
    ASSERT_EQ(added.substr(0, 6), "Added=");
    std::string hex = added.substr(6, added.size() - 7);
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);

    std::string inner;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        inner += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    static const char headBytes[] = "TickPositions=\0\0\nTickValues=\0\0\nTick=\1\0\nBegin Object:Tick\nName=T\nLevel=\0\0\n";
    static const char tailBytes[] = "End Object:Tick\nMinimumSelection=)\0\nMaximumSelection=)\0\n";
    const std::string head(headBytes, sizeof headBytes - 1), tail(tailBytes, sizeof tailBytes - 1);
    EXPECT_EQ(inner.substr(0, head.size()), head);
    ASSERT_GE(inner.size(), tail.size());
    EXPECT_EQ(inner.substr(inner.size() - tail.size()), tail);
}

TEST(ChartTextReaders, AReaderOfThePublishedKeysWalksThePlotWindowsChart)
{
    if (!testsupport::requirePython("json"))
        return;
    Obj control = plotChartWithCustomTicks();
    QJsonObject read = publishedKeysRead(textOf(control));
    ASSERT_FALSE(read.isEmpty());
    EXPECT_EQ(read["collections"].toObject()["Legends"].toObject()["elements"].toArray().size(), 1);
    EXPECT_EQ(read["header"].toObject()["Version="].toInt(), 120);
    expectWalked(control, read);
}

TEST(ChartTextReaders, TextsWrittenBeforeTheWrappingStillLoad)
{
    // Written by the build before the axis wrapped its added fields: the
    // published reader stops at the first axis, ours reads all of it.
    const std::string old = testsupport::readAll(std::string(RAYLEN_TEST_DIR) + "/../chart/fixtures/plot_chart_unwrapped_axis.bin");
    ASSERT_GT(old.size(), 17000u);
    QJsonObject stuck = publishedKeysRead(old)["collections"].toObject();
    EXPECT_FALSE(stuck["XyAxes"].toObject()["ended"].toBool());

    Obj control = newControl();
    host(control)->setExtent(540, 426, 96, 96);
    ASSERT_TRUE(restoreText(control, old));
    Obj axisX = GetObj(item(control, c::XyCharts, 1), dsp::xyChart::XAxis);
    EXPECT_EQ(Get(axisX, dsp::xyAxis::CustomTick).i2(), 2);
    Variant positions = Get(axisX, dsp::xyAxis::TickPositions);
    ASSERT_TRUE(positions.isArray());
    ASSERT_EQ(positions.elementCount(), 3u);
    EXPECT_EQ(positions.at(2).r8(), 4001.5);
    Variant values = Get(axisX, dsp::xyAxis::TickValues);
    ASSERT_TRUE(values.isArray());
    EXPECT_EQ(values.lbound(), 1);
    EXPECT_EQ(values.at(0).str(), "L0");
    EXPECT_EQ(Get(axisX, dsp::xyAxis::MinimumSelection).i2(), 40);
    EXPECT_EQ(Get(axisX, dsp::xyAxis::MaximumSelection).i2(), 41);
    EXPECT_EQ(Get(GetObj(GetObj(axisX, dsp::xyAxis::Tick), dsp::xyTick::LabelFont), dsp::font::TypeFace).str(),
              "Century");
    EXPECT_EQ(Get(GetObj(control, c::Labels), col::Count).i4(), 4);

    // Saved again it takes the wrapped form, which the published reader walks.
    if (testsupport::requirePython("json"))
        expectWalked(control, publishedKeysRead(textOf(control)));
}

TEST(ChartTextReaders, CopyCarriesTheWrappedFieldsAndKeepsTheTargetsNames)
{
    Obj control = plotChartWithCustomTicks();
    Obj axisX = GetObj(item(control, c::XyCharts, 1), dsp::xyChart::XAxis);
    Obj other = CallObj(GetObj(control, c::XyAxes), col::Add, {Str("Other")});
    Obj otherTick = GetObj(other, dsp::xyAxis::Tick);
    Put(otherTick, dsp::common::Name, Str("OtherTick"));
    Call(axisX, dsp::common::Copy, {O(other)});
    EXPECT_EQ(Get(other, dsp::common::Name).str(), "Other");
    EXPECT_EQ(Get(other, dsp::xyAxis::CustomTick).i2(), 2);
    Variant positions = Get(other, dsp::xyAxis::TickPositions);
    ASSERT_TRUE(positions.isArray());
    EXPECT_EQ(positions.at(1).r8(), 4001.0);
    EXPECT_EQ(Get(GetObj(other, dsp::xyAxis::Tick), dsp::common::Name).str(), "OtherTick");
    EXPECT_EQ(Get(GetObj(other, dsp::xyAxis::Tick), dsp::xyTick::MarkLength).r8(), 1.0);
}
