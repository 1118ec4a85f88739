// Drag and drop between controls, offscreen with real drop events: the data
// source renders its two formats only when asked, a control with drop mode
// 2 asks its question and takes the chart, and everything else changes
// nothing.
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <cstdlib>
#include <filesystem>

#include "HostChart.h"
#include "StorageHost.h"
#include "control/ControlDragDrop.h"
#include "control/LumigraCtrl.h"
#include "lumigra/Window.h"

using namespace charttest;
using namespace storagetest;

namespace {

namespace c = dsp::control;
namespace col = dsp::collection;

const char PrivateMime[] = "application/x-lumigra-works-private-format";
const char Discard[] = "現在の内容を廃棄してよろしいですか？";

lumigra::LumigraCtrl& controlOf(const Obj& control) { return *static_cast<lumigra::LumigraCtrl*>(host(control)); }

QWidget* windowOf(const Obj& control)
{
    void* p = nullptr;
    EXPECT_EQ(control->QueryInterface(lumigra::IID_ILumigraWindow, &p), S_OK);
    auto* window = static_cast<lumigra::ILumigraWindow*>(p);
    QWidget* w = window->window(nullptr);
    window->Release();
    w->resize(540, 426);
    w->show();
    QApplication::processEvents();
    return w;
}

// Enter, then drop; whether each was accepted.
std::pair<bool, bool> dragOnto(QWidget* target, const QMimeData* data)
{
    const QPointF at(20, 20);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return {enter.isAccepted(), drop.isAccepted()};
}

// The temporary folder of drags, set for one test.
class TempFolder {
public:
    TempFolder() { ::setenv("TEMP", dir.path().c_str(), 1); }
    ~TempFolder() { ::unsetenv("TEMP"); }
    testsupport::TempDir dir;
};

} // namespace

TEST(ChartDragDrop, TheSourceRendersBothFormatsOnlyWhenAsked)
{
    TempFolder temp;
    Obj source = buildPlotWindowChart();
    lumigra::ChartDragData data(controlOf(source));
    EXPECT_EQ(data.formats(), (QStringList{"text/uri-list", PrivateMime}));
    const std::string path = data.temporaryPath();
    const std::string name = std::filesystem::path(path).filename().string();
    EXPECT_EQ(std::filesystem::path(path).parent_path().string(), temp.dir.path());
    EXPECT_EQ(name.substr(0, 8), "Lumigra-");
    EXPECT_EQ(name.substr(name.size() - 4), ".Dat");
    EXPECT_FALSE(std::filesystem::exists(path));

    // The private format is the chart as a compound file in memory.
    const QByteArray block = data.data(PrivateMime);
    QJsonObject ole = oleDump(std::vector<uint8_t>(block.begin(), block.end()));
    EXPECT_EQ(ole["streams"].toObject()["Lumigra_Contents"].toString().toStdString(), hexOf(textOf(source)));
    EXPECT_FALSE(std::filesystem::exists(path));

    // The file list writes the file, once.
    EXPECT_EQ(data.urls(), (QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(path))}));
    ASSERT_TRUE(std::filesystem::exists(path));
    Obj restored = newControl();
    host(restored)->setExtent(540, 426, 96, 96);
    Put(restored, c::PropertySheetEnabled, Bool(false));
    ASSERT_EQ(Call(restored, c::Restore, {Str(path)}).i4(), 1);
    EXPECT_EQ(textOf(restored), textOf(source));
    auto written = std::filesystem::last_write_time(path);
    EXPECT_EQ(data.urls().size(), 1);
    EXPECT_EQ(std::filesystem::last_write_time(path), written);
}

TEST(ChartDragDrop, ADropBetweenControlsAsksAndCopiesTheChart)
{
    TempFolder temp;
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    Obj source = buildPlotWindowChart();
    Obj target = newControl();
    Put(target, c::PropertySheetEnabled, Bool(false));
    QWidget* targetWindow = windowOf(target);
    QWidget* sourceWindow = windowOf(source);
    host(source)->setExtent(540, 426, 96, 96);
    const std::string empty = textOf(target);
    lumigra::ChartDragData data(controlOf(source));

    // No keeps the chart.
    ui.answers.push_back(platform::vbNo);
    EXPECT_EQ(dragOnto(targetWindow, &data), std::make_pair(true, false));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].prompt, Discard);
    EXPECT_EQ(ui.shown[0].style, platform::vbYesNo | platform::vbSystemModal);
    EXPECT_EQ(textOf(target), empty);

    // Onto its own control: refused, no question.
    EXPECT_EQ(dragOnto(sourceWindow, &data), std::make_pair(false, false));
    EXPECT_EQ(ui.shown.size(), 1u);

    ui.answers.push_back(platform::vbYes);
    EXPECT_EQ(dragOnto(targetWindow, &data), std::make_pair(true, true));
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].prompt, Discard);
    EXPECT_EQ(textOf(target), textOf(source));
    // Only the private format was asked for.
    EXPECT_FALSE(std::filesystem::exists(data.temporaryPath()));
}

TEST(ChartDragDrop, DropModesZeroAndOneAndOtherDataAreRefused)
{
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    Obj source = buildPlotWindowChart();
    Obj target = newControl();
    QWidget* window = windowOf(target);
    const std::string before = textOf(target);
    lumigra::ChartDragData data(controlOf(source));
    for (int mode : {0, 1}) {
        Put(target, c::OLEDropMode, I2(mode));
        EXPECT_EQ(dragOnto(window, &data), std::make_pair(false, false)) << mode;
    }
    Put(target, c::OLEDropMode, I2(2));
    QMimeData text;
    text.setText("Graph1");
    EXPECT_EQ(dragOnto(window, &text), std::make_pair(false, false));
    QMimeData web;
    web.setUrls({QUrl("https://example.org/chart.lgw")});
    EXPECT_EQ(dragOnto(window, &web), std::make_pair(false, false));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(textOf(target), before);

    // A private block that is no chart: asked, then nothing changes.
    QMimeData junk;
    junk.setData(PrivateMime, "not a compound file");
    ui.answers.push_back(platform::vbYes);
    EXPECT_EQ(dragOnto(window, &junk), std::make_pair(true, false));
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(textOf(target), before);
}

TEST(ChartDragDrop, AFileDropAsksWithThePathAndRestoresTheFirstFile)
{
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    testsupport::TempDir dir;
    Obj source = buildPlotWindowChart();
    const std::string path = dir.file("保存 グラフ.lgw");
    ASSERT_EQ(Call(source, c::Save, {Str(path), Bool(true)}).i4(), 1);
    Obj target = newControl();
    Put(target, c::PropertySheetEnabled, Bool(false));
    QWidget* window = windowOf(target);
    host(target)->setExtent(540, 426, 96, 96);
    const std::string before = textOf(target);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(path)), QUrl::fromLocalFile("/nonexistent/second.lgw")});
    const std::string question = "[" + path + "]の内容で上書きします。\n" + Discard;

    ui.answers.push_back(platform::vbNo);
    EXPECT_EQ(dragOnto(window, &files), std::make_pair(true, false));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].prompt, question);
    EXPECT_EQ(textOf(target), before);

    ui.answers.push_back(platform::vbYes);
    EXPECT_EQ(dragOnto(window, &files), std::make_pair(true, true));
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].prompt, question);
    EXPECT_EQ(textOf(target), textOf(source));
}
