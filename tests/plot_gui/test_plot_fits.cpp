// FITS spectra in the plot window: the save dialog's second filter and
// opening a one-dimensional FITS file as a spectrum.
#include "PlotHarness.h"

#include "fits/FitsSpectrum.h"
#include "state/AppState.h"

using namespace plottest;

TEST(PlotFits, SaveDialogSecondFilterWritesAFitsSpectrum)
{
    Spectrum s;
    for (int i = 0; i < 64; ++i) {
        s.x.push_back(6000.0f + 0.5f * static_cast<float>(i));
        s.y.push_back(static_cast<float>(100 + i % 7));
    }
    PlotHarness h(s);
    const std::string target = h.dir.file("out.fits");
    h.ui.answerDialog(target, 2);
    h.plot->mnuSaveAs->trigger();
    EXPECT_EQ(h.ui.dialogs.back().dialog.Filter, "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|FITSｽﾍﾟｸﾄﾙ(*.fits)|*.fits|");
    const std::string bytes = readAll(target);
    ASSERT_EQ(bytes.size(), 2u * 2880u);
    EXPECT_EQ(bytes.substr(160, 80), testsupport::card("NAXIS   =                    1"));
    EXPECT_NE(bytes.find(testsupport::card("CTYPE1  = 'WAVE    '")), std::string::npos);
    std::vector<float> x, y;
    ASSERT_EQ(raylen::sfOpenFitsSpectrum(target, x, y), "");
    EXPECT_EQ(x, s.x);
    EXPECT_EQ(y, s.y);
}

TEST(PlotFits, FitsSpectraOpenInThePlotWindow)
{
    Spectrum s;
    s.x = {0, 1, 2, 3};
    s.y = {1, 2, 3, 4};
    PlotHarness h(s);
    // The table form with an uneven wavelength scale.
    const std::string table = h.dir.file("table.fits");
    std::vector<float> x{4000.0f, 4001.5f, 4003.25f, 4006.0f}, y{5, 6, 7, 8};
    ASSERT_EQ(raylen::sfSaveFitsSpectrum(table, x, y), "");
    h.openThroughDialog(table);
    EXPECT_EQ(raylen::appState().sngSpecX, x);
    EXPECT_EQ(raylen::appState().sngSpecY, y);
    EXPECT_EQ(raylen::loadedFrmPlot()->plotX(), x);
    ASSERT_NE(raylen::loadedFrmPlot(), nullptr);
    EXPECT_TRUE(h.ui.shown.empty() || h.ui.shown.back().prompt.empty()) << h.ui.shown.back().prompt;
}
