// Save and Restore on compound files: what an outside OLE2 reader finds in a
// saved file, the byte-identical chart a restore rebuilds, NewFile, saves
// that fail without touching the old file, and restores that fail or are
// abandoned without touching the chart.
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "HostChart.h"
#include "StorageHost.h"

using namespace charttest;
using namespace storagetest;

namespace {

namespace c = dsp::control;
namespace col = dsp::collection;

std::string bytesOf(const std::string& path) { return testsupport::readAll(path); }

// The plot window's chart with a picture holder, used as the back picture.
Obj pictureChart(const testsupport::TempDir& dir)
{
    Obj control = buildPlotWindowChart();
    host(control)->setDisplayName("Plot1");
    const std::string image = dir.file("sky.bmp");
    testsupport::writeAll(image, imageBytes);
    Obj sky = CallObj(GetObj(control, c::PictureHolders), col::Add, {Str("Sky")});
    EXPECT_TRUE(Call(sky, dsp::pictureHolder::LoadPicture, {Str(image)}).boolean());
    Put(control, c::BackPicture, O(sky));
    return control;
}

// A control ready to take the plot window's chart byte for byte.
Obj targetControl()
{
    Obj control = newControl();
    host(control)->setExtent(540, 426, 96, 96);
    host(control)->setDisplayName("Plot1");
    Put(control, c::PropertySheetEnabled, Bool(false));
    return control;
}

int32_t save(const Obj& control, const std::string& path, bool newFile)
{
    return Call(control, c::Save, {Str(path), Bool(newFile)}).i4();
}

std::string withVersion(std::string text, int16_t version)
{
    std::memcpy(text.data() + text.find("Version=") + 8, &version, 2);
    return text;
}

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(ChartFile, SavedFileIsReadByAnOutsideReaderAndRestoresByteForByte)
{
    testsupport::TempDir dir;
    Obj control = pictureChart(dir);
    const std::string path = dir.file("graph.lgw");
    ASSERT_EQ(save(control, path, true), 1);
    const std::string text = textOf(control);

    const std::string file = bytesOf(path);
    QJsonObject ole = oleDump(std::vector<uint8_t>(file.begin(), file.end()));
    ASSERT_FALSE(ole.isEmpty()) << "the outside reader could not open the file";
    EXPECT_EQ(ole["clsid"].toString().toStdString(), "DD4CC723-3918-11D0-8BF9-000000000001");
    QJsonObject streams = ole["streams"].toObject();
    EXPECT_EQ(streams.keys(), (QStringList{"BackPicture", "Lumigra_Contents", "Picture0", "\\005SummaryInformation"}));
    EXPECT_EQ(streams["Lumigra_Contents"].toString().toStdString(), hexOf(text));
    uint32_t size = static_cast<uint32_t>(imageBytes.size());
    const std::string picture = hexOf(std::string("lt\0\0", 4) + std::string(reinterpret_cast<const char*>(&size), 4) + imageBytes);
    EXPECT_EQ(streams["BackPicture"].toString().toStdString(), picture);
    EXPECT_EQ(streams["Picture0"].toString().toStdString(), picture);
    EXPECT_EQ(ole["title"].toString().toStdString(), "Lumigra Works Graph Component Private Data");
    EXPECT_EQ(ole["subject"].toString().toStdString(), "Lumigra Works Graph Component Version 1.10");
    EXPECT_EQ(ole["author"].toString().toStdString(), "Plot1");

    Obj restored = targetControl();
    ASSERT_EQ(Call(restored, c::Restore, {Str(path)}).i4(), 1);
    EXPECT_EQ(textOf(restored), text);
    // The objects read belong to the control that took them: a change marks it.
    host(restored)->setModified(false);
    Obj tick = GetObj(GetObj(CallObj(GetObj(restored, c::XyCharts), col::Item, {I4(1)}), dsp::xyChart::XAxis),
                      dsp::xyAxis::Tick);
    Put(GetObj(tick, dsp::xyTick::LabelFont), dsp::font::Size, R8(3.5));
    EXPECT_TRUE(host(restored)->isModified());
    Put(GetObj(tick, dsp::xyTick::LabelFont), dsp::font::Size, R8(3.0));
    // The pictures came back with the text: saved again, the streams agree.
    const std::string again = dir.file("again.lgw");
    ASSERT_EQ(save(restored, again, false), 1);
    const std::string file2 = bytesOf(again);
    EXPECT_EQ(oleDump(std::vector<uint8_t>(file2.begin(), file2.end()))["streams"].toObject(), streams);
}

TEST(ChartFile, NewFileKeepsAnExistingFileAndReplacingKeepsItsMode)
{
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    testsupport::TempDir dir;
    Obj control = buildPlotWindowChart();
    const std::string path = dir.file("old.lgw");
    testsupport::writeAll(path, "old bytes");
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    EXPECT_EQ(save(control, path, true), 0);
    EXPECT_EQ(bytesOf(path), "old bytes");
    EXPECT_TRUE(ui.shown.empty());

    EXPECT_EQ(save(control, path, false), 1);
    EXPECT_EQ(bytesOf(path).substr(0, 8), std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"old.lgw"}));
}

TEST(ChartFile, AFailedSaveLeavesTheOldFileAndNoTemporary)
{
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    testsupport::TempDir dir;
    Obj control = buildPlotWindowChart();
    const std::string path = dir.file("kept.lgw");
    testsupport::writeAll(path, "the old chart");

    // A file size limit makes the write fail part way, even for root.
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1024;
    ::setrlimit(RLIMIT_FSIZE, &small);
    int32_t result = save(control, path, false);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(bytesOf(path), "the old chart");
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"kept.lgw"}));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].prompt, "[" + path + "]に保存できません。\nFile too large");

    // A folder that does not exist.
    const std::string nowhere = dir.file("missing/graph.lgw");
    EXPECT_EQ(save(control, nowhere, false), 0);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].prompt, "[" + nowhere + "]に保存できません。\nNo such file or directory");
    if (::geteuid() != 0) {
        std::filesystem::permissions(dir.path(), std::filesystem::perms(0555));
        EXPECT_EQ(save(control, path, false), 0);
        std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
        EXPECT_EQ(bytesOf(path), "the old chart");
    }
}

TEST(ChartFile, RestoreThatFailsLeavesTheChartAndTheHostsObjects)
{
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    testsupport::TempDir dir;
    Obj control = pictureChart(dir);
    Obj label = CallObj(GetObj(control, c::Labels), col::Item, {Str("mLG_lblObject")});
    const std::string before = textOf(control);
    int32_t handle = Call(control, c::SaveToMemory).i4();
    const std::vector<uint8_t> blockBefore = blockOf(handle);
    LgGlobalFree(handle);

    const std::string missing = dir.file("none.lgw");
    EXPECT_EQ(Call(control, c::Restore, {Str(missing)}).i4(), 0);
    const std::string plain = dir.file("plain.txt");
    testsupport::writeAll(plain, "1,2\r\n3,4\r\n");
    EXPECT_EQ(Call(control, c::Restore, {Str(plain)}).i4(), 0);
    EXPECT_EQ(Call(control, c::Restore, {Str(dir.path())}).i4(), 0);

    // A chart stream whose data sets claim more elements than the text holds.
    Obj other = buildPlotWindowChart();
    std::string text = textOf(other);
    std::string damagedText = text;
    const int32_t huge = 0x7FFFFFFF;
    size_t count = damagedText.find("Elements=", damagedText.find("Name=DataCollection")) + 9;
    std::memcpy(damagedText.data() + count, &huge, 4);
    const std::string damaged = dir.file("damaged.lgw");
    testsupport::writeAll(damaged, compoundBytes({{"Lumigra_Contents", damagedText}}));
    EXPECT_EQ(Call(control, c::Restore, {Str(damaged)}).i4(), 0);

    // A newer chart, abandoned at the question.
    const std::string newer = dir.file("newer.lgw");
    testsupport::writeAll(newer, compoundBytes({{"Lumigra_Contents", withVersion(text, 130)},
                                                {"BackPicture", std::string("lt\0\0\0\0\0\0", 8)}}));
    ui.answers.push_back(platform::vbYes);
    EXPECT_EQ(Call(control, c::Restore, {Str(newer)}).i4(), 0);

    std::vector<std::string> prompts;
    for (auto& shown : ui.shown)
        prompts.push_back(shown.prompt);
    EXPECT_EQ(prompts, (std::vector<std::string>{
                           "[" + missing + "]を読み込めません。\nNo such file or directory",
                           "XYグラフを再生できません",
                           "[" + dir.path() + "]を読み込めません。\nIs a directory",
                           "XYグラフを再生できません",
                           "現在のLumigra Worksのバージョン(120)では、扱えないバージョン(130)のデータです。\n"
                           "続行すると、動作は保証されません。\n処理を中止しますか　？",
                       }));
    // Every object, setting and picture as it was, and the host's label still live.
    EXPECT_EQ(textOf(control), before);
    handle = Call(control, c::SaveToMemory).i4();
    EXPECT_EQ(oleDump(blockOf(handle))["streams"].toObject(), oleDump(blockBefore)["streams"].toObject());
    LgGlobalFree(handle);
    EXPECT_EQ(Get(label, dsp::label::String1).str(), "File Name");
    Put(label, dsp::label::String1, Str("still mine"));
    EXPECT_NE(textOf(control).find("String1=still mine\n"), std::string::npos);

    // Going on with the newer chart takes it, pictures included.
    ui.answers.push_back(platform::vbNo);
    EXPECT_EQ(Call(control, c::Restore, {Str(newer)}).i4(), 1);
    EXPECT_EQ(Get(GetObj(control, c::PictureHolders), col::Count).i4(), 0);
    EXPECT_THROW(Get(label, dsp::label::String1), std::exception);
}
