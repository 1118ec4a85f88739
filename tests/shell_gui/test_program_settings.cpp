// What the window program remembers between runs: a new main window stands
// for the next run (each case has a settings folder of its own).
#include "GuiHarness.h"

#include "shell/gui/DocumentLinks.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/ProgramSettings.h"

#include <QAction>

#include <filesystem>

using namespace guitest;
using raylen::appState;

TEST(ProgramSettings, NextRunStartsInTheLastFolderWithTheLastFilterAndSize)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("night"));
    const std::string frame = writeFits(dir.file("night/frame.fit"), 16, 8, 6, [](int x, int y) { return x + y; });
    {
        Harness first;
        first.openThroughDialog(frame);
        ASSERT_EQ(first.ui.dialogs.size(), 1u);
        EXPECT_EQ(first.ui.dialogs[0].dialog.InitDir, "");
        // The first run opens at the size it always had.
        EXPECT_EQ(first.main->size(), QSize(raylen::twipsToPixelsX(9600), raylen::twipsToPixelsY(7200)));
        first.main->resize(900, 700);
        bool closed = first.main->close();
        ASSERT_TRUE(closed);
    }
    Harness next;
    EXPECT_EQ(next.main->size(), QSize(900, 700));
    // The text entry chosen with no document open is offered again then.
    next.ui.answerDialog(frame, 2);
    next.main->mnuOpen->trigger();
    QApplication::processEvents();
    next.ui.answerDialog(frame);
    ASSERT_TRUE(raylen::unloadImageWindow());
    next.main->mnuOpen->trigger();
    QApplication::processEvents();
    ASSERT_EQ(next.ui.dialogs.size(), 2u);
    EXPECT_EQ(next.ui.dialogs[0].dialog.InitDir, dir.file("night"));
    EXPECT_EQ(next.ui.dialogs[0].dialog.FilterIndex, 1);
    EXPECT_EQ(next.ui.dialogs[1].dialog.FilterIndex, 2);
}

TEST(ProgramSettings, CalibrationFilesOfTheLastRunAreOfferedAgain)
{
    TempDir dir;
    const std::string dark = writeFits(dir.file("dark.fit"), 16, 8, 6, [](int, int) { return 1; });
    raylen::rememberFile(raylen::RememberedFile::dark, dark);
    raylen::rememberFile(raylen::RememberedFile::table, dir.file("gone.dat"));
    Harness next;
    EXPECT_EQ(appState().strDarkFileName, dark);
    // A file removed since is not offered.
    EXPECT_EQ(appState().strTableFileName, "");
    EXPECT_EQ(appState().strFlatFileName, "");
}
