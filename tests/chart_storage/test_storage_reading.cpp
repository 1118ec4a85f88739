// Compound files written here stream by stream, restored through
// RestoreFromMemory: a missing chart stream, a newer version, pictures only
// for the holders that exist.

#include "StorageHost.h"

using namespace charttest;
using namespace storagetest;

namespace {

namespace c = dsp::control;
namespace col = dsp::collection;

// An object text: the header up to the version, no pictures and one pen.
std::string objectText(int16_t version)
{
    Bytes b;
    b.text("Lumigra:", "").rec<int16_t>("Version=", version);
    b.text("Begin Collection", "{").text("Name=", "PictureHolders").rec<int32_t>("Elements=", 0);
    b.text("End Collection", "}");
    b.text("Begin Collection", "{").text("Name=", "Pens").rec<int32_t>("Elements=", 1);
    b.marker("Begin Object:Pen").text("Name=", "Ink").marker("End Object:Pen").text("End Collection", "}");
    uint32_t size = static_cast<uint32_t>(b.s.size());
    return std::string(reinterpret_cast<const char*>(&size), 4) + b.s + std::string(1, '\0');
}

} // namespace

TEST(ChartStorageReading, ACompoundFileWithoutTheChartStreamIsReportedAndFreedOnRequest)
{
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    Obj control = newControl();
    int32_t handle = compoundBlock({{"BackPicture", std::string("lt\0\0\0\0\0\0", 8)}});
    ASSERT_NE(handle, 0);
    EXPECT_EQ(Call(control, c::RestoreFromMemory, {I4(handle), I2(93)}).i4(), 0);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].prompt, "XYグラフを再生できません");
    // It opened as a compound file, so How was followed.
    EXPECT_EQ(LgGlobalSize(handle), 0u);
}

TEST(ChartStorageReading, ANewerChartAsksAndNoLoadsItAnyway)
{
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    ui.answers.push_back(platform::vbNo);
    Obj control = newControl();
    int32_t handle = compoundBlock({{"Lumigra_Contents", objectText(130)}});
    EXPECT_EQ(Call(control, c::RestoreFromMemory, {I4(handle), I2(92)}).i4(), 1);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].prompt,
              "現在のLumigra Worksのバージョン(120)では、扱えないバージョン(130)のデータです。\n"
              "続行すると、動作は保証されません。\n処理を中止しますか　？");
    Obj pen = CallObj(GetObj(control, c::Pens), col::Item, {I4(1)});
    EXPECT_EQ(Get(pen, dsp::common::Name).str(), "Ink");

    ui.answers.push_back(platform::vbYes);
    Obj other = newControl();
    EXPECT_EQ(Call(other, c::RestoreFromMemory, {I4(handle), I2(93)}).i4(), 0);
    EXPECT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(LgGlobalSize(handle), 0u);
}

TEST(ChartStorageReading, PicturesAreTakenForExistingHoldersAndDamagedOnesAreEmpty)
{
    Obj control = newControl();
    Bytes b;
    b.text("Lumigra:", "").rec<int16_t>("Version=", 120);
    b.text("Begin Collection", "{").text("Name=", "PictureHolders").rec<int32_t>("Elements=", 2);
    b.marker("Begin Object:Picture").text("Name=", "A").marker("End Object:Picture");
    b.marker("Begin Object:Picture").text("Name=", "B").marker("End Object:Picture").text("End Collection", "}");
    uint32_t size = static_cast<uint32_t>(b.s.size());
    std::string text = std::string(reinterpret_cast<const char*>(&size), 4) + b.s + std::string(1, '\0');
    int32_t handle = compoundBlock({{"Lumigra_Contents", text},
                                    {"Picture0", std::string("lt\0\0\3\0\0\0abc", 11)},
                                    {"Picture1", std::string("lt\0\0\xff\0\0\0abc", 11)}, // longer than its stream
                                    {"Picture2", std::string("lt\0\0\1\0\0\0z", 9)}});
    ASSERT_EQ(Call(control, c::RestoreFromMemory, {I4(handle), I2(93)}).i4(), 1);
    Obj holders = GetObj(control, c::PictureHolders);
    EXPECT_EQ(Get(holders, col::Count).i4(), 2);
    EXPECT_FALSE(Get(CallObj(holders, col::Item, {I4(1)}), dsp::pictureHolder::IsEmpty).boolean());
    EXPECT_TRUE(Get(CallObj(holders, col::Item, {I4(2)}), dsp::pictureHolder::IsEmpty).boolean());
    EXPECT_TRUE(Get(GetObj(control, c::BackPicture), dsp::pictureHolder::IsEmpty).boolean());
}
