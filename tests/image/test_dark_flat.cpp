// Dark/flat correction through the dialog on real FITS files, the header
// viewer, and raylen-cli darkflat against an astropy/numpy reference.
#include "GuiHarness.h"

#include "fits/FitsData.h"
#include "image/DarkFlat.h"
#include "platform/Format.h"
#include "image/gui/FrmDarkFlat.h"
#include "image/gui/FrmDispHdr.h"
#include "image/gui/FrmImage.h"

#include <cmath>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

using namespace guitest;
using namespace platform;
using raylen::appState;
using raylen::frmDarkFlat;

namespace {

double objectValue(int x, int y) { return 1000.0 + 10.0 * x + y; }
double darkValue(int x, int y) { return 100.0 + (x + y) % 3; }
double flatValue(int x, int y) { return 0.5 + 0.1 * ((x * 7 + y) % 10); }

struct Night {
    TempDir dir;
    std::string object, dark, flat, smallDark;
    Night()
    {
        object = writeFits(dir.file("obj.fit"), 16, 12, 8, objectValue, true);
        dark = writeFits(dir.file("dark.fit"), 16, 12, 8, darkValue, true);
        flat = writeFits(dir.file("flat.fit"), -32, 12, 8, flatValue);
        smallDark = writeFits(dir.file("dark_small.fit"), 16, 11, 8, darkValue, true);
    }
};

double flatMean()
{
    double sum = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            sum += static_cast<float>(flatValue(x, y)) / 96.0;
    return static_cast<float>(sum);
}

std::vector<std::string> commentCards(const raylen::HeaderCards& header)
{
    std::vector<std::string> comments;
    for (const std::string& c : header)
        if (c.rfind("COMMENT", 0) == 0)
            comments.push_back(c);
    return comments;
}

} // namespace

TEST(DarkFlatDialog, EnablingRulesAndColours)
{
    Night night;
    Harness h;
    h.openThroughDialog(night.object);
    appState().strDarkFileName = night.dark;
    raylen::frmImage()->mnuDarkFlat->trigger();
    raylen::FrmDarkFlat* d = frmDarkFlat();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->windowTitle()), "ﾀﾞｰｸ・ﾌﾗｯﾄ補正 [ obj.fit ]");
    EXPECT_EQ(text(d->txtDarkFileName->text()), "dark.fit");
    EXPECT_EQ(text(d->txtFlatFileName->text()), "");
    EXPECT_EQ(appState().intTaskMode, 21);
    // The document commands are locked while the dialog is open.
    EXPECT_FALSE(h.main->button(8)->isEnabled());
    EXPECT_FALSE(h.main->txtMax->isEnabled());

    EXPECT_FALSE(d->cmdOK->isEnabled());
    EXPECT_FALSE(d->txtDarkFileName->isEnabled());
    EXPECT_FALSE(d->cmdDarkFileName->isEnabled());
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(d->txtDarkFileName->palette().color(QPalette::Base), buttonFace);
    d->chkDark->click();
    EXPECT_TRUE(d->cmdOK->isEnabled());
    EXPECT_TRUE(d->txtDarkFileName->isEnabled());
    EXPECT_EQ(d->txtDarkFileName->palette().color(QPalette::Base), QColor(255, 255, 255));
    d->chkFlat->click();
    d->chkDark->click();
    EXPECT_TRUE(d->cmdOK->isEnabled());
    d->chkFlat->click();
    EXPECT_FALSE(d->cmdOK->isEnabled());

    // Browsing: title, filter, the remembered path proposed and updated.
    d->chkFlat->click();
    h.ui.answerDialog(night.flat);
    d->cmdFlatFileName->click();
    EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "ﾌﾗｯﾄﾌｧｲﾙを開く");
    EXPECT_EQ(h.ui.dialogs.back().dialog.Filter, "FITSﾌｧｲﾙ(*.fit,*.fts)|*.fit;*.fts|");
    EXPECT_EQ(h.ui.dialogs.back().mode, DialogMode::Open);
    EXPECT_EQ(text(d->txtFlatFileName->text()), "flat.fit");
    EXPECT_EQ(appState().strFlatFileName, night.flat);
    d->chkDark->click();
    h.ui.cancelDialog();
    d->cmdDarkFileName->click();
    EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "ﾀﾞｰｸﾌｧｲﾙを開く");
    EXPECT_EQ(h.ui.dialogs.back().dialog.FileName, night.dark);
    EXPECT_EQ(appState().strDarkFileName, night.dark);

    d->cmdCancel->click();
    QApplication::processEvents();
    EXPECT_EQ(frmDarkFlat(), nullptr);
    EXPECT_EQ(appState().intTaskMode, 10);
    EXPECT_TRUE(h.main->button(8)->isEnabled());
    EXPECT_TRUE(h.main->txtMax->isEnabled());
}

TEST(DarkFlatDialog, CorrectsWithBothFramesDarkFirst)
{
    Night night;
    Harness h;
    h.openThroughDialog(night.object);
    appState().strDarkFileName = night.dark;
    appState().strFlatFileName = night.dir.file("old_flat.fit");
    raylen::showFrmDarkFlat();
    raylen::FrmDarkFlat* d = frmDarkFlat();
    d->chkDark->click();
    d->chkFlat->click();
    // A typed name is taken in the folder of the remembered path.
    d->txtFlatFileName->setText("flat.fit");
    d->cmdOK->click();
    QApplication::processEvents();
    EXPECT_TRUE(h.ui.shown.empty()) << h.ui.shown[0].prompt;
    EXPECT_EQ(frmDarkFlat(), nullptr);
    EXPECT_EQ(appState().strFlatFileName, night.flat);

    const float m = static_cast<float>(flatMean());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            float normalised = static_cast<float>(flatValue(x, y)) / m;
            float expected = static_cast<float>(objectValue(x, y) - darkValue(x, y)) / normalised;
            ASSERT_FLOAT_EQ(appState().sngImage(x, y), expected) << x << "," << y;
        }
    std::vector<std::string> comments = commentCards(appState().strHeader);
    ASSERT_EQ(comments.size(), 2u);
    EXPECT_EQ(comments[0], card("COMMENT Dark dark.fit"));
    EXPECT_EQ(comments[1], card("COMMENT Flat flat.fit"));
    EXPECT_EQ(appState().strHeader.back(), card("END"));
    EXPECT_TRUE(appState().blnImageChanged);
    EXPECT_EQ(text(raylen::frmImage()->windowTitle()), "ｲﾒｰｼﾞ [ obj.fit 変更 ]");
    // Re-rendered with automatic limits.
    raylen::BitmapBytes expected;
    float maximum = 0, minimum = 0;
    ASSERT_EQ(raylen::sfCreateBitMap(appState().sngImage, 12, 8, maximum, minimum, expected, true), "");
    EXPECT_EQ(appState().renderFile, expected);
    EXPECT_EQ(text(h.main->txtMax->text()), platform::Format(maximum, "0"));
    EXPECT_EQ(appState().intTaskMode, 10);
}

TEST(DarkFlatDialog, SizeMismatchChangesNothing)
{
    Night night;
    Harness h;
    h.openThroughDialog(night.object);
    const std::vector<float> before(appState().sngImage.data(), appState().sngImage.data() + 96);
    const raylen::HeaderCards header = appState().strHeader;
    const raylen::BitmapBytes render = appState().renderFile;
    appState().strDarkFileName = night.smallDark;
    appState().strFlatFileName = night.flat;
    raylen::showFrmDarkFlat();
    frmDarkFlat()->chkDark->click();
    frmDarkFlat()->chkFlat->click();
    frmDarkFlat()->cmdOK->click();
    QApplication::processEvents();
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].prompt, "ﾀﾞｰｸの画像サイズが違います。");
    EXPECT_EQ(h.ui.shown[0].icon(), vbExclamation);
    EXPECT_EQ(frmDarkFlat(), nullptr);
    EXPECT_EQ(std::vector<float>(appState().sngImage.data(), appState().sngImage.data() + 96), before);
    EXPECT_EQ(appState().strHeader, header);
    EXPECT_EQ(appState().renderFile, render);
    EXPECT_FALSE(appState().blnImageChanged);
    EXPECT_EQ(text(raylen::frmImage()->windowTitle()), "ｲﾒｰｼﾞ [ obj.fit ]");
}

TEST(DarkFlatCore, RefusalsLeaveTheImageAsItWas)
{
    Night night;
    raylen::HeaderCards header;
    raylen::FitsInfo info;
    raylen::SingleImage image;
    ASSERT_EQ(raylen::sfOpenFits(night.object, header, info, image), "");
    const raylen::HeaderCards cards = header;
    const std::vector<float> pixels(image.data(), image.data() + image.size());
    auto unchanged = [&] {
        return header == cards && std::vector<float>(image.data(), image.data() + image.size()) == pixels;
    };
    // A flat of mean 0 is refused before the dark is subtracted.
    std::string zeroFlat = writeFits(night.dir.file("zero.fit"), -32, 12, 8, [](int, int) { return 0.0; });
    EXPECT_EQ(raylen::sfDarkFlatCorrect(image, info, header, true, night.dark, true, zeroFlat), "ゼロで割っています");
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(raylen::sfDarkFlatCorrect(image, info, header, true, night.dir.file("none.fit"), false, ""),
              "ﾌｧｲﾙが存在しません");
    guitest::writeAll(night.dir.file("text.fit"), "1 2\n3 4\n5 6\n");
    EXPECT_EQ(raylen::sfDarkFlatCorrect(image, info, header, false, "", true, night.dir.file("text.fit")),
              "ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です");
    std::string smallFlat = writeFits(night.dir.file("fs.fit"), -32, 12, 7, flatValue);
    EXPECT_EQ(raylen::sfDarkFlatCorrect(image, info, header, true, night.dark, true, smallFlat),
              "ﾌﾗｯﾄの画像サイズが違います。");
    EXPECT_TRUE(unchanged());

    // An image equal to its flat becomes the constant flat mean.
    raylen::SingleImage flatImage;
    ASSERT_EQ(raylen::sfOpenFits(night.flat, header, info, flatImage), "");
    EXPECT_EQ(raylen::sfDarkFlatCorrect(flatImage, info, header, false, "", true, night.flat), "");
    const float m = static_cast<float>(flatMean());
    for (size_t i = 0; i < flatImage.size(); ++i)
        ASSERT_NEAR(flatImage.data()[i], m, 1e-6f * m);
}

TEST(DarkFlatCore, ABadFlatPixelSpoilsOnlyItsOwnPixel)
{
    Night night;
    raylen::HeaderCards header;
    raylen::FitsInfo info;
    raylen::SingleImage image;
    ASSERT_EQ(raylen::sfOpenFits(night.object, header, info, image), "");
    auto badFlat = [](int x, int y) {
        if (x == 3 && y == 2)
            return std::nan("");
        return x == 7 && y == 5 ? HUGE_VAL : flatValue(x, y);
    };
    std::string flat = writeFits(night.dir.file("bad.fit"), -32, 12, 8, badFlat);
    raylen::FrameNonFinite counts;
    ASSERT_EQ(raylen::sfDarkFlatCorrect(image, info, header, false, "", true, flat, &counts), "");
    EXPECT_EQ(counts.dark, 0u);
    EXPECT_EQ(counts.flat, 2u);
    // The normalisation is the mean of the 94 finite pixels.
    double mean = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            mean += std::isfinite(badFlat(x, y)) ? static_cast<float>(badFlat(x, y)) / 94.0 : 0.0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            const float v = image(x, y);
            if (x == 3 && y == 2)
                EXPECT_TRUE(std::isnan(v));
            else if (x == 7 && y == 5)
                EXPECT_EQ(v, 0.0f); // divided by an infinite flat
            else
                ASSERT_NEAR(v, objectValue(x, y) * mean / static_cast<float>(flatValue(x, y)), 1e-5 * v) << x << "," << y;
        }
}

TEST(HeaderViewer, ShowsEightyCharacterLines)
{
    TempDir dir;
    Harness h;
    std::vector<std::string> extra;
    for (int i = 0; i < 30; ++i)
        extra.push_back("HISTORY line " + std::to_string(i) + "  \xE9"); // Latin-1 byte
    // 5 cards + 30 extra + END = 36 cards, one record.
    std::string path = writeFits(dir.file("m31.fit"), 16, 4, 4, [](int, int) { return 1; }, false, extra);
    h.openThroughDialog(path);
    ASSERT_EQ(appState().strHeader.size(), 36u);
    raylen::FrmDispHdr viewer(h.main.get());
    EXPECT_EQ(text(viewer.windowTitle()), "ﾍｯﾀﾞｰ情報 [ m31.fit ]");
    QStringList lines = viewer.txtHdr->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 37); // the last line end leaves an empty line
    EXPECT_TRUE(lines.last().isEmpty());
    for (int i = 0; i < 36; ++i)
        EXPECT_EQ(lines[i].size(), 80) << i;
    EXPECT_EQ(lines[35].trimmed(), "END");
    EXPECT_EQ(lines[5].left(19), QString::fromUtf8("HISTORY line 0  é  "));
    EXPECT_TRUE(viewer.txtHdr->font().fixedPitch());
    // It opens wide enough for a whole card.
    viewer.show();
    QApplication::processEvents();
    EXPECT_GE(viewer.txtHdr->viewport()->width(), viewer.txtHdr->fontMetrics().horizontalAdvance(lines[5]));
    // The text box follows the window.
    viewer.resize(700, 300);
    QApplication::processEvents();
    EXPECT_EQ(viewer.txtHdr->geometry(), QRect(0, 0, 700, 300));
}

TEST(DarkFlatCli, MatchesAstropyAndNumpy)
{
    if (!testsupport::requirePython("astropy, numpy"))
        return;
    Night night;
    const std::string out = night.dir.file("out.fit");
    const std::string cli = std::string(RAYLEN_BIN_DIR) + "/raylen-cli";
    std::string command = cli + " darkflat '" + night.object + "' --dark '" + night.dark + "' --flat '" + night.flat +
                          "' -o '" + out + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::string script = night.dir.file("check.py");
    writeAll(script, R"(import sys, numpy as np
from astropy.io import fits
obj, dark, flat, out = sys.argv[1:]
img = fits.getdata(obj).astype(np.float32)
d = fits.getdata(dark).astype(np.float32)
f = fits.getdata(flat).astype(np.float32)
m = np.float32(np.sum(f.astype(np.float64) / f.size))
ref = (img - d) / (f / m)
hdul = fits.open(out)
got = hdul[0].data
assert hdul[0].header['BITPIX'] == -32
assert list(hdul[0].header['COMMENT']) == ['Dark dark.fit', 'Flat flat.fit'], hdul[0].header['COMMENT']
err = np.max(np.abs(got - ref) / np.abs(ref))
print(err)
sys.exit(0 if err < 2e-7 else 1)
)");
    command = std::string(RAYLEN_PYTHON) + " '" + script + "' '" + night.object + "' '" + night.dark + "' '" +
              night.flat + "' '" + out + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);

    // Failures: the message on standard error, status 1, no output left.
    const std::string bad = night.dir.file("bad.fit");
    command = cli + " darkflat '" + night.object + "' --dark '" + night.smallDark + "' -o '" + bad + "' 2>" +
              night.dir.file("err.txt");
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 1);
    EXPECT_EQ(readAll(night.dir.file("err.txt")), "ﾀﾞｰｸの画像サイズが違います。\n");
    EXPECT_FALSE(std::filesystem::exists(bad));
    command = cli + " darkflat '" + night.object + "' -o '" + bad + "' 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 2);
}
