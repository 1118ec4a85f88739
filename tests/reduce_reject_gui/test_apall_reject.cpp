// The extraction wizard's rejection boxes on the real image and plot
// windows: the trace fit and the sky fit with cosmic rays, against the core
// with the same settings, the marks held and drawn, and the plain fit when
// the boxes are empty.
#include "RejectMarks.h"

#include "../reduce_extract/SyntheticFrame.h"
#include "image/gui/FrmImage.h"
#include "reduce/Extract.h"
#include "reduce/Trace.h"
#include "reduce/gui/FrmApall.h"

#include <QFrame>
#include <QLabel>

#include <random>

using namespace rejecttest;
using raylen::appState;
using raylen::frmApall;

namespace {

// Columns whose trace centre a cosmic ray inside the region pulls away, and
// columns with a cosmic ray in the sky only.
const std::vector<int> traceHits{40, 90};
const std::vector<int> skyHits{70, 120, 121};

// A star on a dark sky with read noise: its centroids lie on the trace,
// so that only the cosmic rays are outliers.
raylen::SingleImage darkSkyFrame(const extracttest::FrameShape& shape)
{
    raylen::SingleImage image(shape.width, shape.height);
    std::mt19937 random(shape.seed);
    std::normal_distribution<double> noise(0.0, shape.noise);
    for (int x = 0; x < shape.width; ++x)
        for (int y = 0; y < shape.height; ++y) {
            const double d = (y - extracttest::traceAt(shape, x)) / shape.sigma;
            image(x, y) = static_cast<float>(shape.flux * std::exp(-0.5 * d * d) / 4.5 + noise(random));
        }
    return image;
}

class ApallReject : public ::testing::Test {
protected:
    void SetUp() override
    {
        shape.width = 160;
        shape.height = 90;
        shape.centre0 = 44;
        image = darkSkyFrame(shape);
        image(40, 52) += 30000.0f;
        image(90, 38) += 30000.0f;
        image(70, 28) += 5000.0f;
        image(120, 61) += 5000.0f;
        image(121, 26) += 3000.0f;
        extracttest::saveFrame(dir.file("star.fit"), image);
        h = std::make_unique<Harness>();
        h->openThroughDialog(dir.file("star.fit"));
        ASSERT_NE(raylen::frmImage(), nullptr);
    }
    void TearDown() override
    {
        raylen::unloadFrmApall();
        QApplication::processEvents();
        if (raylen::FrmPlot* plot = raylen::loadedFrmPlot())
            plot->dsChangeData(false);
        h.reset();
    }

    // Pages 1 to 4: columns 10 … 149, rows 35 … 55 for the trace, sky
    // 12 … 30 rows either side (outside those rows).
    raylen::FrmApall* toTracePage()
    {
        raylen::frmImage()->mnuScan->trigger();
        QApplication::processEvents();
        raylen::FrmApall* d = frmApall();
        if (d == nullptr)
            return nullptr;
        clickOn(d->cmdNext);
        typeInto(d->txtStartX, "10");
        typeInto(d->txtEndX, "149");
        typeInto(d->txtStartY, "35");
        typeInto(d->txtEndY, "55");
        clickOn(d->cmdNext);
        typeInto(d->txtStartRegion[0], "-30");
        typeInto(d->txtEndRegion[0], "-12");
        typeInto(d->txtStartRegion[1], "12");
        typeInto(d->txtEndRegion[1], "30");
        clickOn(d->cmdNext);
        typeInto(d->txtOrder, "2");
        return d->intPage == 4 ? d : nullptr;
    }
    std::string lastMessage() const { return h->ui.shown.empty() ? std::string() : h->ui.shown.back().prompt; }

    TempDir dir;
    extracttest::FrameShape shape;
    raylen::SingleImage image;
    std::unique_ptr<Harness> h;
};

std::string joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += (all.empty() ? "" : "\n") + line;
    return all;
}

} // namespace

TEST_F(ApallReject, TraceFitMarksTheColumnsItLeavesOutAndEmptyBoxesFitPlainly)
{
    raylen::FrmApall* d = toTracePage();
    ASSERT_NE(d, nullptr) << lastMessage();
    raylen::FrmPlot* plot = raylen::loadedFrmPlot();
    ASSERT_NE(plot, nullptr);
    const std::vector<float> centresX = d->sngScanX, centresY = d->sngScanY;
    ASSERT_EQ(centresX.size(), 140u);

    // Boxes empty: the plain fit, and no chart for marks is ever made.
    clickOn(d->cmdFit);
    raylen::ScanParam plainParam = appState().typScanParam;
    const raylen::TraceFit plain = raylen::fitTrace("2", centresX, centresY, plainParam);
    ASSERT_EQ(plain.status, "");
    EXPECT_EQ(text(d->lblResult->text()), joined(plain.resultLines));
    EXPECT_FALSE(plot->chart.objReject);
    EXPECT_EQ(markPixels(drawn(*plot)), 0);

    // 3σ both ways, 5 passes: the core's coefficients and flags.
    typeReject(d->reject, "3", "3", "5");
    clickOn(d->cmdFit);
    raylen::ScanParam rejectParam = appState().typScanParam;
    const raylen::TraceFit core = raylen::fitTrace("2", centresX, centresY, rejectParam, {3, 3, 5});
    ASSERT_EQ(core.status, "");
    EXPECT_EQ(text(d->lblResult->text()), joined(core.resultLines));
    EXPECT_NE(core.resultLines, plain.resultLines);
    for (int i = 0; i <= 2; ++i)
        EXPECT_EQ(appState().typScanParam.dblTraceCoef[static_cast<size_t>(i)],
                  rejectParam.dblTraceCoef[static_cast<size_t>(i)]);
    // Once the pulled columns are out the fit is on the true trace; the
    // plain fit is bent by them.
    double worstPlain = 0, worstReject = 0;
    for (int x = 10; x <= 149; ++x) {
        const double truth = extracttest::traceAt(shape, x);
        worstPlain = std::max(worstPlain, std::abs(raylen::traceCentre(plainParam, x) - truth));
        worstReject = std::max(worstReject, std::abs(raylen::traceCentre(appState().typScanParam, x) - truth));
    }
    EXPECT_LT(worstReject, 0.005);
    EXPECT_GT(worstPlain, 0.1);
    const Spectrum marks = marksOf(*plot);
    std::vector<float> flaggedX, flaggedY;
    for (size_t i = 0; i < core.rejected.size(); ++i)
        if (core.rejected[i]) {
            flaggedX.push_back(centresX[i]);
            flaggedY.push_back(centresY[i]);
        }
    EXPECT_EQ(marks.x, flaggedX);
    EXPECT_EQ(marks.y, flaggedY);
    EXPECT_EQ(marks.x, std::vector<float>(traceHits.begin(), traceHits.end()));
    EXPECT_EQ(marksDrawnAtTheirPoints(*plot, marks), static_cast<int>(marks.x.size()));
    // The fitted trace is still the clone's dashed line.
    EXPECT_TRUE(*platform::com::get(plot->chart.objCloneLine.get(), dsp::line::Visible).toBool());

    // Boxes emptied again: the plain result and the marks gone.
    typeReject(d->reject, "", "", "");
    clickOn(d->cmdFit);
    EXPECT_EQ(text(d->lblResult->text()), joined(plain.resultLines));
    EXPECT_TRUE(marksOf(*plot).x.empty());
    EXPECT_EQ(markPixels(drawn(*plot)), 0);

    // A bad value is refused with the dialog's message and the fit kept.
    typeReject(d->reject, "3", "-1", "");
    clickOn(d->cmdFit);
    EXPECT_EQ(lastMessage(), "棄却の値が正しくありません");
    EXPECT_EQ(text(d->lblResult->text()), joined(plain.resultLines));
}

TEST_F(ApallReject, SkyFitMarksTheColumnsWhoseSkyLostPixels)
{
    raylen::FrmApall* d = toTracePage();
    ASSERT_NE(d, nullptr) << lastMessage();
    raylen::FrmPlot* plot = raylen::loadedFrmPlot();
    ASSERT_NE(plot, nullptr);

    // Without rejection: the core's plain extraction, no marks.
    clickOn(d->cmdFit);
    clickOn(d->cmdNext);
    ASSERT_EQ(d->intPage, 5) << lastMessage();
    std::vector<float> coreX, coreY;
    raylen::NullSpectrumView none;
    ASSERT_EQ(raylen::sfScanDataPro(appState().typScanParam, appState().sngImage, coreX, coreY, none), "");
    EXPECT_EQ(d->sngScanY, coreY);
    EXPECT_EQ(plot->plotY(), coreY);
    EXPECT_FALSE(plot->chart.objReject);
    const std::vector<float> plainY = coreY;

    // Back to the trace page, 5σ both ways: the trace and every column's
    // sky (38 rows: one cosmic ray stands out by about 6σ).
    clickOn(d->cmdReturn);
    ASSERT_EQ(d->intPage, 4);
    typeReject(d->reject, "5", "5", "5");
    clickOn(d->cmdFit);
    clickOn(d->cmdNext);
    ASSERT_EQ(d->intPage, 5) << lastMessage();
    ASSERT_EQ(raylen::sfScanDataPro(appState().typScanParam, appState().sngImage, coreX, coreY, none, {5, 5, 5}),
              "");
    EXPECT_EQ(d->sngScanY, coreY);
    EXPECT_EQ(plot->plotY(), coreY);

    // Exactly the columns with a cosmic ray in the sky, at their values.
    const Spectrum marks = marksOf(*plot);
    std::vector<float> expectedY;
    for (int x : skyHits)
        expectedY.push_back(coreY[static_cast<size_t>(x - 10)]);
    EXPECT_EQ(marks.x, std::vector<float>(skyHits.begin(), skyHits.end()));
    EXPECT_EQ(marks.y, expectedY);
    EXPECT_EQ(marksDrawnAtTheirPoints(*plot, marks), static_cast<int>(skyHits.size()));
    // Without the cosmic rays the sky is no longer lifted there.
    for (int x : skyHits) {
        const size_t i = static_cast<size_t>(x - 10);
        EXPECT_GT(coreY[i] - plainY[i], 200.0f) << x;
    }

    // Back again: the marks go with the page.
    clickOn(d->cmdReturn);
    EXPECT_TRUE(marksOf(*plot).x.empty());
}

TEST_F(ApallReject, EveryBoxOfEveryPageTakesAClick)
{
    raylen::FrmApall* d = toTracePage();
    ASSERT_NE(d, nullptr) << lastMessage();
    using Missed = std::vector<std::string>;
    EXPECT_EQ(boxesMissingTheirClick(d), Missed{});
    // A click in the σ boxes, then typing, fills them, not 次数.
    QTest::mouseClick(d->windowHandle(), Qt::LeftButton, {}, d->reject.boxes[0]->mapTo(d, QPoint(5, 5)));
    QTest::keyClicks(QApplication::focusWidget(), "2.5");
    EXPECT_EQ(d->reject.boxes[0]->text(), "2.5");
    EXPECT_EQ(d->txtOrder->text(), "2");
    for (int page = 3; page >= 1; --page) {
        clickOn(d->cmdReturn);
        ASSERT_EQ(d->intPage, page);
        EXPECT_EQ(boxesMissingTheirClick(d), Missed{}) << "page " << page;
    }
}
