// The extraction wizard driven page by page on a real image window, with a
// recording plot window and scripted message boxes and file dialogs.
#include "GuiHarness.h"
#include "ProgramWindows.h"

#include "../SyntheticFrame.h"
#include "image/gui/FrmImage.h"
#include "image/gui/PicImage.h"
#include "reduce/Extract.h"
#include "reduce/ParamFile.h"
#include "reduce/Trace.h"
#include "plot/gui/FrmPlot.h"
#include "reduce/gui/FrmApall.h"
#include "shell/gui/Help.h"
#include "view/SpectrumView.h"
#include "files/TextSpectrum.h"

#include <QCheckBox>
#include <QListWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace guitest;
using namespace platform;
using raylen::appState;
using raylen::frmApall;
using raylen::frmImage;

namespace {

// The image window's scan command opens the wizard on view; closing the
// image window unloads it.
struct ScanDialogs : raylen::ImageDialogs {
    explicit ScanDialogs(raylen::SpectrumView& v) : view(v) {}
    void showScan() override { raylen::showFrmApall(view); }
    void unloadAll() override { raylen::unloadFrmApall(); }
    raylen::SpectrumView& view;
};

// Keeps what the wizard draws and answers the save as the plot window
// would: a chosen name (the text file written) or a cancelled dialog.
struct RecordingPlot : raylen::NullSpectrumView {
    std::string sfPlotLin(const std::vector<float>& x, const std::vector<float>& y) override
    {
        loaded = true;
        lineX = x;
        lineY = y;
        ++lines;
        return {};
    }
    std::string sfPlotLinClone(const std::vector<float>& x, const std::vector<float>& y) override
    {
        loaded = true;
        cloneX = x;
        cloneY = y;
        return {};
    }
    std::string sfPlotRejected(const std::vector<float>& x, const std::vector<float>& y) override
    {
        rejectedX = x;
        rejectedY = y;
        ++rejectedCalls;
        return {};
    }
    std::string sfPlotUncertainty(const std::vector<float>& sigma) override
    {
        uncertainty = sigma;
        return {};
    }
    bool isLoaded() const override { return loaded; }
    void dsErasePlot() override
    {
        lineX.clear();
        lineY.clear();
        ++erased;
    }
    void dsErasePlotClone() override
    {
        cloneX.clear();
        cloneY.clear();
        ++clonesErased;
    }
    void dsChangeData(bool flag) override { changed = flag; }
    std::string sfSaveDataPro(const std::vector<float>& x, const std::vector<float>& y, std::string& file,
                              bool& cancel) override
    {
        ++saves;
        cancel = saveAs.empty();
        if (cancel)
            return {};
        file = saveAs;
        return raylen::sfSaveText(x, y, file);
    }
    void unload() override
    {
        loaded = false;
        ++unloads;
    }

    bool loaded = false, changed = true;
    int lines = 0, erased = 0, clonesErased = 0, saves = 0, unloads = 0, rejectedCalls = 0;
    std::vector<float> lineX, lineY, cloneX, cloneY, rejectedX, rejectedY, uncertainty;
    std::string saveAs;
};

void press(QWidget* w, QPoint at) { mouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }

class Wizard : public ::testing::Test {
protected:
    void SetUp() override
    {
        shape.width = 160;
        shape.height = 90;
        shape.centre0 = 44;
        image = extracttest::makeFrame(shape);
        extracttest::saveFrame(dir.file("star.fit"), image);
        h = std::make_unique<Harness>();
        h->openThroughDialog(dir.file("star.fit"));
        ASSERT_NE(frmImage(), nullptr);
    }
    void TearDown() override
    {
        raylen::unloadFrmApall();
        QApplication::processEvents();
        h.reset();
    }

    // The region box drawn with the mouse over columns 10 … 149, rows 20 … 69.
    void drawRegion()
    {
        QWidget* pic = frmImage()->picImage;
        press(pic, QPoint(10, 20));
        mouse(pic, QEvent::MouseMove, QPoint(150, 70), Qt::NoButton, Qt::LeftButton);
        mouse(pic, QEvent::MouseButtonRelease, QPoint(150, 70), Qt::LeftButton, Qt::NoButton);
    }
    raylen::FrmApall* open()
    {
        frmImage()->mnuScan->trigger();
        QApplication::processEvents();
        return frmApall();
    }
    static bool onPage(raylen::FrmApall* d, int page)
    {
        for (int p = 1; p <= 5; ++p)
            if (d->picContena[static_cast<size_t>(p)]->isVisible() != (p == page))
                return false;
        return d->intPage == page;
    }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const auto& shown : h->ui.shown)
            texts.push_back(shown.prompt);
        return texts;
    }

    TempDir dir;
    extracttest::FrameShape shape;
    raylen::SingleImage image;
    RecordingPlot plot;
    ScanDialogs dialogs{plot};
    raylen::ServiceOverride<raylen::ImageDialogs> installed{dialogs};
    std::unique_ptr<Harness> h;
};

} // namespace

TEST_F(Wizard, PageByPageToTheSavedSpectrum)
{
    drawRegion();
    const raylen::ShpBox box = frmImage()->box();
    raylen::FrmApall* d = open();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->windowTitle()), "ｽｷｬﾝ [ star.fit ]");
    EXPECT_EQ(appState().intTaskMode, 20);
    EXPECT_FALSE(h->main->button(8)->isEnabled());
    EXPECT_TRUE(onPage(d, 1));
    EXPECT_FALSE(d->cmdReturn->isEnabled());
    EXPECT_FALSE(d->txtRefFileName->isVisibleTo(d));
    EXPECT_EQ(text(d->cmdNext->text()), "次へ");
    EXPECT_EQ(text(d->chkRefScan->text()), "参照してスキャン");

    d->cmdNext->click();
    EXPECT_TRUE(onPage(d, 2));
    EXPECT_TRUE(d->cmdReturn->isEnabled());
    EXPECT_TRUE(d->optHor->isChecked());
    EXPECT_EQ(text(d->txtStartX->text()), std::to_string(box.left));
    EXPECT_EQ(text(d->txtEndX->text()), std::to_string(box.left + box.width - 1));
    EXPECT_EQ(text(d->txtStartY->text()), std::to_string(box.top));
    EXPECT_EQ(text(d->txtEndY->text()), std::to_string(box.top + box.height - 1));
    // Typed over the image's edge and confirmed with Enter: clamped.
    d->txtEndX->setText("500");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(d->txtEndX, &enter);
    EXPECT_EQ(text(d->txtEndX->text()), "159");

    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 3)) << ::testing::PrintToString(messages());
    // The slit profile of the region was plotted.
    EXPECT_EQ(plot.lineX.size(), static_cast<size_t>(box.height));
    EXPECT_EQ(text(d->txtScanWidth->text()), "6");
    EXPECT_TRUE(d->chkSkySub->isChecked());
    EXPECT_EQ(text(d->txtSkyFitOrder->text()), "1");
    d->txtStartRegion[0]->setText("10");
    d->txtEndRegion[0]->setText("20");
    d->txtStartRegion[1]->setText("-20");
    d->txtEndRegion[1]->setText("-10");
    d->chkSkySub->click();
    EXPECT_EQ(appState().typScanParam.blnSkySub, 0);
    EXPECT_FALSE(d->txtSkyFitOrder->isEnabled());
    d->chkSkySub->click();
    EXPECT_EQ(appState().typScanParam.blnSkySub, -1);
    EXPECT_TRUE(d->txtSkyFitOrder->isEnabled());

    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 4)) << ::testing::PrintToString(messages());
    EXPECT_EQ(text(d->txtStartRegion[0]->text()), "-20");
    EXPECT_EQ(text(d->txtEndRegion[0]->text()), "-10");
    EXPECT_EQ(text(d->txtStartRegion[1]->text()), "10");
    EXPECT_EQ(text(d->txtEndRegion[1]->text()), "20");
    EXPECT_EQ(text(d->txtOrder->text()), "2");
    EXPECT_FALSE(d->cmdNext->isEnabled());
    const std::vector<float> centres = plot.lineY;
    EXPECT_EQ(centres.size(), 150u);
    EXPECT_EQ(d->sngScanY, centres);

    d->cmdFit->click();
    EXPECT_TRUE(d->cmdNext->isEnabled());
    const QStringList result = d->lblResult->text().split('\n');
    ASSERT_EQ(result.size(), 4);
    EXPECT_EQ(text(result[0]), "結果 a0+a1*x+a2*x^2+a3*x^3+....");
    EXPECT_TRUE(result[3].startsWith("a2="));
    EXPECT_EQ(plot.cloneY.size(), 150u);

    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 5)) << ::testing::PrintToString(messages());
    EXPECT_EQ(text(d->cmdNext->text()), "保存");
    EXPECT_TRUE(plot.cloneY.empty()); // the fitted trace is erased first
    // The spectrum is the core's extraction with the record the pages set.
    raylen::NullSpectrumView none;
    std::vector<float> xs, ys;
    ASSERT_EQ(raylen::sfScanDataPro(appState().typScanParam, appState().sngImage, xs, ys, none), "");
    EXPECT_EQ(plot.lineY, ys);
    EXPECT_EQ(d->sngScanY, ys);

    // Back to page 4 re-measures the centres in place of the spectrum.
    d->cmdReturn->click();
    EXPECT_TRUE(onPage(d, 4));
    EXPECT_EQ(d->sngScanY, centres);
    EXPECT_EQ(plot.lineY, centres);
    EXPECT_EQ(text(d->cmdNext->text()), "次へ");
    EXPECT_FALSE(plot.changed);
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 5));

    // A cancelled save dialog writes nothing and stays.
    d->cmdNext->click();
    EXPECT_EQ(plot.saves, 1);
    EXPECT_TRUE(onPage(d, 5));
    EXPECT_FALSE(std::filesystem::exists(dir.file("star_spec.prm")));

    plot.saveAs = dir.file("star_spec.txt");
    d->cmdNext->click();
    QApplication::processEvents();
    EXPECT_EQ(frmApall(), nullptr);
    EXPECT_EQ(plot.unloads, 1);
    EXPECT_EQ(appState().intTaskMode, 10);
    EXPECT_TRUE(h->main->button(8)->isEnabled());
    const raylen::PrmBytes bytes = raylen::encodeScanParam(appState().typScanParam);
    EXPECT_EQ(readAll(dir.file("star_spec.prm")), std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(appState().typScanParam.intSkyStart1, -20);
    EXPECT_EQ(appState().typScanParam.lngEndX, 159);
    EXPECT_TRUE(messages().empty()) << ::testing::PrintToString(messages());
}

TEST_F(Wizard, BoxesReadByLeadingNumberOffsetsSortedOverflowChangesNothing)
{
    drawRegion();
    raylen::FrmApall* d = open();
    ASSERT_NE(d, nullptr);
    d->cmdNext->click();
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 3));
    auto offsets = [d] {
        return QStringList{d->txtStartRegion[0]->text(), d->txtEndRegion[0]->text(), d->txtStartRegion[1]->text(),
                           d->txtEndRegion[1]->text()};
    };
    auto setOffsets = [d](const QStringList& texts) {
        d->txtStartRegion[0]->setText(texts[0]);
        d->txtEndRegion[0]->setText(texts[1]);
        d->txtStartRegion[1]->setText(texts[2]);
        d->txtEndRegion[1]->setText(texts[3]);
    };
    EXPECT_EQ(d->txtScanWidth->text(), "6");
    EXPECT_TRUE(d->chkSkySub->isChecked());
    EXPECT_EQ(offsets(), (QStringList{"-20", "-10", "10", "20"}));
    EXPECT_EQ(d->txtSkyFitOrder->text(), "1");

    // A value beyond its member's range leaves the record and the boxes.
    const raylen::ScanParam before = appState().typScanParam;
    setOffsets({"5", "-3", "40000", "1"});
    d->cmdNext->click();
    ASSERT_EQ(h->ui.shown.size(), 1u);
    EXPECT_EQ(h->ui.shown[0].prompt, "dsGetScanParam, 6オーバーフローしました。");
    EXPECT_EQ(appState().typScanParam, before);
    EXPECT_EQ(offsets(), (QStringList{"5", "-3", "40000", "1"}));
    setOffsets({"10", "20", "-20", "-10"});
    d->txtEndX->setText("3000000000");
    d->cmdNext->click();
    ASSERT_EQ(h->ui.shown.size(), 2u);
    EXPECT_EQ(h->ui.shown[1].prompt, "dsGetScanParam, 6オーバーフローしました。");
    EXPECT_EQ(appState().typScanParam, before);
    EXPECT_TRUE(onPage(d, 3));

    d->txtScanWidth->setText("8.5"); // halves to even
    d->txtStartX->setText("3.5");
    d->txtEndX->setText("40abc");
    d->txtStartY->setText("");
    d->txtEndY->setText("77");
    d->chkSkySub->setChecked(false);
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 4)) << ::testing::PrintToString(messages());
    EXPECT_EQ(offsets(), (QStringList{"-20", "-10", "10", "20"}));
    const raylen::ScanParam& p = appState().typScanParam;
    EXPECT_EQ(p.intSkyStart1, -20);
    EXPECT_EQ(p.intSkyEnd1, -10);
    EXPECT_EQ(p.intSkyStart2, 10);
    EXPECT_EQ(p.intSkyEnd2, 20);
    EXPECT_EQ(p.intScanWidth, 8);
    EXPECT_EQ(p.blnSkySub, 0);
    EXPECT_EQ(p.lngStartX, 4);
    EXPECT_EQ(p.lngEndX, 40);
    EXPECT_EQ(p.lngStartY, 0);
    EXPECT_EQ(p.lngEndY, 77);
}

TEST_F(Wizard, NoRegionIsRefusedBeforeAnythingIsDrawn)
{
    raylen::FrmApall* d = open();
    ASSERT_NE(d, nullptr);
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 2));
    d->cmdNext->click();
    EXPECT_TRUE(onPage(d, 2));
    ASSERT_EQ(h->ui.shown.size(), 1u);
    EXPECT_EQ(h->ui.shown[0].prompt, "領域を指定して下さい");
    EXPECT_EQ(h->ui.shown[0].icon(), vbExclamation);
    EXPECT_EQ(plot.lines, 0);
    // A region typed into the boxes goes on.
    d->txtEndX->setText("149");
    d->txtEndY->setText("69");
    d->cmdNext->click();
    EXPECT_TRUE(onPage(d, 3));
    EXPECT_EQ(h->ui.shown.size(), 1u);

    // Its help opens on the scan topic, not at the top.
    d->cmdHelp->click();
    ASSERT_EQ(h->ui.dialogs.back().mode, platform::DialogMode::Help);
    EXPECT_EQ(h->ui.dialogs.back().dialog.HelpKey, "scan");
    raylen::showHelpFor(h->ui.dialogs.back().dialog);
    raylen::HelpWindow* help = raylen::helpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_NE(help->lstIndex->currentItem(), nullptr);
    EXPECT_EQ(help->lstIndex->currentItem()->data(Qt::UserRole).toString().toStdString(), "scan");
    raylen::closeHelpWindow();
    QApplication::processEvents();
}

TEST_F(Wizard, BadInputKeepsThePageWithTheMessage)
{
    drawRegion();
    raylen::FrmApall* d = open();
    ASSERT_NE(d, nullptr);
    d->cmdNext->click();
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 3));
    const raylen::ScanParam before = appState().typScanParam;
    d->txtScanWidth->setText("70000");
    d->cmdNext->click();
    EXPECT_TRUE(onPage(d, 3));
    ASSERT_EQ(h->ui.shown.size(), 1u);
    EXPECT_EQ(h->ui.shown[0].prompt, "dsGetScanParam, 6オーバーフローしました。");
    EXPECT_EQ(h->ui.shown[0].icon(), vbCritical);
    EXPECT_EQ(appState().typScanParam, before);

    d->txtScanWidth->setText("6");
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 4));
    d->txtOrder->setText("51");
    d->cmdFit->click();
    EXPECT_EQ(h->ui.shown.back().prompt, "cmdFit_Click, 9インデックスが有効範囲にありません。");
    EXPECT_EQ(h->ui.shown.back().icon(), vbCritical);
    d->txtOrder->setText("200");
    d->cmdFit->click();
    EXPECT_EQ(h->ui.shown.back().prompt, "cmdFit_Click, 9インデックスが有効範囲にありません。");
    EXPECT_FALSE(d->cmdNext->isEnabled());
    EXPECT_TRUE(onPage(d, 4));

    // Going back to page 3 plots the profile again and allows "次へ".
    d->cmdReturn->click();
    EXPECT_TRUE(onPage(d, 3));
    EXPECT_TRUE(d->cmdNext->isEnabled());
    EXPECT_EQ(plot.lineX.size(), 50u);
    d->cmdReturn->click();
    d->cmdReturn->click();
    EXPECT_TRUE(onPage(d, 1));
    EXPECT_FALSE(d->cmdReturn->isEnabled());

    d->cmdCancel->click();
    QApplication::processEvents();
    EXPECT_EQ(frmApall(), nullptr);
    EXPECT_EQ(plot.unloads, 1);
    EXPECT_EQ(appState().intTaskMode, 10);
}

TEST_F(Wizard, ReferenceScanFromAParameterFile)
{
    raylen::ScanParam reference;
    raylen::dsInitScanParam(reference);
    reference.intTraceOrder = 0;
    reference.dblTraceCoef[0] = 45.5;
    reference.lngStartX = 30;
    reference.lngEndX = 129;
    reference.lngStartY = 10;
    reference.lngEndY = 80;
    ASSERT_EQ(raylen::sfWritePrmFile(dir.file("ref.txt"), reference), "");
    raylen::ScanParam tooLarge = reference;
    tooLarge.lngEndY = 91;
    ASSERT_EQ(raylen::sfWritePrmFile(dir.file("big.txt"), tooLarge), "");

    raylen::FrmApall* d = open();
    ASSERT_NE(d, nullptr);
    d->chkRefScan->click();
    EXPECT_TRUE(d->txtRefFileName->isVisibleTo(d));
    EXPECT_TRUE(d->cmdRefFileName->isVisibleTo(d));
    h->ui.answerDialog(dir.file("big.prm"));
    d->cmdRefFileName->click();
    ASSERT_FALSE(h->ui.dialogs.empty());
    EXPECT_EQ(h->ui.dialogs.back().dialog.DialogTitle, "参照ﾌｧｲﾙを開く");
    EXPECT_EQ(h->ui.dialogs.back().dialog.Filter, "参照ﾌｧｲﾙ(*.prm)|*.prm|");
    EXPECT_EQ(text(d->txtRefFileName->text()), "big.prm");

    d->cmdNext->click();
    EXPECT_TRUE(onPage(d, 1));
    ASSERT_EQ(h->ui.shown.size(), 1u);
    EXPECT_EQ(h->ui.shown[0].prompt, "参照ファイルが適切ではありません。");
    EXPECT_EQ(h->ui.shown[0].icon(), vbCritical);
    EXPECT_EQ(plot.lines, 0);

    d->txtRefFileName->setText("none.prm");
    d->cmdNext->click();
    EXPECT_TRUE(onPage(d, 1));
    EXPECT_EQ(h->ui.shown.back().prompt, "参照ファイルが存在しません。");
    EXPECT_EQ(h->ui.shown.back().icon(), vbExclamation);

    d->txtRefFileName->setText("ref.prm");
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 5));
    EXPECT_EQ(text(d->cmdNext->text()), "保存");
    EXPECT_EQ(appState().typScanParam, reference);
    EXPECT_EQ(appState().strPrmFileName, dir.file("ref.prm"));
    raylen::ScanParam plain = reference;
    plain.blnSkySub = 0;
    raylen::NullSpectrumView none;
    std::vector<float> xs, ys;
    ASSERT_EQ(raylen::sfScanDataPro(plain, appState().sngImage, xs, ys, none), "");
    EXPECT_EQ(plot.lineY, ys);
}

namespace {

// The real plot window behind the wizard, on a frame with a region drawn.
struct OnThePlotWindow {
    TempDir dir;
    raylen::ProgramWindows windows; // the wizard draws on the plot window itself
    std::unique_ptr<Harness> h;
    OnThePlotWindow()
    {
        extracttest::FrameShape shape;
        shape.width = 120;
        shape.height = 80;
        shape.centre0 = 40;
        extracttest::saveFrame(dir.file("night.fit"), extracttest::makeFrame(shape));
        h = std::make_unique<Harness>();
        h->openThroughDialog(dir.file("night.fit"));
        QWidget* pic = frmImage()->picImage;
        press(pic, QPoint(5, 10));
        mouse(pic, QEvent::MouseMove, QPoint(115, 70), Qt::NoButton, Qt::LeftButton);
        mouse(pic, QEvent::MouseButtonRelease, QPoint(115, 70), Qt::LeftButton, Qt::NoButton);
        frmImage()->mnuScan->trigger();
    }
    ~OnThePlotWindow()
    {
        raylen::unloadFrmApall();
        raylen::unloadFrmPlot();
        QApplication::processEvents();
        h.reset();
    }
};

} // namespace

TEST(WizardOnThePlotWindow, PlotsIntoItAndSavesThroughItsDialog)
{
    OnThePlotWindow w;
    raylen::FrmApall* d = frmApall();
    ASSERT_NE(d, nullptr);
    d->cmdNext->click();
    d->cmdNext->click();
    ASSERT_EQ(d->intPage, 3) << w.h->ui.shown.size();
    raylen::FrmPlot* plot = raylen::loadedFrmPlot();
    ASSERT_NE(plot, nullptr);
    // The slit profile: one point per row of the region.
    const raylen::ShpBox box = frmImage()->box();
    EXPECT_EQ(plot->plotX().size(), static_cast<size_t>(box.height));
    EXPECT_EQ(plot->plotX().front(), static_cast<float>(box.top));
    d->cmdNext->click();
    ASSERT_EQ(d->intPage, 4);
    EXPECT_EQ(plot->plotY(), d->sngScanY);
    d->cmdFit->click();
    d->cmdNext->click();
    ASSERT_EQ(d->intPage, 5);
    EXPECT_EQ(plot->plotY(), d->sngScanY);

    // The save dialog cancelled: nothing written, still on page 5.
    w.h->ui.cancelDialog();
    d->cmdNext->click();
    ASSERT_FALSE(w.h->ui.dialogs.empty());
    EXPECT_EQ(w.h->ui.dialogs.back().dialog.DialogTitle, "名前を付けて保存");
    EXPECT_EQ(d->intPage, 5);
    EXPECT_TRUE(d->picContena[5]->isVisible());
    EXPECT_FALSE(std::filesystem::exists(w.dir.file("night_spec.txt")));

    const std::vector<float> xs = d->sngScanX, ys = d->sngScanY;
    w.h->ui.answerDialog(w.dir.file("night_spec.txt"));
    w.h->ui.answers.push_back(vbNo); // should the plot window ask about its spectrum
    d->cmdNext->click();
    QApplication::processEvents();
    EXPECT_EQ(frmApall(), nullptr);
    EXPECT_EQ(raylen::loadedFrmPlot(), nullptr);
    std::vector<float> savedX, savedY;
    ASSERT_EQ(raylen::sfOpenText(w.dir.file("night_spec.txt"), savedX, savedY), "");
    EXPECT_EQ(savedX, xs);
    EXPECT_EQ(savedY, ys);
    const raylen::PrmBytes bytes = raylen::encodeScanParam(appState().typScanParam);
    EXPECT_EQ(readAll(w.dir.file("night_spec.prm")), std::string(bytes.begin(), bytes.end()));
    for (const auto& shown : w.h->ui.shown)
        ADD_FAILURE() << "unexpected message: " << shown.prompt;
}

TEST(WizardOnThePlotWindow, ClosingThePlotWindowUnloadsTheWizard)
{
    OnThePlotWindow w;
    raylen::FrmApall* d = frmApall();
    ASSERT_NE(d, nullptr);
    d->cmdNext->click();
    d->cmdNext->click();
    ASSERT_NE(raylen::loadedFrmPlot(), nullptr);
    w.h->ui.answers.push_back(vbNo);
    raylen::unloadFrmPlot();
    QApplication::processEvents();
    EXPECT_EQ(raylen::loadedFrmPlot(), nullptr);
    EXPECT_EQ(frmApall(), nullptr);
    EXPECT_EQ(appState().intTaskMode, 10);
}

TEST_F(Wizard, OptimalExtractionOnTheAperturePageMarksTheCosmicRay)
{
    // A cosmic ray on the trace of column 80, inside the aperture.
    const int hitColumn = 80;
    image(hitColumn, static_cast<int32_t>(std::lround(extracttest::traceAt(shape, hitColumn)))) += 20000.0f;
    extracttest::saveFrame(dir.file("hit.fit"), image);
    h->openThroughDialog(dir.file("hit.fit"));
    ASSERT_NE(frmImage(), nullptr);
    drawRegion();
    raylen::FrmApall* d = open();
    ASSERT_NE(d, nullptr);
    d->cmdNext->click();
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 3)) << ::testing::PrintToString(messages());
    EXPECT_FALSE(d->chkOptimal->isChecked());
    EXPECT_EQ(text(d->txtCrSigma->text()), "5.0");
    EXPECT_TRUE(d->chkOptimal->isVisible());
    const QPoint middle = d->chkOptimal->rect().center();
    mouse(d->chkOptimal, QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
    mouse(d->chkOptimal, QEvent::MouseButtonRelease, middle, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(d->chkOptimal->isChecked());
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 4));
    d->cmdFit->click();
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 5)) << ::testing::PrintToString(messages());
    // The plotted spectrum is the core's optimal extraction, with its σ.
    raylen::ExtractOptions options;
    options.optimal = true;
    raylen::ExtractResult expected;
    raylen::NullSpectrumView none;
    ASSERT_EQ(raylen::sfScanDataPro(appState().typScanParam, appState().sngImage, options, expected, none), "");
    EXPECT_EQ(plot.lineY, expected.y);
    EXPECT_EQ(plot.uncertainty, expected.sigma);
    EXPECT_EQ(appState().sngSpecSigma, expected.sigma);
    // The column that lost the cosmic ray is marked as rejections are.
    ASSERT_GE(plot.rejectedCalls, 1);
    EXPECT_NE(std::find(plot.rejectedX.begin(), plot.rejectedX.end(), static_cast<float>(hitColumn)),
              plot.rejectedX.end());
    // The box sum of that column holds the ray; the optimal value does not.
    std::vector<float> boxX, boxY;
    ASSERT_EQ(raylen::sfScanDataPro(appState().typScanParam, appState().sngImage, boxX, boxY, none), "");
    const size_t c = static_cast<size_t>(hitColumn - appState().typScanParam.lngStartX);
    EXPECT_GT(boxY[c] - expected.y[c], 10000.0f);
    d->cmdCancel->click();
}

namespace {

// Typed with key events over whatever the box held.
void typeInto(QLineEdit* box, const char* typed)
{
    QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    QApplication::sendEvent(box, &selectAll);
    for (QChar c : QString::fromUtf8(typed)) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

} // namespace

TEST_F(Wizard, NoiseBoxesOnTheAperturePageFeedTheUncertainty)
{
    drawRegion();
    raylen::FrmApall* d = open();
    ASSERT_NE(d, nullptr);
    d->cmdNext->click();
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 3)) << ::testing::PrintToString(messages());
    // A frame without GAIN and RDNOISE: 1 and 0, and the note says so.
    EXPECT_EQ(text(d->txtGain->text()), "1");
    EXPECT_EQ(text(d->txtRdNoise->text()), "0");
    ASSERT_TRUE(d->lblNoiseNote->isVisible());
    EXPECT_EQ(text(d->lblNoiseNote->text()), "GAIN, RDNOISE が\nなく 1 と 0 を仮定");
    // The new boxes overlap nothing on the page and show their whole text.
    for (QWidget* added : std::initializer_list<QWidget*>{d->lblGain, d->txtGain, d->lblRdNoise, d->txtRdNoise,
                                                           d->lblNoiseNote}) {
        EXPECT_TRUE(d->picContena[3]->rect().contains(added->geometry())) << text(added->objectName());
        for (QObject* o : d->picContena[3]->children()) {
            auto* other = qobject_cast<QWidget*>(o);
            if (other != nullptr && other != added && other->isVisible()) {
                EXPECT_FALSE(other->geometry().intersects(added->geometry()))
                    << text(added->objectName()) << " over " << text(other->objectName());
            }
        }
    }
    for (QLabel* label : {d->lblGain, d->lblRdNoise, d->lblNoiseNote}) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << text(label->text());
        EXPECT_LE(label->sizeHint().height(), label->height()) << text(label->text());
    }

    // A read noise below zero keeps the page with the message.
    typeInto(d->txtGain, "2.5");
    typeInto(d->txtRdNoise, "-1");
    d->cmdNext->click();
    EXPECT_TRUE(onPage(d, 3));
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().back(), "利得には正の数, 読み出しﾉｲｽﾞには 0 以上の数を指定してください");
    typeInto(d->txtRdNoise, "7");
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 4));
    d->cmdFit->click();
    d->cmdNext->click();
    ASSERT_TRUE(onPage(d, 5)) << ::testing::PrintToString(messages());
    // The σ handed on is the core's with the typed model, not the assumed one.
    raylen::ExtractOptions options;
    options.noise = {2.5, 7.0};
    raylen::ExtractResult typed, assumed;
    raylen::NullSpectrumView none;
    ASSERT_EQ(raylen::sfScanDataPro(appState().typScanParam, appState().sngImage, options, typed, none), "");
    options.noise = {};
    ASSERT_EQ(raylen::sfScanDataPro(appState().typScanParam, appState().sngImage, options, assumed, none), "");
    EXPECT_EQ(plot.uncertainty, typed.sigma);
    EXPECT_NE(plot.uncertainty, assumed.sigma);
    const std::vector<std::string> history = raylen::historyTexts(appState().specMeta);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_NE(history[0].find(" gain=2.5 rdn=7"), std::string::npos) << history[0];
    d->cmdCancel->click();
    QApplication::processEvents();

    // A frame with the cards: their values, no note.
    raylen::HeaderCards cards = extracttest::floatCards(shape.width, shape.height);
    cards.insert(cards.end() - 1, {testsupport::card("GAIN    =                 1.75"),
                                   testsupport::card("RDNOISE =                  4.2")});
    ASSERT_EQ(raylen::sfSaveImgSng(dir.file("cards.fit"), cards, image), "");
    h->openThroughDialog(dir.file("cards.fit"));
    d = open();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->txtGain->text()), "1.75");
    EXPECT_EQ(text(d->txtRdNoise->text()), "4.2");
    EXPECT_TRUE(d->lblNoiseNote->isHidden());
    d->cmdCancel->click();
}
