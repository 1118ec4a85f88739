// The plot window opened through the shell: the chart's object tree, tick
// formats, ranges, captions, the save question and saving.
#include "PlotHarness.h"

#include "lumigra/Constants.h"
#include "files/TextSpectrum.h"

#include <QAction>
#include <QMenu>

namespace plottest {
namespace {

using namespace lumigra;

TEST(PlotWindow, OpensATextSpectrumWithTheChartBuiltAsListed)
{
    PlotHarness h(ramp(50, 6500, 2, 10, 1));
    ASSERT_NE(h.plot, nullptr);
    EXPECT_TRUE(raylen::appState().blnPlotLoaded);
    EXPECT_EQ(h.caption(), "ｸﾞﾗﾌ [ spec.txt ]");
    EXPECT_EQ(text(h.main->windowTitle()).find(h.path) != std::string::npos, true);
    raylen::PlotChart& c = h.plot->chart;
    // Plot area and axes.
    const raylen::PlotFrame f = c.frame();
    EXPECT_EQ(f.orgX, 13.0);
    EXPECT_EQ(f.orgY, 10.0);
    EXPECT_EQ(f.width, 120.0);
    EXPECT_EQ(f.height, 80.0);
    EXPECT_EQ(*h.get(c.objAxisY, dsp::xyAxis::Length).toDouble(), 80.0);
    EXPECT_EQ(*h.get(c.objAxisX, dsp::xyAxis::Orientation).toI2(), lgXyAxisX);
    // Labels by their names, with the document's name and a date.
    auto labels = platform::com::objectOf(h.get(c.Lumigra1, dsp::control::Labels));
    auto byName = [&](const std::string& name) {
        return platform::com::objectOf(platform::com::get(labels.get(), dsp::collection::Item, {platform::com::Variant::fromString(name)}));
    };
    EXPECT_EQ(*h.get(byName("mLG_lblObject"), dsp::label::String1).toText(), "spec.txt");
    const std::string date = *h.get(byName("mLG_lblDate"), dsp::label::String1).toText();
    EXPECT_EQ(date.size(), 19u);
    EXPECT_EQ(date[4], '/');
    EXPECT_EQ(*h.get(byName("mLG_lblAxisY"), dsp::label::Angle).toDouble(), 90.0);
    // Marker lines span the plot area vertically and are hidden.
    auto lines = platform::com::objectOf(h.get(c.Lumigra1, dsp::control::Lines));
    auto line3 = platform::com::objectOf(
        platform::com::get(lines.get(), dsp::collection::Item, {platform::com::Variant::fromString("mlglineLine(3)")}));
    EXPECT_EQ(*h.get(line3, dsp::line::FromY).toDouble(), 10.0);
    EXPECT_EQ(*h.get(line3, dsp::line::ToY).toDouble(), 90.0);
    EXPECT_FALSE(*h.get(line3, dsp::line::Visible).toBool());
    // The spectrum is the black marker line; key events reach the window.
    EXPECT_TRUE(*h.get(c.objGraphLine, dsp::line::Visible).toBool());
    EXPECT_EQ(*h.get(c.Lumigra1, dsp::control::MouseAction).toI2(), lgFireMouseEvent);
    EXPECT_EQ(h.plot->plotX(), raylen::appState().sngSpecX);
}

TEST(PlotWindow, YTickFormatSwitchesOutsideOneMillionthAndNineHundredNinetyNineThousand)
{
    PlotHarness h(ramp(10, 1, 1, 0, 1));
    struct Case {
        float largest;
        const char* format;
    };
    for (Case k : {Case{2.5E-15f, "0.0#####E+0"}, Case{12000, "General Number"}, Case{999999, "General Number"},
                   Case{1000000, "0.0#####E+0"}, Case{9.9E-7f, "0.0#####E+0"}, Case{1.1E-6f, "General Number"}}) {
        std::vector<float> x{1, 2, 3}, y{0, k.largest / 2, k.largest};
        ASSERT_EQ(h.plot->sfPlotLin(x, y), "");
        EXPECT_EQ(h.yTickFormat(), k.format) << k.largest;
    }
    // The X axis keeps the general format.
    EXPECT_EQ(*h.get(h.object(h.plot->chart.objAxisX, dsp::xyAxis::Tick), dsp::xyTick::LabelFormat).toText(),
              "General Number");
}

TEST(PlotWindow, ManualRangeKeptByNewDataAndAutomaticAgainByAutoScaleAndRightClick)
{
    PlotHarness h(ramp(200, 6450, 1, 1, 0.01f));
    h.plot->dsSetRangeAxisX(false, 6600, 6500);
    ASSERT_EQ(h.plot->sfPlotLin(ramp(300, 6400, 1, 5, 0.1f).x, ramp(300, 6400, 1, 5, 0.1f).y), "");
    bool automatic = false;
    float maximum = 0, minimum = 0;
    h.plot->dsGetRangeAxisX(automatic, maximum, minimum);
    EXPECT_FALSE(automatic);
    EXPECT_EQ(maximum, 6600);
    EXPECT_EQ(minimum, 6500);

    h.plot->dsAutoScale();
    EXPECT_EQ(h.selection(h.plot->chart.objAxisX, true), lgSelectionAutomatic);
    EXPECT_EQ(h.selection(h.plot->chart.objAxisY, false), lgSelectionAutomatic);

    // Logarithmic Y: read back as style 10; any other style makes it linear.
    h.plot->dsSetRangeAxisY(false, 100, 1, 10);
    int16_t style = 0;
    automatic = false;
    h.plot->dsGetRangeAxisY(automatic, maximum, minimum, style);
    EXPECT_EQ(style, 10);
    EXPECT_FALSE(automatic);
    EXPECT_EQ(*h.get(h.plot->chart.objAxisY, dsp::xyAxis::Style).toI2(), lgXyAxisNumericLog10);
    h.plot->dsSetRangeAxisY(false, 100, 1, 7);
    h.plot->dsGetRangeAxisY(automatic, maximum, minimum, style);
    EXPECT_EQ(style, 1);

    // A zoom with key a, then the right button restores both axes.
    h.twice('a', 6420, 20, 6480, 20);
    EXPECT_EQ(h.selection(h.plot->chart.objAxisX, true), lgSelectionManual);
    h.click(Qt::RightButton);
    EXPECT_EQ(h.selection(h.plot->chart.objAxisX, true), lgSelectionAutomatic);
    EXPECT_EQ(h.selection(h.plot->chart.objAxisX, false), lgSelectionAutomatic);
    EXPECT_EQ(h.selection(h.plot->chart.objAxisY, true), lgSelectionAutomatic);
    EXPECT_EQ(h.selection(h.plot->chart.objAxisY, false), lgSelectionAutomatic);
}

TEST(PlotWindow, TrimWithReversedEndsZoomsToTheIntervalAndItsData)
{
    // Y = 1000 - X over X = 0 … 999.
    PlotHarness h(ramp(1000, 0, 1, 1000, -1));
    ASSERT_EQ(h.plot->sfTrimPlot(h.plot->plotX(), h.plot->plotY(), 500, 400), "");
    bool automatic = false;
    float maximum = 0, minimum = 0;
    h.plot->dsGetRangeAxisX(automatic, maximum, minimum);
    EXPECT_FALSE(automatic);
    EXPECT_EQ(minimum, 400);
    EXPECT_EQ(maximum, 500);
    int16_t style = 0;
    h.plot->dsGetRangeAxisY(automatic, maximum, minimum, style);
    // The index window runs to 501, the first point beyond 500.
    EXPECT_EQ(maximum, 600);
    EXPECT_EQ(minimum, 499);
}

TEST(PlotWindow, CaptionsAndTheSaveQuestionAnswers)
{
    PlotHarness h(ramp(3, 6560, 1, 1, 1));
    h.plot->dsChangeData(true);
    EXPECT_EQ(h.caption(), "ｸﾞﾗﾌ [ spec.txt 変更 ]");
    EXPECT_TRUE(h.plot->dfIsDataChange());

    // Cancel keeps the window and the mark.
    h.ui.answers.push_back(platform::vbCancel);
    EXPECT_FALSE(raylen::unloadFrmPlot());
    QApplication::processEvents();
    ASSERT_EQ(raylen::loadedFrmPlot(), h.plot);
    EXPECT_TRUE(h.plot->dfIsDataChange());
    ASSERT_FALSE(h.ui.shown.empty());
    EXPECT_EQ(h.ui.shown.back().prompt, "変更されています. 保存しますか？");
    EXPECT_EQ(h.ui.shown.back().buttons(), platform::vbYesNoCancel);

    // Yes and then cancelling the save dialog keeps the window.
    h.ui.answers.push_back(platform::vbYes);
    h.ui.cancelDialog();
    bool cancel = false;
    h.plot->dsUnloadForm(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_TRUE(h.plot->dfIsDataChange());

    // Yes and a new file: saved, the mark goes, the document path stays.
    const std::string saved = h.dir.file("saved.txt");
    h.ui.answers.push_back(platform::vbYes);
    h.ui.answerDialog(saved);
    h.plot->dsUnloadForm(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_FALSE(h.plot->dfIsDataChange());
    EXPECT_EQ(h.caption(), "ｸﾞﾗﾌ [ spec.txt ]");
    EXPECT_EQ(readAll(saved), "6560,1\r\n6561,2\r\n6562,3\r\n");
    EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "名前を付けて保存");
    EXPECT_EQ(h.ui.dialogs.back().dialog.Filter, "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|FITSｽﾍﾟｸﾄﾙ(*.fits)|*.fits|");

    // No drops the change and the window closes.
    h.plot->dsChangeData(true);
    h.ui.answers.push_back(platform::vbNo);
    EXPECT_TRUE(raylen::unloadFrmPlot());
    QApplication::processEvents();
    EXPECT_EQ(raylen::loadedFrmPlot(), nullptr);
    EXPECT_FALSE(raylen::appState().blnPlotLoaded);
    // The shared spectrum is cut back to one point.
    EXPECT_EQ(raylen::appState().sngSpecX.size(), 1u);
}

TEST(PlotWindow, SaveAsAsksBeforeOverwritingAndRenamesTheDocument)
{
    Spectrum s;
    s.x = {6560, 6561, 6562};
    s.y = {0.5f, 1, 1.5E-15f};
    PlotHarness h(s);
    const std::string target = h.dir.file("out.txt");
    writeAll(target, "old");
    // No reopens the dialog with the chosen name; Cancel leaves the file.
    h.ui.answerDialog(target);
    h.ui.answers.push_back(platform::vbNo);
    h.ui.answerDialog(target);
    h.ui.answers.push_back(platform::vbCancel);
    h.plot->mnuSaveAs->trigger();
    EXPECT_EQ(readAll(target), "old");
    EXPECT_EQ(h.ui.dialogs.size(), 3u); // open + two save dialogs
    EXPECT_EQ(h.ui.dialogs[1].dialog.FileName, h.dir.file("spec.txt")); // proposed
    EXPECT_EQ(h.ui.dialogs.back().dialog.FileName, target);
    EXPECT_EQ(h.ui.shown.back().prompt, "同じ名前のﾌｧｲﾙが存在します。上書きしますか？");
    EXPECT_EQ(h.ui.shown.back().title, "ﾌｧｲﾙの保存");
    EXPECT_EQ(h.ui.shown.back().icon(), platform::vbExclamation);
    EXPECT_EQ(h.caption(), "ｸﾞﾗﾌ [ spec.txt ]");

    // Yes overwrites; the document takes the new name.
    h.plot->dsChangeData(true);
    h.ui.answerDialog(target);
    h.ui.answers.push_back(platform::vbYes);
    h.plot->mnuSaveAs->trigger();
    EXPECT_EQ(readAll(target), "6560,0.5\r\n6561,1\r\n6562,1.5E-15\r\n");
    EXPECT_EQ(raylen::appState().strFileName, target);
    EXPECT_EQ(h.caption(), "ｸﾞﾗﾌ [ out.txt ]");
    EXPECT_TRUE(h.main->windowTitle().endsWith(QString::fromStdString(" [" + target + "]")))
        << text(h.main->windowTitle());
    EXPECT_FALSE(h.plot->dfIsDataChange());
    std::vector<float> x, y;
    ASSERT_EQ(raylen::sfOpenText(target, x, y), "");
    EXPECT_EQ(x, s.x);
    EXPECT_EQ(y, s.y);
}

TEST(PlotWindow, SymbolsSwitchOnceAndOverlayReplacesCloneSymbols)
{
    PlotHarness h(ramp(20, 0, 1, 0, 1));
    raylen::PlotChart& c = h.plot->chart;
    ASSERT_EQ(h.plot->sfPlotSym({1, 2}, {3, 4}), "");
    EXPECT_TRUE(*h.get(c.objGraphSymbol, dsp::symbol::Visible).toBool());
    EXPECT_FALSE(*h.get(c.objGraphLine, dsp::line::Visible).toBool());
    h.plot->dsSymCrossEnabled(false);
    EXPECT_FALSE(*h.get(c.objGraphSymbol, dsp::symbol::Visible).toBool());
    // The second call does nothing until sfPlotSym runs again.
    h.plot->dsSymCrossEnabled(true);
    EXPECT_FALSE(*h.get(c.objGraphSymbol, dsp::symbol::Visible).toBool());

    ASSERT_EQ(h.plot->sfPlotSymClone({1, 2}, {3, 4}), "");
    EXPECT_TRUE(c.blnCloneSymbol);
    ASSERT_EQ(h.plot->sfPlotLinClone({1, 2}, {3, 4}), "");
    EXPECT_FALSE(c.blnCloneSymbol);
    EXPECT_FALSE(*h.get(c.objCloneSymbol, dsp::symbol::Visible).toBool());
    EXPECT_TRUE(*h.get(c.objCloneLine, dsp::line::Visible).toBool());

    // The calibration polynomial replaces X and keeps Y.
    ASSERT_EQ(h.plot->sfPlotCalibComp(1, {6500.0, 2.0}), "");
    EXPECT_EQ(h.plot->plotX()[3], 6506.0f);
    EXPECT_EQ(h.plot->plotY()[3], 3.0f);
    std::vector<float> gx, gy;
    ASSERT_EQ(h.plot->sfGetPlotData(gx, gy), "");
    EXPECT_EQ(gx, h.plot->plotX());
    EXPECT_EQ(gy, h.plot->plotY());
}

TEST(PlotWindow, OpeningAnotherSpectrumAsksFirstAndAFitsImageClosesThePlot)
{
    PlotHarness h(ramp(5, 1, 1, 1, 1));
    h.plot->dsChangeData(true);
    // Cancel at the save question: nothing is opened and nothing is said.
    Spectrum down;
    down.x = {30, 20, 10};
    down.y = {3, 2, 1};
    const std::string second = h.dir.file("down.txt");
    writeAll(second, spectrumText(down));
    h.ui.answers.push_back(platform::vbCancel);
    h.openThroughDialog(second);
    EXPECT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(raylen::loadedFrmPlot(), h.plot);
    EXPECT_EQ(h.plot->plotX().size(), 5u);
    EXPECT_EQ(h.caption(), "ｸﾞﾗﾌ [ spec.txt 変更 ]");
    // No: the descending spectrum replaces it in ascending order, same window.
    h.ui.answers.push_back(platform::vbNo);
    h.openThroughDialog(second);
    EXPECT_EQ(raylen::loadedFrmPlot(), h.plot);
    EXPECT_EQ(h.plot->plotX(), (std::vector<float>{10, 20, 30}));
    EXPECT_EQ(h.plot->plotY(), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(h.caption(), "ｸﾞﾗﾌ [ down.txt ]");
    // A FITS image closes the plot window.
    const std::string image = writeFits(h.dir.file("img.fit"), -32, 8, 6, [](int x, int y) { return x + y; });
    h.openThroughDialog(image);
    QApplication::processEvents();
    EXPECT_EQ(raylen::loadedFrmPlot(), nullptr);
    EXPECT_TRUE(raylen::appState().blnImageLoaded);
}

TEST(PlotWindow, GraphModeAndImageModeMenus)
{
    PlotHarness h(ramp(20, 0, 1, 0, 1));
    h.plot->formActivate();
    EXPECT_TRUE(h.main->button(3)->isEnabled());
    EXPECT_TRUE(h.main->button(4)->isEnabled());
    EXPECT_TRUE(h.plot->mnuIdent->isEnabled());
    EXPECT_TRUE(h.main->button(16)->isEnabled());
    raylen::appState().intActiveWindow = raylen::windowImage;
    h.plot->formActivate();
    EXPECT_FALSE(h.plot->mnuIdent->isEnabled());
    EXPECT_TRUE(h.plot->mnuAxis->isEnabled());
    EXPECT_FALSE(h.main->button(12)->isEnabled());
    EXPECT_TRUE(h.main->button(11)->isEnabled());
    EXPECT_TRUE(h.main->button(17)->isEnabled());
    EXPECT_TRUE(h.main->button(16)->isEnabled()); // untouched
    h.plot->formDeactivate();
    EXPECT_FALSE(h.main->button(4)->isEnabled());
    raylen::appState().intActiveWindow = raylen::windowPlot;
}

} // namespace
} // namespace plottest

TEST(PlotWindow, AnotherFileOpensWithoutTheCurveAndMarksALastDialogLeft)
{
    PlotHarness h(ramp(200, 6450, 1, 1, 0.01f), "first.txt");
    // What a closed identification leaves: its fitted curve and a rejected line.
    ASSERT_EQ(h.plot->sfPlotLinClone({0.0f, 1000.0f}, {4400.0f, 7400.0f}), "");
    ASSERT_EQ(h.plot->sfPlotRejected({500.0f}, {5900.0f}), "");
    const std::string second = h.dir.file("second.txt");
    writeAll(second, spectrumText(ramp(100, 4800, 1, 2, 0.02f)));
    h.openThroughDialog(second);
    ASSERT_EQ(h.caption(), "ｸﾞﾗﾌ [ second.txt ]");
    for (const raylen::ChartObject* data : {&h.plot->chart.objCloneData, &h.plot->chart.objRejectData}) {
        if (!*data)
            continue;
        const platform::com::Variant xs =
            platform::com::call(data->get(), dsp::data::GetData, {platform::com::Variant::fromI2(1)});
        EXPECT_FALSE(xs.isArray() && xs.elementCount() > 0);
    }
    bool automatic = false;
    float maximum = 0, minimum = 0;
    h.plot->dsGetRangeAxisX(automatic, maximum, minimum);
    EXPECT_TRUE(automatic);
}
