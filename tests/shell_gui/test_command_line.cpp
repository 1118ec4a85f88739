// The window program's command line: options decided before Qt starts, and
// files opened through the File menu's routine.
#include "GuiHarness.h"

#include "image/gui/FrmImage.h"
#include "shell/gui/CommandLine.h"

#include <unistd.h>

using namespace guitest;
using raylen::appState;
using raylen::parseCommandLine;

TEST(CommandLine, OptionsAndFiles)
{
    auto line = parseCommandLine({"--version"});
    EXPECT_TRUE(line.version);
    EXPECT_TRUE(line.error.empty());
    EXPECT_TRUE(parseCommandLine({"-h"}).help);

    line = parseCommandLine({"a.fit", "--frobnicate", "b.txt", "-x"});
    EXPECT_EQ(line.error, "raylen: unknown option --frobnicate");
    EXPECT_EQ(line.files, (QStringList{"a.fit", "b.txt"}));

    // Qt's own options pass through to QApplication; "--" ends the options.
    line = parseCommandLine({"-platform", "-style=fusion", "--", "-dash.fit"});
    EXPECT_TRUE(line.error.empty());
    EXPECT_EQ(line.files, (QStringList{"-dash.fit"}));
    EXPECT_EQ(raylen::versionLine(), "raylen 0.9.0");
}

TEST(CommandLine, RelativeFitsOpensInTheImageWindowWithItsFullPath)
{
    TempDir dir;
    writeFits(dir.file("night one.fit"), 16, 12, 10, [](int x, int y) { return 100 + x + y; }, true);
    writeFits(dir.file("second.fit"), -32, 12, 10, [](int x, int) { return x * 0.5; });
    const std::string previous = std::filesystem::current_path().string();
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    Harness h;
    // Of several files the last one opens, as in a drop.
    std::string message = raylen::openCommandLineFiles({"second.fit", "night one.fit"});
    ASSERT_EQ(::chdir(previous.c_str()), 0);
    EXPECT_EQ(message, "");
    ASSERT_NE(raylen::frmImage(), nullptr);
    EXPECT_EQ(text(raylen::frmImage()->windowTitle()), "ｲﾒｰｼﾞ [ night one.fit ]");
    EXPECT_EQ(appState().strFileName, dir.file("night one.fit"));
    EXPECT_EQ(text(h.main->windowTitle()), "Raylen Ver. 0.9 [" + dir.file("night one.fit") + "]");
    EXPECT_EQ(raylen::openWindowCaptions(), "ｲﾒｰｼﾞ [ night one.fit ]\n");
    EXPECT_TRUE(h.ui.shown.empty());
}

TEST(CommandLine, MissingFileGivesTheOpenRoutinesMessageAndOpensNothing)
{
    TempDir dir;
    Harness h;
    EXPECT_EQ(raylen::openCommandLineFiles({QString::fromStdString(dir.file("gone.fit"))}), "ﾌｧｲﾙが存在しません");
    EXPECT_EQ(raylen::frmImage(), nullptr);
    EXPECT_EQ(raylen::openCommandLineFiles({}), "");
    EXPECT_EQ(raylen::openWindowCaptions(), "");
}
