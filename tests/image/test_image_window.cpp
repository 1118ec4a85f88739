// The image window: picture pixels, scroll bars, read-out, the region box
// driven by mouse events, and the save flows.
#include "GuiHarness.h"

#include "fits/FitsData.h"
#include "image/gui/FrmImage.h"
#include "image/gui/PicImage.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>

using namespace guitest;
using namespace platform;
using raylen::appState;
using raylen::frmImage;

namespace {

QImage picture() { return frmImage()->picImage->grab().toImage(); }

void press(QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(frmImage()->picImage, QEvent::MouseButtonPress, at, button, button);
}
void moveHeld(QPoint at) { mouse(frmImage()->picImage, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
void hover(QPoint at) { mouse(frmImage()->picImage, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
void release(QPoint at) { mouse(frmImage()->picImage, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }

void dragBox(QPoint from, QPoint to)
{
    press(from);
    moveHeld(to);
    release(to);
}

} // namespace

TEST(ImageWindow, PictureShowsImageRowZeroAtTheTop)
{
    TempDir dir;
    Harness h;
    // Grey = value · 255 / 100 with limits 0 … 100 (maximum value 1000).
    h.openThroughDialog(writeFits(dir.file("g.fit"), -32, 7, 5, [](int x, int y) {
        return x == 6 && y == 4 ? 1000.0 : 10.0 * x + 2.0 * y;
    }));
    ASSERT_NE(frmImage(), nullptr);
    EXPECT_EQ(text(h.main->txtMax->text()), "100");
    QImage shown = picture();
    ASSERT_EQ(shown.width(), 7);
    ASSERT_EQ(shown.height(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            float v = appState().sngImage(x, y);
            int grey = static_cast<int>(std::nearbyint(std::min(v, 100.0f) * 2.55));
            EXPECT_EQ(qGray(shown.pixel(x, y)), grey) << x << "," << y;
        }
    // The bitmap's first stored row is the image's last row.
    EXPECT_EQ(appState().renderFile[54], 255 * 0 + static_cast<uint8_t>(std::nearbyint(8 * 2.55)));
}

TEST(ImageWindow, ScrollBarsFollowThePictureSize)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(writeFits(dir.file("small.fit"), 16, 20, 10, [](int x, int) { return x; }));
    EXPECT_FALSE(frmImage()->hsbImage->isEnabled());
    EXPECT_FALSE(frmImage()->vsbImage->isEnabled());

    raylen::FrmImage* w = frmImage();
    // The window keeps its size for the next image.
    w->parentWidget()->resize(420, 320);
    h.openThroughDialog(writeFits(dir.file("big.fit"), 16, 3000, 2000, [](int x, int) { return x; }));
    ASSERT_EQ(frmImage(), w);
    QScrollBar* hs = w->hsbImage;
    const int viewWidth = w->picWindow->width();
    const int maximum = 3000 - viewWidth;
    EXPECT_TRUE(hs->isEnabled());
    EXPECT_EQ(hs->maximum(), maximum);
    EXPECT_EQ(hs->value(), 0);
    EXPECT_EQ(hs->pageStep(), static_cast<int>(std::nearbyint(maximum / 5.0 + 1)));
    EXPECT_EQ(hs->singleStep(), static_cast<int>(std::nearbyint(maximum / 50.0 + 1)));
    EXPECT_EQ(w->vsbImage->maximum(), 2000 - w->picWindow->height());
    // The viewport and the bars share the window.
    EXPECT_EQ(w->picWindow->width() + w->vsbImage->width(), w->width());
    EXPECT_EQ(hs->y(), w->picWindow->height());
    hs->setValue(500);
    EXPECT_EQ(w->picImage->x(), -500);

    // A resize keeps the value and uses the halving change rules.
    w->parentWidget()->resize(w->parentWidget()->size() - QSize(50, 40));
    QApplication::processEvents();
    const int resized = 3000 - w->picWindow->width();
    EXPECT_EQ(hs->maximum(), resized);
    EXPECT_EQ(hs->value(), 500);
    EXPECT_EQ(hs->pageStep(), static_cast<int>(std::nearbyint(resized / 2.0 + 1)));
    EXPECT_EQ(hs->singleStep(), static_cast<int>(std::nearbyint(resized / 20.0 + 1)));

    // Dragging beyond the right of the visible part scrolls by the small change.
    press(QPoint(600, 100));
    moveHeld(QPoint(500 + w->picWindow->width() + 10, 100));
    EXPECT_EQ(hs->value(), 500 + hs->singleStep());
    release(QPoint(500 + w->picWindow->width() + 10, 100));
}

TEST(ImageWindow, ReadOutShowsPositionAndCount)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(writeFits(dir.file("r.fit"), -32, 30, 30, [](int x, int y) {
        return x == 10 && y == 20 ? 123.456 : 1.0;
    }));
    hover(QPoint(10, 20));
    EXPECT_EQ(text(h.main->lblX->text()), "x 10");
    EXPECT_EQ(text(h.main->lblY->text()), "y 20");
    EXPECT_EQ(text(h.main->lblCount->text()), "count 123.5");
    // Outside the image the count keeps its text.
    press(QPoint(5, 5));
    moveHeld(QPoint(-4, 40));
    EXPECT_EQ(text(h.main->lblX->text()), "x -4");
    EXPECT_EQ(text(h.main->lblY->text()), "y 40");
    EXPECT_EQ(text(h.main->lblCount->text()), "count 123.5");
    release(QPoint(-4, 40));
}

TEST(ImageWindow, RegionBoxByMouse)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(writeFits(dir.file("b.fit"), 16, 300, 200, [](int, int) { return 0; }));
    raylen::FrmImage* w = frmImage();
    EXPECT_FALSE(w->box().visible);

    // Pressing at (100, 50) and dragging to (80, 40).
    dragBox(QPoint(100, 50), QPoint(80, 40));
    EXPECT_TRUE(w->box().visible);
    EXPECT_EQ(w->box().left, 100);
    EXPECT_EQ(w->box().top, 50);
    EXPECT_EQ(w->box().width, 20);
    EXPECT_EQ(w->box().height, 10);
    QImage shown = picture();
    EXPECT_EQ(shown.pixelColor(100, 50), raylen::PicImage::boxColour());
    EXPECT_EQ(shown.pixelColor(119, 59), raylen::PicImage::boxColour());
    EXPECT_EQ(qGray(shown.pixel(110, 55)), 0);
    EXPECT_EQ(qGray(shown.pixel(120, 60)), 0);

    // Hovering sets the pointer; 3 pixels inside the left edge is a move.
    dragBox(QPoint(20, 20), QPoint(60, 60));
    hover(QPoint(23, 40));
    EXPECT_EQ(w->picImage->cursor().shape(), Qt::SizeAllCursor);
    hover(QPoint(21, 40));
    EXPECT_EQ(w->picImage->cursor().shape(), Qt::SizeHorCursor);
    hover(QPoint(40, 61));
    EXPECT_EQ(w->picImage->cursor().shape(), Qt::SizeVerCursor);
    dragBox(QPoint(23, 40), QPoint(33, 45));
    EXPECT_EQ(w->box().left, 30);
    EXPECT_EQ(w->box().top, 25);
    EXPECT_EQ(w->box().width, 40);

    // Moved 5 pixels beyond the left edge, then fixed: clipped at the edge.
    dragBox(QPoint(40, 40), QPoint(5, 40));
    EXPECT_EQ(w->box().left, -5);
    w->mnuBoxSet->trigger();
    EXPECT_TRUE(w->boxFixed());
    EXPECT_TRUE(w->mnuBoxSet->isChecked());
    EXPECT_EQ(w->box().left, 0);
    EXPECT_EQ(w->box().width, 35);
    EXPECT_EQ(w->box().borderWidth, 2);
    EXPECT_EQ(picture().pixelColor(1, 26), raylen::PicImage::boxColour());

    // Fixed: dragging changes nothing, the pointer stays, the pop-up still opens.
    const raylen::ShpBox before = w->box();
    hover(QPoint(10, 40));
    EXPECT_EQ(w->picImage->cursor().shape(), Qt::ArrowCursor);
    dragBox(QPoint(10, 40), QPoint(150, 150));
    EXPECT_EQ(w->box().left, before.left);
    EXPECT_EQ(w->box().width, before.width);
    EXPECT_EQ(w->box().top, before.top);
    press(QPoint(10, 40), Qt::RightButton);
    EXPECT_TRUE(w->mnuBox->isVisible());
    EXPECT_EQ(text(w->mnuBox->actions().at(0)->text()), "設定");
    EXPECT_EQ(text(w->mnuBox->actions().at(1)->text()), "消去");
    w->mnuBox->hide();

    // Unfixing and removing.
    w->mnuBoxSet->trigger();
    EXPECT_FALSE(w->boxFixed());
    EXPECT_EQ(w->box().borderWidth, 1);
    w->mnuBoxRemove->trigger();
    EXPECT_FALSE(w->box().visible);
    // Without a box the right button offers the view menu; a button other
    // than left, right and middle (which pans) is refused.
    press(QPoint(10, 40), Qt::RightButton);
    EXPECT_FALSE(w->mnuBox->isVisible());
    EXPECT_TRUE(w->viewMenu->menu->isVisible());
    w->viewMenu->menu->hide();
    press(QPoint(10, 40), Qt::BackButton);
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].prompt, "picImage_MouseDown");
    EXPECT_EQ(h.ui.shown[0].title, "Error");
    EXPECT_EQ(h.ui.shown[0].icon(), vbCritical);
    // The pop-up is never part of the menu bar.
    for (QAction* a : h.main->menuBar()->actions())
        EXPECT_NE(a, w->mnuBox->menuAction());
}

TEST(ImageWindow, ImageMenusMirrorTheirCaptions)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(writeFits(dir.file("m.fit"), 16, 10, 10, [](int, int) { return 0; }));
    raylen::FrmImage* w = frmImage();
    auto captions = [](QMenu* menu) {
        std::vector<std::string> all;
        for (QAction* a : menu->actions())
            all.push_back(a->isSeparator() ? "-" : text(a->text()));
        return all;
    };
    EXPECT_EQ(captions(w->mnuFile), (std::vector<std::string>{"開く(&O)", "閉じる(&C)", "-", "名前を付けて保存(&E)", "-",
                                                               "印刷(&P)", "ﾌﾟﾘﾝﾀｰの設定(&R)", "-", "Raylen の終了(&X)"}));
    EXPECT_EQ(captions(w->mnuImage), (std::vector<std::string>{"ﾌﾟﾛｯﾄ(&P)", "ｽｷｬﾝ(&S)", "-", "ﾀﾞｰｸ・ﾌﾗｯﾄ補正(&D)",
                                                                "宇宙線除去(&C)", "ﾌﾚｰﾑ合成(&M)", "-",
                                                                "ﾍｯﾀﾞｰ情報(&I)"}));
    EXPECT_EQ(captions(w->mnuHelp), (std::vector<std::string>{"Raylenのﾍﾙﾌﾟ(&B)", "-", "ﾊﾞｰｼﾞｮﾝ情報(&A)"}));
    EXPECT_TRUE(w->mnuGraph->actions().isEmpty());

    // A task dialog locks the document commands; its end unlocks them.
    h.main->dsMenuToolEnabled(false);
    EXPECT_FALSE(w->mnuFile->menuAction()->isEnabled());
    EXPECT_FALSE(w->mnuImage->menuAction()->isEnabled());
    EXPECT_FALSE(h.main->txtMax->isEnabled());
    for (int i : {3, 4, 6, 7, 8, 9})
        EXPECT_FALSE(h.main->button(i)->isEnabled()) << i;
    EXPECT_TRUE(h.main->button(1)->isEnabled());
    h.main->dsMenuToolEnabled(true);
    EXPECT_TRUE(w->mnuFile->menuAction()->isEnabled());
    EXPECT_TRUE(h.main->button(8)->isEnabled());
}

TEST(ImageWindow, SaveFlows)
{
    TempDir dir;
    Harness h;
    const std::string source = writeFits(dir.file("s.fit"), 16, 9, 7, [](int x, int y) { return x * y; });
    h.openThroughDialog(source);
    raylen::FrmImage* w = frmImage();

    // Bitmap: the same bytes as the render.
    h.ui.answerDialog(dir.file("pic.bmp"), 2);
    w->mnuSaveAs->trigger();
    const auto& save = h.ui.dialogs.back();
    EXPECT_EQ(save.mode, DialogMode::Save);
    EXPECT_EQ(save.dialog.DialogTitle, "名前を付けて保存");
    EXPECT_EQ(save.dialog.Filter, "FITSﾌｧｲﾙ(*.fit,*.fts)|*.fit;*.fts|BMPﾌｧｲﾙ(*.bmp)|*.bmp|");
    EXPECT_EQ(save.dialog.FileName, source);
    const std::string bmp = readAll(dir.file("pic.bmp"));
    EXPECT_EQ(bmp, std::string(appState().renderFile.begin(), appState().renderFile.end()));
    EXPECT_EQ(bmp.size(), 54u + 7u * 28u);

    // Overwrite: No shows the dialog again proposing the chosen name; Yes writes.
    h.ui.answerDialog(dir.file("pic.bmp"), 1);
    h.ui.answerDialog(dir.file("out.fit"), 1);
    h.ui.answers = {vbNo};
    const size_t before = h.ui.dialogs.size();
    w->mnuSaveAs->trigger();
    ASSERT_EQ(h.ui.dialogs.size(), before + 2);
    EXPECT_EQ(h.ui.dialogs.back().dialog.FileName, dir.file("pic.bmp"));
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].prompt, "同じ名前のﾌｧｲﾙが存在します。上書きしますか？");
    EXPECT_EQ(h.ui.shown[0].title, "ﾌｧｲﾙの保存");
    EXPECT_EQ(h.ui.shown[0].icon(), vbExclamation);
    EXPECT_EQ(h.ui.shown[0].buttons(), vbYesNoCancel);
    EXPECT_EQ(readAll(dir.file("pic.bmp")), bmp);
    raylen::HeaderCards header;
    raylen::FitsInfo info;
    raylen::SingleImage saved;
    ASSERT_EQ(raylen::sfOpenFits(dir.file("out.fit"), header, info, saved), "");
    EXPECT_EQ(info.BITPIX, -32);
    EXPECT_EQ(saved(8, 6), 48.0f);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Overwrite Cancel writes nothing.
    h.ui.answerDialog(dir.file("out.fit"), 2);
    h.ui.answers = {vbCancel};
    w->mnuSaveAs->trigger();
    EXPECT_EQ(raylen::sfOpenFits(dir.file("out.fit"), header, info, saved), "");
}

TEST(ImageWindow, CloseQuestionForAChangedImage)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(writeFits(dir.file("c.fit"), 16, 9, 7, [](int x, int) { return x; }));
    appState().blnImageChanged = true;

    // Cancel keeps the window.
    h.ui.answers = {vbCancel};
    frmImage()->mnuClose->trigger();
    QApplication::processEvents();
    ASSERT_NE(frmImage(), nullptr);
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].prompt, "変更されています. 保存しますか？");
    EXPECT_EQ(h.ui.shown[0].buttons(), vbYesNoCancel);

    // Yes with a cancelled save dialog keeps it too.
    h.ui.answers = {vbYes};
    h.ui.cancelDialog();
    frmImage()->mnuClose->trigger();
    QApplication::processEvents();
    ASSERT_NE(frmImage(), nullptr);
    EXPECT_TRUE(appState().blnImageChanged);

    // Opening another file asks first; Cancel opens nothing.
    h.ui.answers = {vbCancel};
    const size_t dialogs = h.ui.dialogs.size();
    frmImage()->mnuOpen->trigger();
    EXPECT_EQ(h.ui.dialogs.size(), dialogs);

    // No closes without saving.
    h.ui.answers = {vbNo};
    frmImage()->mnuClose->trigger();
    QApplication::processEvents();
    EXPECT_EQ(frmImage(), nullptr);
    EXPECT_FALSE(appState().blnImageChanged);
    EXPECT_EQ(h.ui.dialogs.size(), dialogs);
    EXPECT_EQ(std::filesystem::directory_iterator(dir.path())->path().filename(), "c.fit");
}

TEST(ImageWindow, ExitWithAChangedImageAsksAndCanBeCancelled)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(writeFits(dir.file("e.fit"), 16, 9, 7, [](int x, int) { return x; }));
    appState().blnImageChanged = true;
    h.ui.answers = {vbCancel};
    h.main->mnuExit->trigger();
    EXPECT_TRUE(h.main->isVisible());
    EXPECT_NE(frmImage(), nullptr);
    // Yes saves through the dialog, then the program ends.
    h.ui.answers = {vbYes};
    h.ui.answerDialog(dir.file("saved.fit"), 1);
    h.main->mnuExit->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(h.main->isVisible());
    EXPECT_TRUE(std::filesystem::exists(dir.file("saved.fit")));
    EXPECT_FALSE(appState().blnImageChanged);
}
