// The result window: newest line on top, 100 lines kept, an empty first line
// at every load, and the Gaussian fit's lines as the window shows them.
#include "../plot_measure/MeasureFixtures.h"
#include "../shell_gui/GuiHarness.h"
#include "plot/GaussFit.h"
#include "plot/gui/FrmResult.h"

#include <QLineEdit>
#include <QPlainTextEdit>

using namespace guitest;

namespace {

QStringList shownLines()
{
    raylen::FrmResult* window = raylen::frmResult();
    return window ? window->txtMsg->toPlainText().split('\n') : QStringList();
}

} // namespace

TEST(ResultWindow, LoadsWithOneEmptyLineAndKeepsTheNewestHundred)
{
    Harness h;
    raylen::FrmResult* window = raylen::showFrmResult();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(text(window->windowTitle()), "測定結果");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->txtMsg->isReadOnly());
    QStringList lines = shownLines();
    // 100 entries, each followed by a line end.
    ASSERT_EQ(lines.size(), 101);
    for (const QString& line : lines)
        EXPECT_TRUE(line.isEmpty());

    for (int i = 1; i <= 101; ++i)
        ASSERT_EQ(window->sfMessage("m" + std::to_string(i)), "");
    lines = shownLines();
    ASSERT_EQ(lines.size(), 101);
    EXPECT_EQ(lines.front(), "m101");
    EXPECT_EQ(lines[99], "m2");
    EXPECT_FALSE(lines.contains("m1"));
    EXPECT_TRUE(lines.back().isEmpty());

    // Showing it again keeps the log; a new load starts afresh.
    EXPECT_EQ(raylen::showFrmResult(), window);
    EXPECT_EQ(shownLines().front(), "m101");
    raylen::unloadFrmResult();
    QApplication::processEvents();
    EXPECT_EQ(raylen::frmResult(), nullptr);
    ASSERT_NE(raylen::showFrmResult(), nullptr);
    EXPECT_TRUE(shownLines().front().isEmpty());
    EXPECT_FALSE(shownLines().contains("m101"));
    raylen::unloadFrmResult();
}

TEST(ResultWindow, GaussFitReadsTitleCentreWidthFromTheTopAndFocusStays)
{
    Harness h;
    QLineEdit focusHolder;
    focusHolder.show();
    focusHolder.activateWindow();
    focusHolder.setFocus();
    QApplication::processEvents();

    const measuretest::SyntheticLine line{1000.0, 2.0, 6500.0, 400.0, 6562.8, 4.0};
    const measuretest::Spectrum s = measuretest::sample(line, 6500.0, 0.5, 241, 5.0, 5);
    raylen::FrmResult* window = raylen::showFrmResult();
    ASSERT_NE(window, nullptr);
    measuretest::RecordingOverlay overlay;
    ASSERT_EQ(raylen::sfGaussFitPro(s.x, s.y, {6545.0f, 6580.0f},
                                    {float(line.continuum(6545.0)), float(line.continuum(6580.0))}, *window, overlay),
              "");
    const QStringList lines = shownLines();
    EXPECT_EQ(lines[0], "-ｶﾞｳｽﾌｨｯﾄ-");
    EXPECT_TRUE(lines[1].startsWith("中心値 = 6562.")) << text(lines[1]);
    EXPECT_TRUE(lines[2].startsWith("半値幅 = ")) << text(lines[2]);
    EXPECT_TRUE(lines[3].isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), &focusHolder);
    raylen::unloadFrmResult();
}
