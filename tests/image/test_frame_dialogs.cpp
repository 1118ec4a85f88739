// The cosmic-ray cleaning and frame combining dialogs, driven through the
// image window's menu with real clicks and scripted file dialogs.
#include "GuiHarness.h"

#include "fits/FitsData.h"
#include "fits/FitsRows.h"
#include "image/ErrorExtension.h"
#include "image/gui/FrmClean.h"
#include "image/gui/FrmCombine.h"
#include "image/gui/FrmImage.h"

#include <QComboBox>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace guitest;
using raylen::appState;

namespace {

constexpr int width = 64, height = 48;

// Sky of 200 with a fixed ripple for noise, and rays at three pixels.
double skyValue(int x, int y) { return 200 + 6 * std::sin(x * 12.9898 + y * 78.233) * std::cos(x * 3.1 + y * 0.7); }
double rayValue(int x, int y)
{
    const bool ray = (x == 10 && y == 12) || (x == 40 && y == 30) || (x == 41 && y == 30);
    return skyValue(x, y) + (ray ? 2500 : 0);
}

float pixel(const std::string& path, int x, int y)
{
    raylen::HeaderCards h;
    raylen::FitsInfo info;
    raylen::SingleImage image;
    EXPECT_EQ(raylen::sfOpenFits(path, h, info, image), "");
    return image(x, y);
}

} // namespace

TEST(CleanDialog, CleansTheOpenImageAndReopeningUndoes)
{
    TempDir dir;
    const std::string frame =
        writeFits(dir.file("rays.fit"), -32, width, height, rayValue, false,
                  {"GAIN    =                  1.5", "RDNOISE =                  4.0"});
    Harness h;
    h.openThroughDialog(frame);
    ASSERT_TRUE(clickMenuItem(raylen::frmImage()->mnuClean));
    raylen::FrmClean* d = raylen::frmClean();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->windowTitle()), "宇宙線除去 [ rays.fit ]");
    EXPECT_EQ(text(d->txtSigClip->text()), "4.5");
    EXPECT_EQ(text(d->txtObjLim->text()), "5");
    EXPECT_EQ(text(d->txtGain->text()), "1.5");
    EXPECT_EQ(text(d->txtRdNoise->text()), "4");
    EXPECT_TRUE(d->lblNoise->isHidden());
    EXPECT_FALSE(d->txtMaskFileName->isEnabled());
    // The document commands are off while it is open.
    EXPECT_FALSE(h.main->txtMax->isEnabled());

    // A parameter that is not a number: the message, the dialog stays, the image too.
    d->txtSigClip->setText("x");
    d->cmdOK->click();
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].prompt, "宇宙線除去のﾊﾟﾗﾒｰﾀが正しくありません");
    EXPECT_EQ(raylen::frmClean(), d);
    EXPECT_FALSE(appState().blnImageChanged);

    d->txtSigClip->setText("4.5");
    d->chkMask->click();
    h.ui.answerDialog(dir.file("mask.fit"));
    d->cmdMaskFileName->click();
    EXPECT_EQ(h.ui.dialogs.back().mode, platform::DialogMode::Save);
    EXPECT_EQ(text(d->txtMaskFileName->text()), dir.file("mask.fit"));
    d->cmdOK->click();
    QApplication::processEvents();
    ASSERT_EQ(h.ui.shown.size(), 2u);
    EXPECT_EQ(h.ui.shown[1].prompt, "宇宙線 3 画素を除去しました");
    EXPECT_EQ(h.ui.shown[1].icon(), platform::vbInformation);
    EXPECT_EQ(raylen::frmClean(), nullptr);
    EXPECT_TRUE(h.main->txtMax->isEnabled());
    EXPECT_TRUE(appState().blnImageChanged);
    EXPECT_EQ(text(raylen::frmImage()->windowTitle()), "ｲﾒｰｼﾞ [ rays.fit 変更 ]");
    EXPECT_LT(std::abs(appState().sngImage(10, 12) - skyValue(10, 12)), 20);
    EXPECT_LT(std::abs(appState().sngImage(41, 30) - skyValue(41, 30)), 20);
    EXPECT_EQ(appState().sngImage(20, 20), static_cast<float>(rayValue(20, 20)));
    EXPECT_EQ(pixel(dir.file("mask.fit"), 40, 30), 1.0f);
    EXPECT_EQ(pixel(dir.file("mask.fit"), 20, 20), 0.0f);
    bool comment = false;
    for (const std::string& c : appState().strHeader)
        comment |= c.rfind("COMMENT Cosmic rays: 3 px, sigclip 4.5 objlim 5 gain 1.5 rdnoise 4", 0) == 0;
    EXPECT_TRUE(comment);

    // Undo: the file is as it was; opening it again (not saving) restores the frame.
    h.ui.answers.push_back(platform::vbNo);
    h.openThroughDialog(frame);
    EXPECT_FALSE(appState().blnImageChanged);
    EXPECT_EQ(appState().sngImage(10, 12), static_cast<float>(rayValue(10, 12)));
}

TEST(CleanDialog, NotesAssumedNoiseAndKeepsItsLayoutWhenResized)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(writeFits(dir.file("plain.fit"), -32, width, height, rayValue));
    raylen::showFrmClean();
    raylen::FrmClean* d = raylen::frmClean();
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->lblNoise->isHidden());
    EXPECT_EQ(text(d->lblNoise->text()), "注意: GAIN がないため利得 1 を使います\n注意: RDNOISE がないため読み出しノイズ 0 を使います");
    EXPECT_EQ(text(d->txtGain->text()), "1");
    EXPECT_EQ(text(d->txtRdNoise->text()), "0");
    for (QSize size : {QSize(200, 150), QSize(900, 700)}) {
        d->resize(size);
        QApplication::processEvents();
        const QRect ok = d->cmdOK->geometry(), cancel = d->cmdCancel->geometry(), field = d->txtRdNoise->geometry();
        EXPECT_FALSE(ok.intersects(cancel));
        EXPECT_FALSE(ok.intersects(field));
        EXPECT_TRUE(d->rect().contains(ok) && d->rect().contains(cancel));
    }
    d->cmdCancel->click();
    QApplication::processEvents();
    EXPECT_EQ(raylen::frmClean(), nullptr);
}

TEST(CombineDialog, CombinesChosenFramesSavesAndOpensTheResult)
{
    TempDir dir;
    std::vector<std::string> frames;
    for (int f = 0; f < 3; ++f)
        frames.push_back(writeFits(dir.file("f" + std::to_string(f) + ".fit"), -32, width, height,
                                   [f](int x, int y) { return skyValue(x, y) + 10 * f + (f == 1 && x == 5 ? 900 : 0); },
                                   false, {"EXPTIME =                 30.0"}));
    Harness h;
    h.openThroughDialog(frames[0]);
    raylen::frmImage()->mnuCombine->trigger();
    raylen::FrmCombine* d = raylen::frmCombine();
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->cmdOK->isEnabled());
    EXPECT_FALSE(d->txtLow->isEnabled());
    for (const std::string& f : frames) {
        h.ui.answerDialog(f);
        d->cmdAdd->click();
    }
    EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "合成するﾌﾚｰﾑ");
    ASSERT_EQ(d->lstFiles->count(), 3);
    // One too many, taken off again.
    h.ui.answerDialog(frames[2]);
    d->cmdAdd->click();
    d->lstFiles->setCurrentRow(3);
    d->cmdRemove->click();
    ASSERT_EQ(d->lstFiles->count(), 3);

    d->cboMethod->setCurrentIndex(1);
    d->cboReject->setCurrentIndex(2);
    d->cboReject->activated(2);
    EXPECT_TRUE(d->txtLow->isEnabled());
    EXPECT_EQ(text(d->txtLow->text()), "1");
    h.ui.answerDialog(dir.file("sum.fit"));
    d->cmdOutput->click();
    EXPECT_EQ(h.ui.dialogs.back().mode, platform::DialogMode::Save);
    EXPECT_TRUE(d->cmdOK->isEnabled());

    // min/max 1:1 of three frames keeps the middle one: a refused count first.
    d->txtLow->setText("2");
    d->cmdOK->click();
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].prompt, "除外する枚数がﾌﾚｰﾑ数以上です");
    EXPECT_FALSE(std::filesystem::exists(dir.file("sum.fit")));
    d->txtLow->setText("1");
    d->cmdOK->click();
    QApplication::processEvents();
    EXPECT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(raylen::frmCombine(), nullptr);
    EXPECT_EQ(appState().strFileName, dir.file("sum.fit"));
    EXPECT_EQ(text(raylen::frmImage()->windowTitle()), "ｲﾒｰｼﾞ [ sum.fit ]");
    EXPECT_FALSE(appState().blnImageChanged);
    EXPECT_FLOAT_EQ(appState().sngImage(7, 9), static_cast<float>(skyValue(7, 9) + 10));
    EXPECT_FLOAT_EQ(appState().sngImage(5, 9), static_cast<float>(skyValue(5, 9) + 20)); // the 900 went
    EXPECT_FLOAT_EQ(pixel(dir.file("sum.fit"), 7, 9), appState().sngImage(7, 9));
}

TEST(CombineDialog, SavesTheUncertaintyWhenAsked)
{
    TempDir dir;
    std::vector<std::string> frames;
    for (int f = 0; f < 3; ++f)
        frames.push_back(writeFits(dir.file("f" + std::to_string(f) + ".fit"), -32, width, height,
                                   [f](int x, int y) { return skyValue(x, y) + 10 * f; }));
    Harness h;
    h.openThroughDialog(frames[0]);
    raylen::frmImage()->mnuCombine->trigger();
    raylen::FrmCombine* d = raylen::frmCombine();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->chkError->text()), "誤差 ±1σ の画像(ERR)も保存");
    EXPECT_FALSE(d->chkError->isChecked());
    for (const std::string& f : frames) {
        h.ui.answerDialog(f);
        d->cmdAdd->click();
    }
    // The box has its own row, small or large.
    for (QSize size : {QSize(200, 150), QSize(900, 700)}) {
        d->resize(size);
        QApplication::processEvents();
        const QRect box = d->chkError->geometry();
        for (QWidget* other : {static_cast<QWidget*>(d->cboScale), static_cast<QWidget*>(d->txtOutput),
                               static_cast<QWidget*>(d->cmdOK)})
            EXPECT_FALSE(box.intersects(other->geometry())) << other->objectName().toStdString();
        EXPECT_TRUE(d->rect().contains(box));
    }
    d->cboMethod->setCurrentIndex(1);
    d->chkError->click();
    h.ui.answerDialog(dir.file("mean.fit"));
    d->cmdOutput->click();
    d->cmdOK->click();
    QApplication::processEvents();
    EXPECT_TRUE(h.ui.shown.empty());
    EXPECT_EQ(text(raylen::frmImage()->windowTitle()), "ｲﾒｰｼﾞ [ mean.fit ]");
    EXPECT_FLOAT_EQ(appState().sngImage(7, 9), static_cast<float>(skyValue(7, 9) + 10));

    // {s, s + 10, s + 20}: σ √(200/3) about the mean, over √3.
    raylen::FitsRowReader reader;
    ASSERT_EQ(reader.open(dir.file("mean.fit")), "");
    raylen::ErrorExtensionReader errors;
    bool found = false;
    ASSERT_EQ(errors.open(reader, found), "");
    ASSERT_TRUE(found);
    std::vector<float> sigma(size_t(width) * height);
    ASSERT_EQ(errors.readRows(0, height, sigma.data()), "");
    EXPECT_NEAR(sigma[9 * width + 7], std::sqrt(200.0 / 3) / std::sqrt(3.0), 1e-4);
    EXPECT_NEAR(sigma[0], std::sqrt(200.0 / 3) / std::sqrt(3.0), 1e-4);
}
