// The measurement windows connected to the real plot window: key k writes
// into the result window, the print command prints the window's chart, and
// the image cut plots into the plot window.
#include "../plot_gui/PlotHarness.h"
#include "../plot_measure/MeasureFixtures.h"
#include "image/gui/FrmImage.h"
#include "image/gui/FrmImplot.h"
#include "platform/QtUiService.h"
#include "plot/gui/FrmResult.h"
#include "ProgramWindows.h"

#include <QAction>
#include <QImage>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>

using namespace plottest;

namespace {

plottest::Spectrum absorptionLine()
{
    const measuretest::SyntheticLine line{1000.0, 2.0, 6500.0, 400.0, 6562.8, 4.0};
    const measuretest::Spectrum s = measuretest::sample(line, 6500.0, 0.5, 241, 5.0, 17);
    return {s.x, s.y};
}

} // namespace

TEST(PlotWindowLinks, KeyKTwiceWritesTheResultWindowAndDrawsTheOverlay)
{
    raylen::ProgramWindows windows;
    PlotHarness h(absorptionLine());
    ASSERT_NE(h.plot, nullptr);
    // The harness records the results itself; the real window takes over.
    h.recording.reset();
    h.twice('k', 6545.0, 1090.0, 6580.0, 1160.0);
    raylen::FrmResult* result = raylen::frmResult();
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->isVisible());
    const QStringList lines = result->txtMsg->toPlainText().split('\n');
    EXPECT_EQ(text(lines[0]), "[ spec.txt ]"); // the file the result came from
    EXPECT_EQ(text(lines[1]), "-ｶﾞｳｽﾌｨｯﾄ-");
    EXPECT_TRUE(lines[2].startsWith(QString::fromUtf8("中心値 = 6562."))) << text(lines[2]);
    EXPECT_TRUE(lines[3].startsWith(QString::fromUtf8("半値幅 = "))) << text(lines[3]);
    EXPECT_TRUE(lines[4].isEmpty());
    EXPECT_TRUE(h.ui.shown.empty());
    // Pictures for a person to look at, on request.
    if (const char* shots = std::getenv("RAYLEN_SHOT_DIR")) {
        QApplication::processEvents();
        result->grab().save(QString::fromUtf8(shots) + "/result_window.png");
        h.plot->grab().save(QString::fromUtf8(shots) + "/plot_with_fit.png");
    }
    // The results outlive the plot window, until cleared.
    raylen::unloadFrmPlot();
    QApplication::processEvents();
    ASSERT_EQ(raylen::frmResult(), result);
    EXPECT_EQ(text(result->txtMsg->toPlainText().split('\n')[0]), "[ spec.txt ]");
    result->cmdClear->click();
    EXPECT_EQ(result->txtMsg->toPlainText(), QString(raylen::FrmResult::messageCount, '\n'));
    // Wide enough for a result line and its file.
    EXPECT_GE(result->txtMsg->viewport()->width(),
              result->txtMsg->fontMetrics().horizontalAdvance(QString::fromUtf8("中心値 = 6562.85  [ spec.txt ]")));
    raylen::unloadFrmResult();
    QApplication::processEvents();
}

TEST(PlotWindowLinks, PrintCommandPrintsTheChartInsideTheMargins)
{
    raylen::ProgramWindows windows;
    PlotHarness h(absorptionLine());
    ASSERT_NE(h.plot, nullptr);
    // The harness records the results itself; the real window takes over.
    h.recording.reset();
    const std::string pdf = h.dir.file("plot.pdf");
    QPrinter& printer = platform::sharedPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    h.ui.answerDialog("");
    h.plot->mnuPrint->trigger();
    EXPECT_TRUE(h.ui.shown.empty());
    EXPECT_TRUE(h.plot->isEnabled());

    const std::string prefix = h.dir.file("page");
    ASSERT_EQ(testsupport::run("pdftoppm -r 50 -png -singlefile " + testsupport::shellQuote(pdf) + " " +
                               testsupport::shellQuote(prefix)),
              0);
    const QImage page = QImage(QString::fromStdString(prefix + ".png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    if (const char* shots = std::getenv("RAYLEN_SHOT_DIR"))
        page.save(QString::fromUtf8(shots) + "/printed_page.png");
    // Ink (the axes, the spectrum, the labels) only right of the 15 mm
    // margin and above the 5 mm one, and plenty of it.
    const int leftMargin = int(15.0 / 25.4 * 50), bottomMargin = int(5.0 / 25.4 * 50);
    int inked = 0, outside = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) {
                ++inked;
                outside += x < leftMargin || y >= page.height() - bottomMargin;
            }
    EXPECT_GT(inked, 500);
    EXPECT_EQ(outside, 0);
}

TEST(PlotWindowLinks, ImageCutPlotsIntoThePlotWindow)
{
    raylen::ProgramWindows windows;
    Harness h;
    TempDir dir;
    h.openThroughDialog(writeFits(dir.file("frame.fit"), -32, 40, 300, [](int x, int y) { return x + 1000.0 * y; }));
    raylen::FrmImage* image = raylen::frmImage();
    ASSERT_NE(image, nullptr);
    image->setBox(10, 100, 5, 2);
    image->mnuPlot->trigger();
    raylen::FrmImplot* cut = raylen::frmImplot();
    ASSERT_NE(cut, nullptr);
    cut->cmdOK->click();
    QApplication::processEvents();
    EXPECT_TRUE(h.ui.shown.empty());
    EXPECT_EQ(raylen::frmImplot(), nullptr);
    raylen::FrmPlot* plot = raylen::loadedFrmPlot();
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->plotX(), (std::vector<float>{10, 11, 12, 13, 14}));
    EXPECT_EQ(plot->plotY(), (std::vector<float>{100510, 100511, 100512, 100513, 100514}));
    EXPECT_EQ(text(plot->windowTitle()), "ｸﾞﾗﾌ [ frame.fit ]");
    raylen::unloadFrmPlot();
    QApplication::processEvents();
}
