// The calibration dialog for each of its four tasks: captions, file
// dialogs, preview, "完了", "戻る" and cancelling.
#include "../plot_gui/PlotHarness.h"

#include "platform/BasicRuntime.h"
#include "reduce/gui/FrmCalib.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace plottest;
using raylen::appState;
using raylen::FrmCalib;

namespace {

struct CalibHarness : PlotHarness {
    CalibHarness(const Spectrum& s, int16_t task) : PlotHarness(s, "spec.txt"), original(s)
    {
        plot->mnuCalib_Click(task);
        dialog = raylen::frmCalib();
    }
    ~CalibHarness()
    {
        raylen::unloadFrmCalib();
        QApplication::processEvents();
    }
    // The plot window shows the spectrum as it was opened.
    void expectOriginal()
    {
        EXPECT_EQ(plot->plotX(), original.x);
        EXPECT_EQ(plot->plotY(), original.y);
    }
    Spectrum original;
    FrmCalib* dialog = nullptr;
};

Spectrum pixels(int n)
{
    Spectrum s;
    for (int i = 0; i < n; ++i) {
        s.x.push_back(static_cast<float>(i));
        s.y.push_back(10.0f + static_cast<float>(i % 7));
    }
    return s;
}

} // namespace

TEST(CalibDialog, DispersionCorrectionPreviewReturnAndFinish)
{
    CalibHarness h(pixels(101), raylen::taskDispCor);
    FrmCalib* d = h.dialog;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->windowTitle()), "波長較正 [ spec.txt ]");
    EXPECT_EQ(text(d->lblCalibFile->text()), "参照ﾌｧｲﾙ名");
    EXPECT_FALSE(d->cmdNext->isEnabled());
    EXPECT_FALSE(d->cmdReturn->isEnabled());
    EXPECT_FALSE(h.plot->mnuDispCor->isEnabled());

    writeAll(h.dir.file("bad.dip"), "4000\r\nfour\r\n");
    writeAll(h.dir.file("a.dip"), "4000\r\n2\r\n");
    h.ui.answerDialog(h.dir.file("bad.dip"));
    d->cmdCalibFile->click();
    EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "分散ﾌｧｲﾙを開く");
    EXPECT_EQ(h.ui.dialogs.back().dialog.Filter, "ﾌｧｲﾙ名(*.dip)|*.dip|");
    EXPECT_EQ(text(d->txtCalibFile->text()), "bad.dip");
    EXPECT_TRUE(d->cmdNext->isEnabled());
    d->cmdNext->click();
    EXPECT_EQ(h.ui.shown.back().prompt, "sfOpenDispFile, 13型が一致しません。");
    EXPECT_EQ(h.ui.shown.back().icon(), platform::vbCritical);
    EXPECT_EQ(d->intPage(), 1);
    h.expectOriginal();

    d->txtCalibFile->setText("none.dip");
    d->cmdNext->click();
    EXPECT_EQ(h.ui.shown.back().prompt, "ファイルが存在しません。");
    EXPECT_EQ(h.ui.shown.back().icon(), platform::vbExclamation);
    EXPECT_EQ(d->intPage(), 1);

    d->txtCalibFile->setText("a.dip");
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 2);
    EXPECT_EQ(text(d->cmdNext->text()), "完了");
    EXPECT_EQ(h.plot->plotX()[0], 4000.0f);
    EXPECT_EQ(h.plot->plotX()[100], 4200.0f);
    EXPECT_EQ(h.plot->plotY(), h.original.y);
    EXPECT_EQ(appState().sngSpecX, h.original.x) << "the data change only on 完了";

    d->cmdReturn->click();
    EXPECT_EQ(d->intPage(), 1);
    EXPECT_EQ(text(d->cmdNext->text()), "次へ");
    EXPECT_FALSE(d->cmdReturn->isEnabled());
    h.expectOriginal();
    EXPECT_EQ(h.caption().find(" 変更"), std::string::npos);

    d->cmdNext->click();
    d->cmdNext->click();
    QApplication::processEvents();
    EXPECT_EQ(raylen::frmCalib(), nullptr);
    EXPECT_EQ(appState().sngSpecX[100], 4200.0f);
    EXPECT_NE(h.caption().find(" 変更"), std::string::npos);
    EXPECT_TRUE(h.plot->mnuDispCor->isEnabled());
    EXPECT_EQ(appState().intTaskMode, raylen::taskNone);
}

TEST(CalibDialog, FluxCalibrationAndItsRefusedFile)
{
    Spectrum s{{4000.0f, 4500.0f, 5000.0f}, {10.0f, 10.0f, 10.0f}};
    CalibHarness h(s, raylen::taskFluxCalib);
    FrmCalib* d = h.dialog;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->windowTitle()), "強度較正 [ spec.txt ]");
    writeAll(h.dir.file("bad.sns"), "4000,2\r\n5000\r\n");
    writeAll(h.dir.file("s.sns"), "4000,2\r\n5000,4\r\n");
    h.ui.answerDialog(h.dir.file("bad.sns"));
    d->cmdCalibFile->click();
    EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "強度較正ﾌｧｲﾙを開く");
    EXPECT_EQ(h.ui.dialogs.back().dialog.Filter, "ﾌｧｲﾙ名(*.sns)|*.sns|");
    d->cmdNext->click();
    EXPECT_EQ(h.ui.shown.back().prompt, "sfReadSensFncFile, 62ファイルにこれ以上データがありません。");
    EXPECT_EQ(d->intPage(), 1);
    h.expectOriginal();

    d->txtCalibFile->setText("s.sns");
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 2);
    EXPECT_EQ(h.plot->plotY(), (std::vector<float>{5.0f, 10.0f / 3.0f, 2.5f}));
    d->cmdCancel->click();
    QApplication::processEvents();
    EXPECT_EQ(raylen::frmCalib(), nullptr);
    h.expectOriginal();
    EXPECT_EQ(h.caption().find(" 変更"), std::string::npos);
}

TEST(CalibDialog, NormalisationOverRegionsMarkedWithKeys)
{
    Spectrum s;
    for (int i = 0; i < 60; ++i) {
        s.x.push_back(5000.0f + 2.0f * static_cast<float>(i));
        s.y.push_back(static_cast<float>(100 + (i % 5)));
    }
    CalibHarness h(s, raylen::taskNormalize);
    FrmCalib* d = h.dialog;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->windowTitle()), "規格化 [ spec.txt ]");
    EXPECT_EQ(text(d->lblCont->text()), "連続スペクトル領域を指定して下さい \n「s」キー　領域選択\n「d」キー　領域削除");
    EXPECT_EQ(text(d->txtOrder->text()), "5");
    EXPECT_FALSE(d->cmdNext->isEnabled());

    // s twice over the whole spectrum, d twice over its second half.
    h.twice('s', 4999.0, 100.0, 5200.0, 100.0);
    h.twice('d', 5059.5, 100.0, 5200.0, 100.0);
    const std::vector<int32_t> list = appState().lngContRegion;
    ASSERT_GE(list.size(), 2u);
    d->txtOrder->setText("0");
    d->cmdFit->click();
    ASSERT_TRUE(d->cmdNext->isEnabled()) << (h.ui.shown.empty() ? "" : h.ui.shown.back().prompt);
    double mean = 0;
    for (int32_t i : list)
        mean += s.y[static_cast<size_t>(i)] / static_cast<double>(list.size());
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 2);
    for (size_t i = 0; i < s.y.size(); ++i)
        EXPECT_NEAR(h.plot->plotY()[i], s.y[i] / mean, 1e-5) << i;

    d->cmdCancel->click();
    QApplication::processEvents();
    h.expectOriginal();
    EXPECT_EQ(appState().lngContRegion, std::vector<int32_t>{0}) << "unloading resets the region list";
}

TEST(CalibDialog, FourierTransformRunsAtOnceAndFinishes)
{
    CalibHarness h(pixels(1025), raylen::taskFFT);
    FrmCalib* d = h.dialog;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->windowTitle()), "フーリエ変換 [ spec.txt ]");
    EXPECT_EQ(text(d->lblFFT->text()), "フーリエ変換\n\n「次へ」を押すと実行されます");
    EXPECT_TRUE(d->cmdNext->isEnabled());
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 2);
    EXPECT_EQ(h.plot->plotX().size(), 512u);
    d->cmdNext->click();
    QApplication::processEvents();
    EXPECT_EQ(appState().sngSpecX.size(), 512u);
    EXPECT_FLOAT_EQ(appState().sngSpecX[1], 1.0f / 1024.0f);
}

TEST(CalibDialog, DispersionCorrectionOntoALinearGrid)
{
    CalibHarness h(pixels(101), raylen::taskDispCor);
    FrmCalib* d = h.dialog;
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->chkLinear->isVisibleTo(d));
    EXPECT_FALSE(d->chkLinear->isChecked());
    // A quadratic scale, resampled onto steps of 2.5 from its first wavelength.
    writeAll(h.dir.file("q.dip"), "4000\r\n2\r\n0.001\r\n");
    h.ui.answerDialog(h.dir.file("q.dip"));
    d->cmdCalibFile->click();
    d->chkLinear->click();
    d->txtStep->setText("0");
    d->cmdNext->click();
    EXPECT_EQ(h.ui.shown.back().prompt, "刻みには正の数を指定してください");
    EXPECT_EQ(d->intPage(), 1);
    d->txtStep->setText("2.5");
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 2);
    const std::vector<float>& x = h.plot->plotX();
    // floor((4210 − 4000) / 2.5 + 1e-6) + 1 points from 4000.
    ASSERT_EQ(x.size(), 85u);
    EXPECT_EQ(x[0], 4000.0f);
    EXPECT_FLOAT_EQ(x[84], 4210.0f);
    d->cmdNext->click();
    QApplication::processEvents();
    EXPECT_EQ(appState().sngSpecX.size(), 85u);
    EXPECT_EQ(appState().specMeta.cards.size(), 1u); // one HISTORY card
}

TEST(CalibDialog, EachFileTaskNamesItsFileAndOffersTheLastOneUsed)
{
    TempDir files;
    const std::string dip = files.file("night.dip");
    writeAll(dip, "4000\r\n2\r\n");
    {
        CalibHarness h(pixels(101), raylen::taskDispCor);
        FrmCalib* d = h.dialog;
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(text(d->lblCalibKind->text()), "分散ﾌｧｲﾙ (*.dip)");
        EXPECT_EQ(text(d->txtCalibFile->text()), "");
        h.ui.answerDialog(dip);
        d->cmdCalibFile->click();
        d->cmdNext->click();
        ASSERT_EQ(d->intPage(), 2);
        d->cmdCancel->click();
    }
    {
        CalibHarness h(pixels(101), raylen::taskFluxCalib);
        ASSERT_NE(h.dialog, nullptr);
        EXPECT_EQ(text(h.dialog->lblCalibKind->text()), "感度ﾌｧｲﾙ (*.sns)");
        // The sensitivity task does not take the dispersion file.
        EXPECT_EQ(text(h.dialog->txtCalibFile->text()), "");
    }
    CalibHarness h(pixels(101), raylen::taskDispCor);
    FrmCalib* d = h.dialog;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->txtCalibFile->text()), "night.dip");
    ASSERT_TRUE(d->cmdNext->isEnabled());
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 2);
    EXPECT_EQ(h.plot->plotX()[100], 4200.0f);
}
