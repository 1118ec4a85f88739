// The identification dialog driven page by page: scripted file dialogs,
// real key events on the chart and in the grid.
#include "../plot_gui/PlotHarness.h"

#include "numeric/Polynomial.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "reduce/gui/FrmIdent.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace plottest;
using raylen::appState;
using raylen::FrmIdent;

namespace {

// Lines at these pixels on a flat background; the lamp's wavelengths follow
// λ = 5000 + 2p + 0.001p².
const std::vector<double> linePixels{40.3, 95.7, 150.2, 210.9, 260.4};

double waveAt(double p) { return 5000.0 + 2.0 * p + 0.001 * p * p; }

Spectrum lampLines() { return lampSpectrum(linePixels); }

std::string lampTable()
{
    std::string table;
    for (double p : linePixels)
        table += platform::Format(waveAt(p), "0.00") + "  Ne I\r\n";
    return table;
}

void typeKey(QWidget* target, int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::processEvents();
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

std::string cell(FrmIdent* d, int row) { return text(d->fg2->item(row - 1, 1)->text()); }

struct IdentHarness : PlotHarness {
    IdentHarness() : PlotHarness(lampLines(), "comp.txt")
    {
        writeAll(dir.file("lamp.dat"), lampTable());
        appState().strTableFileName = dir.file("lamp.dat");
        plot->mnuIdent_Click();
        dialog = raylen::frmIdent();
    }
    ~IdentHarness()
    {
        raylen::unloadFrmIdent();
        QApplication::processEvents();
    }
    void toPage2()
    {
        dialog->cmdNext->click();
        ASSERT_EQ(dialog->intPage(), 2);
    }
    // A real key over the chart with the cursor at a data X.
    void keyAt(char c, double x)
    {
        moveToData(x, 500.0);
        key(c);
        QApplication::processEvents();
    }
    FrmIdent* dialog = nullptr;
};

} // namespace

TEST(IdentDialog, TableGridKeysFitPreviewAndSave)
{
    IdentHarness h;
    FrmIdent* d = h.dialog;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->windowTitle()), "波長同定 [ comp.txt ]");
    EXPECT_EQ(d->intPage(), 1);
    EXPECT_EQ(text(d->txtCompTable->text()), "lamp.dat");
    EXPECT_FALSE(d->cmdReturn->isEnabled());
    EXPECT_FALSE(h.plot->mnuIdent->isEnabled()) << "menus are locked while the dialog is open";
    EXPECT_EQ(appState().intTaskMode, raylen::taskIdent);

    d->txtCompTable->setText("none.dat");
    d->cmdNext->click();
    ASSERT_FALSE(h.ui.shown.empty());
    EXPECT_EQ(h.ui.shown.back().prompt, "波長テーブルファイルが存在しません。");
    EXPECT_EQ(h.ui.shown.back().icon(), platform::vbExclamation);
    EXPECT_EQ(d->intPage(), 1);

    writeAll(h.dir.file("empty.dat"), "");
    d->txtCompTable->setText("empty.dat");
    d->cmdNext->click();
    EXPECT_EQ(h.ui.shown.back().prompt, "sfOpenCompFile, 9インデックスが有効範囲にありません。");
    EXPECT_EQ(h.ui.shown.back().icon(), platform::vbCritical);
    EXPECT_EQ(d->intPage(), 1);

    d->txtCompTable->setText("lamp.dat");
    h.toPage2();
    EXPECT_TRUE(d->cmdReturn->isEnabled());
    ASSERT_EQ(d->fg2->rowCount(), 5);
    EXPECT_EQ(text(d->fg2->horizontalHeaderItem(0)->text()), "   波長");
    EXPECT_EQ(text(d->fg2->horizontalHeaderItem(1)->text()), "ピクセル");
    EXPECT_EQ(text(d->fg2->verticalHeaderItem(4)->text()), "5");
    EXPECT_EQ(text(d->fg2->item(0, 0)->text()), platform::Format(waveAt(40.3), "0.00"));
    EXPECT_EQ(text(d->txtSearch->text()), "8");
    EXPECT_EQ(text(d->txtHPFW->text()), "1.0");
    d->txtHPFW->setText("2.5");
    EXPECT_EQ(d->halfWidth(), 2.0);
    d->txtHPFW->setText("1.0");

    // g, m and n measure into the pixel cell of the current row.
    d->setCurrentCell(1, 2);
    h.keyAt('g', linePixels[0] + 1.0);
    EXPECT_NEAR(std::stod(cell(d, 1)), linePixels[0], 0.05 + 1e-6);
    // The next row without a pixel becomes current, its cell light yellow.
    EXPECT_EQ(d->fg2->currentRow(), 1);
    EXPECT_EQ(d->fg2->item(1, 1)->background().color(), QColor(255, 255, 192)) << "the entered cell is light yellow";
    EXPECT_EQ(d->fg2->item(0, 1)->background().color(), QColor(255, 255, 255));
    d->setCurrentCell(2, 2);
    h.keyAt('m', linePixels[1] + 1.0);
    EXPECT_EQ(cell(d, 2), "96");
    d->setCurrentCell(3, 2);
    h.keyAt('n', linePixels[2]);
    EXPECT_EQ(cell(d, 3), platform::Format(h.plot->cursor().sngCursorX, "0.0"));
    EXPECT_NEAR(std::stod(cell(d, 3)), linePixels[2], 1.0);
    for (int row : {4, 5}) {
        d->setCurrentCell(row, 2);
        h.keyAt('g', linePixels[static_cast<size_t>(row - 1)] - 1.0);
        EXPECT_NEAR(std::stod(cell(d, row)), linePixels[static_cast<size_t>(row - 1)], 0.05 + 1e-6);
    }
    h.keyAt('G', linePixels[3]);
    EXPECT_NEAR(std::stod(cell(d, 5)), linePixels[4], 0.05 + 1e-6) << "upper case does nothing";

    // Typing in the grid opens the floating editor; Enter stores, Escape does not.
    d->setCurrentCell(3, 2);
    // The marking page gave the plot the keys: the user clicks back into the grid.
    QApplication::setActiveWindow(d);
    d->fg2->setFocus();
    typeKey(d->fg2, Qt::Key_1, "1");
    ASSERT_TRUE(d->txtEdit->isVisible());
    EXPECT_EQ(text(d->txtEdit->text()), "1");
    for (const char* c : {"5", "0", ".", "2"})
        typeKey(d->txtEdit, c[0] == '.' ? Qt::Key_Period : Qt::Key_0 + (c[0] - '0'), c);
    typeKey(d->txtEdit, Qt::Key_Return);
    EXPECT_FALSE(d->txtEdit->isVisible());
    EXPECT_EQ(cell(d, 3), "150.2");
    typeKey(d->fg2, Qt::Key_9, "9");
    typeKey(d->txtEdit, Qt::Key_Escape);
    EXPECT_EQ(cell(d, 3), "150.2");
    typeKey(d->fg2, Qt::Key_A, "a");
    EXPECT_FALSE(d->txtEdit->isVisible()) << "only digits, the point and Backspace start editing";
    const QRect r = d->fg2->visualItemRect(d->fg2->item(2, 1));
    mouse(d->fg2->viewport(), QEvent::MouseButtonPress, r.center(), Qt::LeftButton, Qt::LeftButton);
    mouse(d->fg2->viewport(), QEvent::MouseButtonRelease, r.center(), Qt::LeftButton, Qt::NoButton);
    mouse(d->fg2->viewport(), QEvent::MouseButtonDblClick, r.center(), Qt::LeftButton, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(d->txtEdit->isVisible());
    EXPECT_EQ(text(d->txtEdit->text()), "150.2") << "a double click edits the cell's text";
    typeKey(d->txtEdit, Qt::Key_Up);
    EXPECT_FALSE(d->txtEdit->isVisible());
    EXPECT_EQ(d->grid().Row(), 2) << "Up moves to the previous row";

    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 3);
    EXPECT_FALSE(d->cmdNext->isEnabled());
    EXPECT_EQ(appState().intTaskMode, raylen::taskNone);

    d->txtOrder->setText("5");
    d->cmdFit->click();
    EXPECT_EQ(h.ui.shown.back().prompt, "３点以上のデータを入力して下さい");
    EXPECT_EQ(h.ui.shown.back().icon(), platform::vbExclamation);
    EXPECT_FALSE(d->cmdNext->isEnabled());

    d->txtOrder->setText("2");
    d->cmdFit->click();
    ASSERT_TRUE(d->cmdNext->isEnabled());
    const QStringList result = d->lblResult->text().split('\n');
    ASSERT_EQ(result.size(), 4);
    EXPECT_EQ(text(result[0]), "結果 a0+a1*x+a2*x^2+a3*x^3+....");
    EXPECT_EQ(text(result[1]).rfind("a0=", 0), 0u);
    const std::vector<double> a = d->coefficients();
    ASSERT_EQ(a.size(), 3u);
    // Row 2 holds a whole pixel (key m) and row 3 a typed one: close, not exact.
    EXPECT_NEAR(a[0], 5000.0, 1.0);
    EXPECT_NEAR(a[1], 2.0, 0.02);

    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 4);
    EXPECT_EQ(text(d->cmdNext->text()), "保存");
    EXPECT_EQ(h.plot->plotX()[100], raylen::evalPolynomial(a, 100.0)) << "the lamp on the wavelength scale";

    // Cancelling the save dialog leaves everything as it was.
    h.ui.cancelDialog();
    d->cmdNext->click();
    EXPECT_EQ(d->intPage(), 4);
    EXPECT_FALSE(exists(h.dir.file("comp.dip")));
    ASSERT_FALSE(h.ui.dialogs.empty());
    EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "dipﾌｧｲﾙの保存");
    EXPECT_EQ(h.ui.dialogs.back().dialog.Filter, "dipﾌｧｲﾙ(*.dip)|*.dip|");
    EXPECT_EQ(h.ui.dialogs.back().dialog.FileName, h.dir.file("comp.dip"));

    h.ui.answerDialog(h.dir.file("comp.dip"));
    d->cmdNext->click();
    QApplication::processEvents();
    EXPECT_EQ(raylen::frmIdent(), nullptr);
    const std::string dip = readAll(h.dir.file("comp.dip"));
    EXPECT_EQ(dip, platform::doubleToText(a[0]) + "\r\n" + platform::doubleToText(a[1]) + "\r\n" +
                       platform::doubleToText(a[2]) + "\r\n");
    EXPECT_EQ(h.plot->plotX(), lampLines().x) << "the plot window gets its spectrum back";
    EXPECT_TRUE(h.plot->mnuIdent->isEnabled());
    EXPECT_EQ(appState().intTaskMode, raylen::taskNone);
}

TEST(IdentDialog, ReturnAndCancelPlotTheComparisonSpectrumAgain)
{
    IdentHarness h;
    FrmIdent* d = h.dialog;
    ASSERT_NE(d, nullptr);
    h.toPage2();
    d->cmdNext->click();
    EXPECT_EQ(h.ui.shown.back().prompt, "値が入力されていません。");
    EXPECT_EQ(d->intPage(), 2);

    for (int row = 1; row <= 3; ++row) {
        d->setCurrentCell(row, 2);
        h.keyAt('g', linePixels[static_cast<size_t>(row - 1)]);
    }
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 3);
    EXPECT_EQ(h.plot->plotX().size(), 300u) << "the pairs are drawn as symbols; the spectrum stays the window's";
    d->cmdReturn->click();
    EXPECT_EQ(d->intPage(), 2);
    EXPECT_TRUE(d->cmdNext->isEnabled());
    EXPECT_EQ(appState().intTaskMode, raylen::taskIdent);
    EXPECT_FALSE(cell(d, 1).empty()) << "measured pixels stay when going back";
    d->cmdClear->click();
    EXPECT_EQ(cell(d, 1), "");

    d->cmdCancel->click();
    QApplication::processEvents();
    EXPECT_EQ(raylen::frmIdent(), nullptr);
    EXPECT_EQ(h.plot->plotX(), lampLines().x);
    EXPECT_EQ(h.plot->plotY(), lampLines().y);
    EXPECT_EQ(appState().intTaskMode, raylen::taskNone);
}
