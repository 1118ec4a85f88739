// The main window: start-up state, opening through the dialog and by drops,
// the display limits, the messages of the open dispatch, help and About.
#include "GuiHarness.h"
#include "../support/SpecialFiles.h"

#include "display/Bitmap.h"
#include "image/gui/FrmImage.h"
#include "platform/BasicRuntime.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/FrmAbout.h"
#include "shell/gui/Help.h"

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

using namespace guitest;
using platform::vbCritical;
using raylen::appState;

namespace {

const char* const expectedFilter = "FITSﾌｧｲﾙ(*.fit,*.fts)|*.fit;*.fts|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|全てのﾌｧｲﾙ|*.*|";

std::vector<int> enabledButtons(raylen::MdiRaylen& main)
{
    std::vector<int> enabled;
    for (int i = 1; i <= raylen::MdiRaylen::buttonCount; ++i)
        if (!main.button(i)->isSeparator() && main.button(i)->isEnabled())
            enabled.push_back(i);
    return enabled;
}

std::vector<std::string> menuBarTitles(raylen::MdiRaylen& main)
{
    std::vector<std::string> titles;
    for (QAction* action : main.menuBar()->actions())
        titles.push_back(text(action->text()));
    return titles;
}

void drop(QWidget* target, const std::vector<std::string>& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data.setUrls(urls);
    QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target->window(), &enter);
    QDropEvent event(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target->window(), &event);
    QApplication::processEvents();
}

} // namespace

TEST(MainWindow, StartsWithOnlyOpenAndHelpUsable)
{
    Harness h;
    raylen::MdiRaylen& m = *h.main;
    EXPECT_EQ(text(m.windowTitle()), "Raylen Ver. 0.9");
    EXPECT_EQ(enabledButtons(m), (std::vector<int>{1, 19}));
    EXPECT_TRUE(m.mnuOpen->isEnabled());
    EXPECT_TRUE(m.mnuExit->isEnabled());
    EXPECT_TRUE(m.mnuHelpRaylen->isEnabled());
    EXPECT_TRUE(m.mnuVersion->isEnabled());
    for (QAction* off : {m.mnuClose, m.mnuSaveAs, m.mnuPrint, m.mnuSetPrinter})
        EXPECT_FALSE(off->isEnabled()) << text(off->text());
    EXPECT_FALSE(m.mnuImage->menuAction()->isEnabled());
    EXPECT_FALSE(m.mnuGraph->menuAction()->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{m.lblMax, m.lblMin, m.txtMax, m.txtMin, m.cmdAutoScale})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(menuBarTitles(m), (std::vector<std::string>{"ﾌｧｲﾙ(&F)", "ｲﾒｰｼﾞ(&I)", "ｸﾞﾗﾌ(&G)", "ﾍﾙﾌﾟ(&H)"}));
    EXPECT_EQ(text(m.cmdAutoScale->text()), "階調設定");
    EXPECT_EQ(text(m.txtMax->toolTip()), "表示の最大値");
    EXPECT_EQ(text(m.txtMin->toolTip()), "表示の最小値");
    EXPECT_EQ(text(m.lblCount->text()), "count");
    // Start-up state of the shared record.
    EXPECT_EQ(appState().intActiveWindow, 10);
    EXPECT_EQ(appState().intTaskMode, 10);
    EXPECT_EQ(appState().typScanParam.intScanWidth, 6);
    EXPECT_EQ(appState().typScanParam.intSkyStart2, 10);
    // 9600 × 7200 twips at the offscreen screen's resolution.
    EXPECT_EQ(m.width(), raylen::twipsToPixelsX(9600));
}

TEST(MainWindow, ToolBarHasNineteenIndexesWithKeysAndTips)
{
    Harness h;
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"Open", "ファイルを開く"}, {"", ""}, {"SaveAs", "名前を付けて保存"}, {"Print", "印刷"}, {"", ""},
        {"Plot", "ﾌﾟﾛｯﾄ"}, {"Scan", "ｽｷｬﾝ"}, {"DarkFlat", "ﾀﾞｰｸ･ﾌﾗｯﾄ補正"}, {"Header", "ﾍｯﾀﾞｰ情報"}, {"", ""},
        {"Axis", "座標"}, {"Ident", "波長同定"}, {"Dispcor", "波長較正"}, {"Fluxcalib", "強度較正"},
        {"Normalize", "規格化"}, {"FFT", "ﾌｰﾘｴ変換"}, {"Result", "測定結果"}, {"", ""}, {"Help", "ﾍﾙﾌﾟ"}};
    ASSERT_EQ(h.main->tlbtoolbar->actions().size(), 19);
    for (int i = 1; i <= 19; ++i) {
        QAction* b = h.main->button(i);
        EXPECT_EQ(h.main->tlbtoolbar->actions().at(i - 1), b);
        if (expected[i - 1].first[0] == '\0') {
            EXPECT_TRUE(b->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(text(b->data().toString()), expected[i - 1].first);
        EXPECT_EQ(text(b->toolTip()), expected[i - 1].second);
        EXPECT_FALSE(b->icon().isNull());
    }
}

TEST(MainWindow, OpensFitsThroughTheDialog)
{
    TempDir dir;
    std::string path = writeFits(dir.file("m31.fit"), 16, 40, 30, [](int x, int y) { return x + 100 * y; }, true);
    Harness h;
    h.openThroughDialog(path);
    ASSERT_EQ(h.ui.dialogs.size(), 1u);
    const auto& call = h.ui.dialogs[0];
    EXPECT_EQ(call.dialog.DialogTitle, "ﾌｧｲﾙを開く");
    EXPECT_EQ(call.dialog.Filter, expectedFilter);
    EXPECT_EQ(call.dialog.FilterIndex, 1);
    EXPECT_EQ(call.dialog.FileName, "");
    EXPECT_EQ(call.mode, platform::DialogMode::Open);
    EXPECT_TRUE(h.ui.shown.empty());

    EXPECT_EQ(text(h.main->windowTitle()), "Raylen Ver. 0.9 [" + path + "]");
    raylen::FrmImage* image = raylen::frmImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(text(image->windowTitle()), "ｲﾒｰｼﾞ [ m31.fit ]");
    EXPECT_TRUE(appState().blnImageLoaded);
    EXPECT_EQ(appState().strFileName, path);
    EXPECT_EQ(appState().intFileKind, 10);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(text(h.main->txtMin->text()), "0");
    EXPECT_EQ(text(h.main->txtMax->text()), "294"); // 2939 / 10, rounded
    // The image window's menus and state.
    EXPECT_EQ(menuBarTitles(*h.main), (std::vector<std::string>{"ﾌｧｲﾙ(&F)", "ｲﾒｰｼﾞ(&I)", "ｸﾞﾗﾌ(&G)", "ﾍﾙﾌﾟ(&H)"}));
    EXPECT_EQ(h.main->menuBar()->actions().at(0), image->mnuFile->menuAction());
    EXPECT_EQ(enabledButtons(*h.main), (std::vector<int>{1, 3, 6, 7, 8, 9, 19}));
    EXPECT_TRUE(image->mnuClose->isEnabled());
    EXPECT_TRUE(image->mnuSaveAs->isEnabled());
    EXPECT_FALSE(image->mnuPrint->isEnabled());
    EXPECT_FALSE(image->mnuSetPrinter->isEnabled());
    EXPECT_FALSE(image->mnuGraph->menuAction()->isEnabled());
    EXPECT_TRUE(h.main->txtMax->isEnabled());
    EXPECT_TRUE(h.main->cmdAutoScale->isEnabled());

    // Closing the window returns the main window to its start-up state.
    image->mnuClose->trigger();
    QApplication::processEvents();
    EXPECT_EQ(raylen::frmImage(), nullptr);
    EXPECT_FALSE(appState().blnImageLoaded);
    EXPECT_EQ(text(h.main->windowTitle()), "Raylen Ver. 0.9");
    EXPECT_EQ(enabledButtons(*h.main), (std::vector<int>{1, 19}));
    EXPECT_EQ(h.main->menuBar()->actions().at(0), h.main->mnuFile->menuAction());
}

TEST(MainWindow, CancelledOpenDialogDoesNothing)
{
    Harness h;
    h.ui.cancelDialog();
    h.main->mnuOpen->trigger();
    EXPECT_EQ(h.ui.dialogs.size(), 1u);
    EXPECT_TRUE(h.ui.shown.empty());
    EXPECT_EQ(raylen::frmImage(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(MainWindow, DropOfThreeFilesOpensTheThird)
{
    TempDir dir;
    std::vector<std::string> paths;
    for (int i = 1; i <= 3; ++i)
        paths.push_back(writeFits(dir.file("f" + std::to_string(i) + ".fit"), 16, 8, 8,
                                  [i](int, int) { return 1000 * i; }));
    Harness h;
    drop(h.main->lblX, paths);
    ASSERT_NE(raylen::frmImage(), nullptr);
    EXPECT_EQ(text(raylen::frmImage()->windowTitle()), "ｲﾒｰｼﾞ [ f3.fit ]");
    EXPECT_EQ(appState().strFileName, paths[2]);
    EXPECT_FLOAT_EQ(appState().sngImage(0, 0), 3000.0f);
    EXPECT_TRUE(h.ui.shown.empty());
    // A second drop on the panel reuses the window.
    raylen::FrmImage* first = raylen::frmImage();
    drop(h.main->picToolBar, {paths[0]});
    EXPECT_EQ(raylen::frmImage(), first);
    EXPECT_EQ(text(first->windowTitle()), "ｲﾒｰｼﾞ [ f1.fit ]");
}

TEST(MainWindow, AutomaticLimitsAndTypedLimits)
{
    TempDir dir;
    Harness h;
    // All values equal: the zero range gives the substitute limits.
    h.openThroughDialog(writeFits(dir.file("flat5.fit"), -32, 6, 4, [](int, int) { return 5.0; }));
    EXPECT_EQ(text(h.main->txtMax->text()), "1000");
    EXPECT_EQ(text(h.main->txtMin->text()), "100");
    // −50 … 1950: minimum raised to 0, maximum a tenth of the way up.
    h.openThroughDialog(writeFits(dir.file("ramp.fit"), -32, 41, 1, [](int x, int) { return -50.0 + 50.0 * x; }));
    EXPECT_EQ(text(h.main->txtMax->text()), "195");
    EXPECT_EQ(text(h.main->txtMin->text()), "0");

    // 12.7 and Enter: rendered with 12.7 and shown back as 13.
    h.main->txtMax->setText("12.7");
    h.main->txtMin->setText("abc");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(h.main->txtMax, &enter);
    EXPECT_EQ(text(h.main->txtMax->text()), "13");
    EXPECT_EQ(text(h.main->txtMin->text()), "0");
    raylen::BitmapBytes expected;
    float maximum = 12.7f, minimum = 0.0f;
    ASSERT_EQ(raylen::sfCreateBitMap(appState().sngImage, 41, 1, maximum, minimum, expected, false), "");
    EXPECT_EQ(appState().renderFile, expected);
    EXPECT_TRUE(h.ui.shown.empty());
}

TEST(MainWindow, OpenDispatchMessages)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(dir.file("missing.fit"));
    writeAll(dir.file("nine.fit"), "SIMPLE  =");
    h.openThroughDialog(dir.file("nine.fit"));
    writeAll(dir.file("comment.txt"), "# 1 2\n3 4\n");
    h.openThroughDialog(dir.file("comment.txt"));
    writeAll(dir.file("ten.fit"), "SIMPLE  = ");
    h.openThroughDialog(dir.file("ten.fit"));
    ASSERT_EQ(h.ui.shown.size(), 4u);
    EXPECT_EQ(h.ui.shown[0].prompt, "ﾌｧｲﾙが存在しません");
    EXPECT_EQ(h.ui.shown[1].prompt, "ファイルが空っぽです " + dir.file("nine.fit"));
    EXPECT_EQ(h.ui.shown[2].prompt, "ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です");
    EXPECT_FALSE(h.ui.shown[3].prompt.empty());
    for (const auto& shown : h.ui.shown)
        EXPECT_EQ(shown.icon(), vbCritical);
    // The name is kept even when the file fails to open.
    EXPECT_EQ(appState().strFileName, dir.file("ten.fit"));
    EXPECT_EQ(raylen::frmImage(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(MainWindow, SpecialFilesAreRefusedAtOnce)
{
    TempDir dir;
    Harness h;
    auto specials = testsupport::makeSpecialFiles(dir);
    specials.push_back({"folder", dir.path()});
    alarm(20); // an open of the FIFO would wait for a writer for ever
    for (const auto& special : specials)
        h.openThroughDialog(special.path);
    alarm(0);
    ASSERT_EQ(h.ui.shown.size(), specials.size());
    for (const auto& shown : h.ui.shown)
        EXPECT_EQ(shown.prompt, "ﾌｧｲﾙが存在しません");
    EXPECT_EQ(raylen::frmImage(), nullptr);
}

TEST(MainWindow, TextSpectrumWithoutPlotWindowKeepsTheImage)
{
    TempDir dir;
    Harness h;
    std::string image = writeFits(dir.file("a.fit"), 16, 8, 8, [](int x, int) { return x; });
    h.openThroughDialog(image);
    writeAll(dir.file("spec.txt"), "  12.5 3.0\n13.5 4.0\n");
    h.openThroughDialog(dir.file("spec.txt"));
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].prompt, "ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です");
    EXPECT_EQ(appState().intFileKind, 20);
    ASSERT_NE(raylen::frmImage(), nullptr);
    EXPECT_EQ(text(raylen::frmImage()->windowTitle()), "ｲﾒｰｼﾞ [ a.fit ]");
}

TEST(MainWindow, BrowseFileRules)
{
    Harness h;
    platform::CommonDialog dlg;
    int index = 0;
    bool cancel = true;
    std::string file;
    h.ui.answerDialog("/data/b.fit", 2);
    EXPECT_EQ(raylen::sfBrowseFile(dlg, file, raylen::browseSave, "T", "A|*.a|", index, cancel), "");
    EXPECT_EQ(h.ui.dialogs.back().dialog.FileName, "");
    EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "T");
    EXPECT_EQ(h.ui.dialogs.back().mode, platform::DialogMode::Save);
    EXPECT_TRUE(h.ui.dialogs.back().dialog.CancelError);
    EXPECT_EQ(file, "/data/b.fit");
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(cancel);

    file = "/data/";
    h.ui.cancelDialog();
    EXPECT_EQ(raylen::sfBrowseFile(dlg, file, raylen::browseOpen, "T", "A|*.a|", index, cancel), "");
    EXPECT_EQ(h.ui.dialogs.back().dialog.FileName, "");
    EXPECT_TRUE(cancel);
    EXPECT_EQ(file, "/data/");

    file = "/data/c.fit";
    h.ui.cancelDialog();
    raylen::sfBrowseFile(dlg, file, raylen::browsePrinter, "P", "", index, cancel);
    EXPECT_EQ(h.ui.dialogs.back().dialog.FileName, "/data/c.fit");
    EXPECT_EQ(h.ui.dialogs.back().mode, platform::DialogMode::Printer);

    // The shared dialog left on entry 2 by an open from the plot window
    // shows the caller's entry; a kept answer saves in that format.
    dlg.FilterIndex = 2;
    index = 1;
    h.ui.answerDialog("/data/d.txt");
    raylen::sfBrowseFile(dlg, file, raylen::browseSave, "T", "A|*.a|B|*.b|", index, cancel);
    EXPECT_EQ(h.ui.dialogs.back().dialog.FilterIndex, 1);
    EXPECT_EQ(index, 1);
}

TEST(MainWindow, CheckAndResetCorrectsTheRegionAndMovesTheBox)
{
    TempDir dir;
    Harness h;
    h.openThroughDialog(writeFits(dir.file("r.fit"), 16, 600, 512, [](int, int) { return 1; }));
    QLineEdit sx("300"), ex("100"), sy("-4.5"), ey("5000");
    raylen::RegionFields fields{&sx, &ex, &sy, &ey};
    EXPECT_EQ(raylen::sfCheckAndReset(fields, appState().typFitsInfo), "");
    EXPECT_EQ(text(sx.text()), "100");
    EXPECT_EQ(text(ex.text()), "300");
    EXPECT_EQ(text(sy.text()), "0");
    EXPECT_EQ(text(ey.text()), "511");
    const raylen::ShpBox& box = raylen::frmImage()->box();
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.width, 201);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.height, 512);
    // Both X values beyond the image: the box cannot take a negative width.
    sx.setText("700");
    ex.setText("800");
    EXPECT_EQ(raylen::sfCheckAndReset(fields, appState().typFitsInfo), "sfCheckAndReset, 380プロパティの値が不正です。");
    // Not a number at all is 0.
    sx.setText("x");
    ex.setText("2.5");
    EXPECT_EQ(raylen::sfCheckAndReset(fields, appState().typFitsInfo), "");
    EXPECT_EQ(text(sx.text()), "0");
    EXPECT_EQ(text(ex.text()), "2");
}

TEST(MainWindow, HelpOpensTheIndexWithAnEmptyFocusedSearch)
{
    Harness h;
    h.main->button(19)->trigger();
    ASSERT_EQ(h.ui.dialogs.size(), 1u);
    const auto& call = h.ui.dialogs[0];
    EXPECT_EQ(call.mode, platform::DialogMode::Help);
    EXPECT_EQ(call.dialog.HelpCommand, 261);
    EXPECT_EQ(call.dialog.HelpKey, "");
    EXPECT_EQ(call.dialog.HelpFile, std::string(RAYLEN_BIN_DIR) + "/Raylen09.hlp");
    ASSERT_TRUE(std::filesystem::exists(call.dialog.HelpFile));

    // The Qt side of the same request.
    raylen::showHelpFor(call.dialog);
    raylen::HelpWindow* help = raylen::helpWindow();
    ASSERT_NE(help, nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(text(help->txtSearch->text()), "");
    EXPECT_EQ(QApplication::focusWidget(), help->txtSearch);
    ASSERT_GT(help->lstIndex->count(), 10);
    EXPECT_EQ(text(help->windowTitle()), "Raylenのﾍﾙﾌﾟ");
    // Partial keys narrow the index.
    help->txtSearch->setText("ダーク");
    int visible = 0;
    for (int i = 0; i < help->lstIndex->count(); ++i)
        visible += help->lstIndex->item(i)->isHidden() ? 0 : 1;
    EXPECT_EQ(visible, 1);
    raylen::closeHelpWindow();
    QApplication::processEvents();
}

TEST(MainWindow, AboutBox)
{
    Harness h;
    raylen::FrmAbout about(h.main.get());
    EXPECT_EQ(text(about.windowTitle()), "Raylen のﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(text(about.lblApp->text()), "Raylen  Version 0.90");
    EXPECT_EQ(about.lblApp->font().family().toStdString(), "Terminal");
    EXPECT_EQ(about.lblNotice->text().count('\n'), 1);
    EXPECT_FALSE(about.lmgRaylen->pixmap().isNull());
    // Shown modally from the menu; OK closes it.
    bool sawBox = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<raylen::FrmAbout*>(QApplication::activeModalWidget());
        sawBox = box != nullptr;
        if (box)
            box->cmdOK->click();
    });
    h.main->mnuVersion->trigger();
    EXPECT_TRUE(sawBox);
}
