// Object text bytes written by hand from the record rules, and the rules
// of reading it back.
#include <cstring>

#include "ChartHost.h"

using namespace charttest;
using namespace std::string_literals;
namespace c = dsp::control;

namespace {

std::string zeros(size_t n) { return std::string(n, '\0'); }

Bytes collectionHead(const std::string& name, int32_t count, int32_t paintOrder)
{
    Bytes b;
    b.text("Begin Collection", "{").text("Name=", name).rec<int32_t>("Elements=", count).b("Visible=", true);
    b.rec<int32_t>("PaintOrder=", paintOrder).rec<int32_t>("Max=", 500);
    return b;
}

// Replaces the first occurrence of from by to.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    // Keep the length in front right.
    uint32_t length = static_cast<uint32_t>(text.size() - 5);
    std::memcpy(text.data(), &length, 4);
    return text;
}

bool restore(const Obj& control, const std::string& text)
{
    return host(control)->restoreObjectText(reinterpret_cast<const uint8_t*>(text.data()), text.size(), false);
}

std::string versioned(std::string text, int16_t version)
{
    auto at = text.find("Version=");
    std::memcpy(text.data() + at + 8, &version, 2);
    return text;
}

} // namespace

TEST(ChartObjectText, PenCollectionBytes)
{
    Obj control = newControl();
    Obj pen = CallObj(GetObj(control, c::Pens), dsp::collection::Add, {Str("P1")});
    Put(pen, dsp::pen::Width, R8(0.5));
    Put(pen, dsp::pen::Color, I4(0x0000C8));
    Put(pen, dsp::pen::Style, I2(54));
    Put(pen, dsp::pen::Enabled, Bool(false));
    Put(pen, dsp::common::Tag, I4(77));

    Bytes want = collectionHead("Pens", 1, 0);
    want.marker("Begin Object:Pen").text("Name=", "P1").rec<int16_t>("Style=", 54).rec<double>("Width=", 0.5);
    want.rec<int32_t>("Color=", 200).b("Enabled=", false).marker("End Object:Pen");
    want.rec<int32_t>("RefCount=", 1).rec<int32_t>("Tag=", 77).rec<int32_t>("Tag=", 0).text("End Collection", "}");
    std::string text = textOf(control);
    EXPECT_EQ(collectionRecord(text, "Pens"), want.s);

    // The block: its length in front and one zero byte after the records.
    uint32_t length;
    std::memcpy(&length, text.data(), 4);
    EXPECT_EQ(length, text.size() - 5);
    EXPECT_EQ(text.back(), '\0');
    EXPECT_EQ(text.substr(4, 9), "Lumigra:\n");
}

TEST(ChartObjectText, TwoBrushesBytes)
{
    Obj control = newControl();
    Obj brushes = GetObj(control, c::Brushes);
    Obj first = CallObj(brushes, dsp::collection::Add, {Str("B1")});
    Obj second = CallObj(brushes, dsp::collection::Add, {Str("B2")});
    Put(first, dsp::brush::Style, I2(52));
    Put(first, dsp::brush::ForeColor, I4(0x000080));
    EXPECT_FALSE(Call(second, dsp::brush::SetDot, {I2(1), I2(2), Bool(true)}).boolean());
    Put(second, dsp::brush::HatchStyle, I2(70));

    std::string pattern(64, '0');
    pattern[8 * 1 + 2] = '1';
    Bytes want = collectionHead("Brushes", 2, 0);
    want.marker("Begin Object:Brush").text("Name=", "B1").b("Enabled=", true).rec<int16_t>("Style=", 52);
    want.rec<int16_t>("HatchStyle=", 0).rec<int32_t>("ForeColor=", 0x80).rec<int32_t>("BackColor=", 0xFFFFFF);
    want.text("Pattern=", std::string(64, '0')).marker("End Object:Brush");
    want.rec<int32_t>("RefCount=", 1).rec<int32_t>("Tag=", 0);
    want.marker("Begin Object:Brush").text("Name=", "B2").b("Enabled=", true).rec<int16_t>("Style=", 0);
    want.rec<int16_t>("HatchStyle=", 70).rec<int32_t>("ForeColor=", 0).rec<int32_t>("BackColor=", 0xFFFFFF);
    want.text("Pattern=", pattern).marker("End Object:Brush");
    want.rec<int32_t>("RefCount=", 1).rec<int32_t>("Tag=", 0);
    want.rec<int32_t>("Tag=", 0).text("End Collection", "}");
    EXPECT_EQ(collectionRecord(textOf(control), "Brushes"), want.s);
}

TEST(ChartObjectText, DataSetWithOneArrayAndAMissingValueBytes)
{
    Obj control = newControl();
    Obj data = CallObj(GetObj(control, c::DataCollection), dsp::collection::Add, {Str("D")});
    Variant x = Variant::makeArray(VT_R4, 0, 2);
    x.at(0) = Variant::fromR4(1.5f);
    x.at(1) = Variant::fromR4(-2.25f);
    Call(data, dsp::data::SetData, {I2(1), x});
    Call(data, dsp::data::SetMissingValue, {I2(1), R8(-1)});

    Bytes want = collectionHead("DataCollection", 1, 0);
    want.marker("Begin Object:Data").text("Name=", "D").text("DataFile=", "").rec<int32_t>("DataSize=", 4);
    want.text("Ref[0]=", zeros(16)).text("Ref[0]=", "");
    want.rec<int32_t>("VARIANT VT=", 4).rec<int32_t>("LBound=", 0).rec<int32_t>("UBound=", 1);
    want.rec<double>("", 1.5).rec<double>("", -2.25);
    std::string missing = zeros(16);
    missing[0] = 5;
    double minusOne = -1;
    std::memcpy(missing.data() + 8, &minusOne, 8);
    want.text("Ref[1]=", missing).text("Ref[1]=", "");
    for (int i = 2; i <= 4; ++i)
        want.text("Ref[" + std::to_string(i) + "]=", zeros(16)).text("Ref[" + std::to_string(i) + "]=", "");
    want.marker("End Object:Data").rec<int32_t>("RefCount=", 1).rec<int32_t>("Tag=", 0);
    want.rec<int32_t>("Tag=", 0).text("End Collection", "}");
    std::string text = textOf(control);
    EXPECT_EQ(collectionRecord(text, "DataCollection"), want.s);

    Obj copy = newControl();
    ASSERT_TRUE(restore(copy, text));
    Obj restored = CallObj(GetObj(copy, c::DataCollection), dsp::collection::Item, {I4(1)});
    EXPECT_EQ(Get(restored, dsp::data::Type, {I2(1)}).i2(), lumigra::lgDataSingle);
    EXPECT_TRUE(Call(restored, dsp::data::GetData, {I2(1)}).sameAs(x));
    EXPECT_EQ(Call(restored, dsp::data::GetMissingValue, {I2(1)}).r8(), -1.0);
}

TEST(ChartObjectText, MissingKeysKeepDefaultsAndTheReadPosition)
{
    Obj control = newControl();
    Obj pens = GetObj(control, c::Pens);
    Obj pen = CallObj(pens, dsp::collection::Add, {Str("P1")});
    Put(pen, dsp::pen::Width, R8(0.7));
    Put(pen, dsp::pen::Color, I4(0x123456));
    Put(pen, dsp::pen::Enabled, Bool(false));
    Obj font = CallObj(GetObj(control, c::FontHolders), dsp::collection::Add, {Str("F")});
    EXPECT_EQ(Get(font, dsp::font::TypeFace).str(), "ＭＳ 明朝");
    std::string text = textOf(control);

    double width = 0.7;
    std::string widthRecord = "Width=" + std::string(reinterpret_cast<char*>(&width), 8) + "\n";
    std::string damaged = replaced(text, widthRecord, "");
    damaged = replaced(damaged, "Name=P1\n", "Name=\n");
    damaged = replaced(damaged, "TypeFace=ＭＳ 明朝\n", "");
    Obj copy = newControl();
    ASSERT_TRUE(restore(copy, damaged));
    Obj back = CallObj(GetObj(copy, c::Pens), dsp::collection::Item, {I4(1)});
    EXPECT_EQ(Get(back, dsp::pen::Width).r8(), 0.0);
    EXPECT_EQ(Get(back, dsp::pen::Color).i4(), 0x123456);
    EXPECT_FALSE(Get(back, dsp::pen::Enabled).boolean());
    EXPECT_EQ(Get(back, dsp::common::Name).str().rfind("Pen:", 0), 0u);
    Obj backFont = CallObj(GetObj(copy, c::FontHolders), dsp::collection::Item, {I4(1)});
    EXPECT_EQ(Get(backFont, dsp::font::TypeFace).str(), "ＭＳ Ｐ明朝");

    // A collection without "Elements=" comes back empty and the read
    // position stays: an empty collection costs nothing, what follows it is
    // read; the records of a collection that had elements stop the reading.
    std::string noCount = replaced(text, "Name=Brushes\nElements=\x00\x00\x00\x00\n"s, "Name=Brushes\n");
    Obj other = newControl();
    ASSERT_TRUE(restore(other, noCount));
    EXPECT_EQ(Get(GetObj(other, c::Pens), dsp::collection::Count).i4(), 1);
    EXPECT_EQ(Get(GetObj(other, c::Brushes), dsp::collection::Count).i4(), 0);
    EXPECT_EQ(Get(GetObj(other, c::FontHolders), dsp::collection::Count).i4(), 1);
    std::string noPens = replaced(text, "Name=Pens\nElements=\x01\x00\x00\x00\n"s, "Name=Pens\n");
    Obj third = newControl();
    ASSERT_TRUE(restore(third, noPens));
    EXPECT_EQ(Get(GetObj(third, c::Pens), dsp::collection::Count).i4(), 0);
    EXPECT_EQ(Get(GetObj(third, c::FontHolders), dsp::collection::Count).i4(), 0);
}

TEST(ChartObjectText, OldVersionStopsBeforePolygonsAndNewerAsks)
{
    Obj control = newControl();
    CallObj(GetObj(control, c::Pens), dsp::collection::Add);
    Obj polygon = CallObj(GetObj(control, c::Polygons), dsp::collection::Add);
    Obj legend = CallObj(GetObj(control, c::Legends), dsp::collection::Add);
    CallObj(GetObj(control, c::Polylines), dsp::collection::Add, {I2(2)});
    std::string text = textOf(control);

    Obj old = newControl();
    ASSERT_TRUE(restore(old, versioned(text, 110)));
    EXPECT_EQ(Get(GetObj(old, c::Pens), dsp::collection::Count).i4(), 1);
    EXPECT_EQ(Get(GetObj(old, c::Legends), dsp::collection::Count).i4(), 1);
    EXPECT_EQ(Get(GetObj(old, c::Polygons), dsp::collection::Count).i4(), 0);
    EXPECT_EQ(Get(GetObj(old, c::Polylines), dsp::collection::Count).i4(), 0);

    platform::ScriptedUiService ui;
    platform::ScopedUiService scope(&ui);
    ui.answers = {platform::vbYes, platform::vbNo};
    Obj newer = newControl();
    EXPECT_FALSE(restore(newer, versioned(text, 130)));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].prompt,
              "現在のLumigra Worksのバージョン(120)では、扱えないバージョン(130)のデータです。\n"
              "続行すると、動作は保証されません。\n処理を中止しますか　？");
    EXPECT_EQ(ui.shown[0].buttons(), platform::vbYesNo);
    EXPECT_TRUE(restore(newer, versioned(text, 130)));
    EXPECT_EQ(Get(GetObj(newer, c::Polylines), dsp::collection::Count).i4(), 2);
    EXPECT_EQ(ui.shown.size(), 2u);
}

TEST(ChartObjectText, DamagedTextReportsItsMessage)
{
    platform::ScriptedUiService ui;
    platform::ScopedUiService scope(&ui);
    Obj control = newControl();
    CallObj(GetObj(control, c::Pens), dsp::collection::Add, {I2(3)});
    std::string text = textOf(control);
    // An element count far beyond what the text holds.
    std::string damaged = replaced(text, "Name=Pens\nElements=\x03\x00\x00\x00"s, "Name=Pens\nElements=\xff\xff\xff\x0f"s);
    Obj copy = newControl();
    EXPECT_FALSE(restore(copy, damaged));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].prompt, "XYグラフを再生できません");
}
