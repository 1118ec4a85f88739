// The image cut dialog opened from the image window: the region box in the
// four boxes, profiles along X and Y handed to the plot window, the Enter
// correction and the plot window's failures.
#include "../shell_gui/GuiHarness.h"
#include "image/gui/FrmImage.h"
#include "image/gui/FrmImplot.h"
#include "platform/BasicError.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

using namespace guitest;

namespace {

// Pixel value x + 1000·y: every mean is known exactly.
double pixel(int x, int y) { return x + 1000.0 * y; }

struct Plotted {
    std::vector<float> x, y;
    int calls = 0;
    std::string answer;
};

raylen::FrmImplot* openCut(Harness& h, const TempDir& dir, Plotted& plotted)
{
    h.openThroughDialog(writeFits(dir.file("cut.fit"), -32, 40, 300, pixel));
    raylen::FrmImage* image = raylen::frmImage();
    EXPECT_NE(image, nullptr);
    if (image == nullptr)
        return nullptr;
    image->setBox(10, 100, 5, 2);
    struct CutDialog : raylen::ImageDialogs {
        explicit CutDialog(Plotted& p) : plotted(p) {}
        void showImageCut() override
        {
            // The dialog keeps the plotter after this stand-in is gone.
            raylen::showFrmImplot([&to = plotted](const std::vector<float>& x, const std::vector<float>& y) {
                ++to.calls;
                to.x = x;
                to.y = y;
                return to.answer;
            });
        }
        Plotted& plotted;
    } dialogs(plotted);
    raylen::ServiceOverride<raylen::ImageDialogs> installed(dialogs);
    image->mnuPlot->trigger();
    QApplication::processEvents();
    return raylen::frmImplot();
}

void pressEnter(QLineEdit* box)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(box, &press);
}

} // namespace

TEST(ImageCut, RegionBoxGivesTheLimitsAndAlongXFiveMeans)
{
    Harness h;
    TempDir dir;
    Plotted plotted;
    raylen::FrmImplot* cut = openCut(h, dir, plotted);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(text(cut->windowTitle()), "プロット");
    EXPECT_EQ(text(cut->txtStartX->text()), "10");
    EXPECT_EQ(text(cut->txtEndX->text()), "14");
    EXPECT_EQ(text(cut->txtStartY->text()), "100");
    EXPECT_EQ(text(cut->txtEndY->text()), "101");
    EXPECT_TRUE(cut->optHor->isChecked());
    // The document commands are locked while the dialog is open.
    EXPECT_FALSE(raylen::frmImage()->mnuImage->menuAction()->isEnabled());

    cut->cmdOK->click();
    QApplication::processEvents();
    ASSERT_EQ(plotted.calls, 1);
    EXPECT_EQ(plotted.x, (std::vector<float>{10, 11, 12, 13, 14}));
    std::vector<float> means;
    for (int x = 10; x <= 14; ++x)
        means.push_back(float((pixel(x, 100) + pixel(x, 101)) / 2));
    EXPECT_EQ(plotted.y, means);
    EXPECT_EQ(raylen::frmImplot(), nullptr);
    EXPECT_TRUE(raylen::frmImage()->mnuImage->menuAction()->isEnabled());
    EXPECT_TRUE(h.ui.shown.empty());
}

TEST(ImageCut, AlongYOverOneColumnAndEnterSwapsReversedLimits)
{
    Harness h;
    TempDir dir;
    Plotted plotted;
    raylen::FrmImplot* cut = openCut(h, dir, plotted);
    ASSERT_NE(cut, nullptr);

    cut->txtStartX->setText("8");
    cut->txtEndX->setText("3");
    pressEnter(cut->txtEndX);
    EXPECT_EQ(text(cut->txtStartX->text()), "3");
    EXPECT_EQ(text(cut->txtEndX->text()), "8");
    EXPECT_EQ(raylen::frmImage()->box().left, 3);
    EXPECT_EQ(raylen::frmImage()->box().width, 6);
    // Enter corrects only: no profile, the dialog stays.
    EXPECT_EQ(plotted.calls, 0);
    EXPECT_EQ(raylen::frmImplot(), cut);

    cut->txtStartX->setText("7");
    cut->txtEndX->setText("7");
    cut->txtStartY->setText("20");
    cut->txtEndY->setText("23");
    cut->optVer->setChecked(true);
    cut->cmdOK->click();
    ASSERT_EQ(plotted.calls, 1);
    EXPECT_EQ(plotted.x, (std::vector<float>{20, 21, 22, 23}));
    EXPECT_EQ(plotted.y, (std::vector<float>{20007, 21007, 22007, 23007}));
}

TEST(ImageCut, PlotWindowFailureIsShownAndTheDialogStays)
{
    Harness h;
    TempDir dir;
    Plotted plotted;
    raylen::FrmImplot* cut = openCut(h, dir, plotted);
    ASSERT_NE(cut, nullptr);
    plotted.answer = "sfPlotLin, 9" + platform::errorDescription(platform::errSubscript);
    cut->cmdOK->click();
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].prompt, plotted.answer);
    EXPECT_EQ(h.ui.shown[0].icon(), platform::vbCritical);
    EXPECT_EQ(raylen::frmImplot(), cut);
    cut->cmdCancel->click();
    QApplication::processEvents();
    EXPECT_EQ(raylen::frmImplot(), nullptr);
    EXPECT_TRUE(raylen::frmImage()->mnuImage->menuAction()->isEnabled());
}
