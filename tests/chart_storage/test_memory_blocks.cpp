// SaveToMemory and RestoreFromMemory: the block is a compound file that an
// outside OLE2 reader opens, and restoring follows How (92, 93, 94).
#include <filesystem>
#include <fstream>

#include "StorageHost.h"

using namespace charttest;
using namespace storagetest;

namespace {

namespace c = dsp::control;
namespace col = dsp::collection;

std::string imageFile()
{
    // Kept for the whole program, removed when it ends.
    static testsupport::TempDir dir;
    const std::string path = dir.file("sky.bmp");
    testsupport::writeAll(path, imageBytes);
    return path;
}

// Two pens, a picture holder with an image, an empty one, and the image as
// the back picture.
void buildChart(const Obj& control)
{
    Obj pens = GetObj(control, c::Pens);
    Obj pen = CallObj(pens, col::Add, {I4(2)});
    Put(pen, dsp::pen::Width, R8(0.5));
    Obj holders = GetObj(control, c::PictureHolders);
    Obj sky = CallObj(holders, col::Add, {Str("Sky")});
    ASSERT_TRUE(Call(sky, dsp::pictureHolder::LoadPicture, {Str(imageFile())}).boolean());
    CallObj(holders, col::Add, {Str("Blank")});
    Put(control, c::BackPicture, O(sky));
}

std::string pictureStreamHex(const std::string& image)
{
    uint32_t size = static_cast<uint32_t>(image.size());
    return hexOf(std::string("lt\0\0", 4) + std::string(reinterpret_cast<const char*>(&size), 4) + image);
}

} // namespace

TEST(ChartMemory, SavedBlockIsACompoundFileWithTheChartStreamsAndSummary)
{
    Obj control = newControl();
    host(control)->setDisplayName("Plot1");
    buildChart(control);
    int32_t handle = Call(control, c::SaveToMemory).i4();
    ASSERT_NE(handle, 0);
    std::vector<uint8_t> text = host(control)->saveObjectText();

    QJsonObject ole = oleDump(blockOf(handle));
    ASSERT_FALSE(ole.isEmpty()) << "the outside reader could not open the block";
    EXPECT_EQ(ole["clsid"].toString().toStdString(), "DD4CC723-3918-11D0-8BF9-000000000001");
    QJsonObject streams = ole["streams"].toObject();
    EXPECT_EQ(streams.keys(), (QStringList{"BackPicture", "Lumigra_Contents", "Picture0", "Picture1",
                                           "\\005SummaryInformation"}));
    EXPECT_EQ(streams["Lumigra_Contents"].toString().toStdString(), hexOf(std::string(text.begin(), text.end())));
    EXPECT_EQ(streams["BackPicture"].toString().toStdString(), pictureStreamHex(imageBytes));
    EXPECT_EQ(streams["Picture0"].toString().toStdString(), pictureStreamHex(imageBytes));
    EXPECT_EQ(streams["Picture1"].toString().toStdString(), "6c74000000000000");
    EXPECT_EQ(ole["title"].toString().toStdString(), "Lumigra Works Graph Component Private Data");
    EXPECT_EQ(ole["subject"].toString().toStdString(), "Lumigra Works Graph Component Version 1.10");
    EXPECT_EQ(ole["author"].toString().toStdString(), "Plot1");

    // The caller owns the block.
    EXPECT_EQ(LgGlobalFree(handle), 0);
    EXPECT_EQ(LgGlobalSize(handle), 0u);
    EXPECT_EQ(LgGlobalFree(handle), handle);
}

TEST(ChartMemory, RestoreOnlyKeepsTheBlockAndRestoreAndFreeReleasesIt)
{
    Obj source = newControl();
    buildChart(source);
    int32_t handle = Call(source, c::SaveToMemory).i4();
    ASSERT_NE(handle, 0);
    uint32_t size = LgGlobalSize(handle);

    Obj first = newControl();
    EXPECT_EQ(Call(first, c::RestoreFromMemory, {I4(handle), I2(92)}).i4(), 1);
    EXPECT_EQ(LgGlobalSize(handle), size);
    EXPECT_EQ(textOf(first), textOf(source));
    // The pictures come back beside the text.
    Obj sky = CallObj(GetObj(first, c::PictureHolders), col::Item, {Str("Sky")});
    EXPECT_FALSE(Get(sky, dsp::pictureHolder::IsEmpty).boolean());
    EXPECT_FALSE(Get(GetObj(first, c::BackPicture), dsp::pictureHolder::IsEmpty).boolean());
    int32_t again = Call(first, c::SaveToMemory).i4();
    QJsonObject streams = oleDump(blockOf(again))["streams"].toObject();
    EXPECT_EQ(streams["Picture0"].toString().toStdString(), pictureStreamHex(imageBytes));
    EXPECT_EQ(streams["BackPicture"].toString().toStdString(), pictureStreamHex(imageBytes));
    LgGlobalFree(again);

    Obj second = newControl();
    EXPECT_EQ(Call(second, c::RestoreFromMemory, {I4(handle), I2(93)}).i4(), 1);
    EXPECT_EQ(textOf(second), textOf(source));
    EXPECT_EQ(LgGlobalSize(handle), 0u);
    EXPECT_EQ(Call(second, c::RestoreFromMemory, {I4(handle), I2(92)}).i4(), 0);
}

TEST(ChartMemory, FreeOnlyLeavesTheChartAndForeignBlocksAreNeitherRestoredNorFreed)
{
    Obj control = newControl();
    CallObj(GetObj(control, c::Pens), col::Add, {I4(3)});
    std::string before = textOf(control);
    host(control)->setModified(false);

    const char junk[] = "this is no compound file";
    int32_t foreign = LgGlobalAlloc(junk, sizeof junk);
    ASSERT_NE(foreign, 0);
    for (int how : {92, 93, 94})
        EXPECT_EQ(Call(control, c::RestoreFromMemory, {I4(foreign), I2(how)}).i4(), 0) << how;
    EXPECT_EQ(LgGlobalSize(foreign), sizeof junk);
    EXPECT_EQ(Call(control, c::RestoreFromMemory, {I4(0x7FFFFFF0), I2(92)}).i4(), 0);

    Obj other = newControl();
    int32_t handle = Call(other, c::SaveToMemory).i4();
    ASSERT_NE(handle, 0);
    EXPECT_EQ(Call(control, c::RestoreFromMemory, {I4(handle), I2(94)}).i4(), 1);
    EXPECT_EQ(LgGlobalSize(handle), 0u);
    EXPECT_EQ(textOf(control), before);
    EXPECT_FALSE(host(control)->isModified());
    EXPECT_EQ(LgGlobalFree(foreign), 0);
}

TEST(ChartMemory, ABlockOfThisVersionRestoresWithoutAnyMessage)
{
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    Obj source = newControl();
    CallObj(GetObj(source, c::Lines), col::Add, {Str("L1")});
    int32_t handle = Call(source, c::SaveToMemory).i4();
    Obj target = newControl();
    EXPECT_EQ(Call(target, c::RestoreFromMemory, {I4(handle), I2(93)}).i4(), 1);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(Get(GetObj(target, c::Lines), col::Count).i4(), 1);
}
