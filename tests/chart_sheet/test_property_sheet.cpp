// The property sheet opened by Dialog: fields generated from the member
// tables, applied through dispatch, refused values, Cancel, the add-in, and
// the one-sheet-per-process rule.
#include <QColorDialog>

#include "IniFile.h"
#include "SheetScript.h"
#include "platform/com/Registry.h"
#include "server/Components.h"

namespace sheettest {
namespace {

namespace c = dsp::control;
namespace col = dsp::collection;
namespace pen = dsp::pen;
namespace line = dsp::line;

const Guid CLSID_TestAddIn = makeGuid("{5E1F0A10-7C2B-4D3E-9F40-112233445566}");

// A free line from (10, 20) to (60, 20) mm drawn with pen "Thin"; a second
// pen "Other" waits unused.
struct Chart {
    Obj control = controlByClsid();
    Obj pens = GetObj(control, c::Pens);
    Obj thin = CallObj(pens, col::Add, {Str("Thin")});
    Obj other = CallObj(pens, col::Add, {Str("Other")});
    Obj line;

    Chart()
    {
        Obj lines = GetObj(control, c::Lines);
        line = CallObj(lines, col::Add, {Str("Free")});
        Put(line, line::Pen1, O(thin));
        Put(line, line::Length1, R8(1));
        Put(line, line::FromX, R8(10));
        Put(line, line::FromY, R8(20));
        Put(line, line::ToX, R8(60));
        Put(line, line::ToY, R8(20));
    }
    bool dialog() { return Call(control, c::Dialog).boolean(); }
};

// Rows of the column at x (pixels) whose colour matches.
int rowsOf(const QImage& image, int x, const std::function<bool(QRgb)>& match)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        n += match(image.pixel(x, y)) ? 1 : 0;
    return n;
}

bool red(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }

TEST(PropertySheet, EditsAPensColourAndWidthAndTheChartRepaintsWithThem)
{
    Chart chart;
    QWidget* w = showWindow(chart.control, 300, 200);
    ASSERT_NE(w, nullptr);
    const Surface s{double(w->logicalDpiY()), 200};
    const int x = static_cast<int>(s.px(35));
    QImage before = w->grab().toImage();
    EXPECT_EQ(rowsOf(before, x, dark), 1) << "a pen of width 0 draws one pixel";
    EXPECT_EQ(rowsOf(before, x, red), 0);

    onSheet([](QDialog* sheet) {
        EXPECT_EQ(tabTitles(sheet), QStringList({"Lumigra", "Pens", "Lines"}));
        QWidget* pens = page(sheet, "Pens");
        pick(pens, "Thin");
        onModal<QColorDialog>([](QColorDialog* d) {
            d->setCurrentColor(QColor(255, 0, 0));
            d->accept();
        });
        QTest::mouseClick(field<QPushButton>(pens, "Color"), Qt::LeftButton);
        EXPECT_EQ(field<QPushButton>(pens, "Color")->text(), "#FF0000");
        type(pens, "Width", "1");
        press(sheet, QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(chart.dialog());

    EXPECT_EQ(Get(chart.thin, pen::Color).i4(), 0x0000FF) << "red as the platform stores it";
    EXPECT_DOUBLE_EQ(Get(chart.thin, pen::Width).r8(), 1.0);
    EXPECT_EQ(Get(chart.other, pen::Width).r8(), 0.0);
    EXPECT_GT(host(chart.control)->pendingInvalidates(), 0) << "the change asked for a repaint";
    QImage after = w->grab().toImage();
    const int redRows = rowsOf(after, x, red);
    // 1 mm at the screen's resolution, give or take the rounding of the edges.
    EXPECT_GE(redRows, static_cast<int>(s.perMm()) - 1);
    EXPECT_LE(redRows, static_cast<int>(s.perMm()) + 2);
    EXPECT_TRUE(red(after.pixel(x, static_cast<int>(s.py(20)))));
    EXPECT_EQ(rowsOf(after, x, dark), 0);
}

TEST(PropertySheet, OnlyOneSheetAtATimeAndNoneWhenTheControlForbidsIt)
{
    Chart chart;
    Chart second;
    bool nested = true, nestedOther = true;
    onSheet([&](QDialog* sheet) {
        nested = chart.dialog();
        nestedOther = second.dialog();
        press(sheet, QDialogButtonBox::Cancel);
    });
    EXPECT_TRUE(chart.dialog()) << "the sheet ran, even though it was cancelled";
    EXPECT_FALSE(nested);
    EXPECT_FALSE(nestedOther) << "one sheet per process, not per control";

    // Closed again: the next one opens.
    onSheet([](QDialog* sheet) { sheet->reject(); });
    EXPECT_TRUE(second.dialog());

    Put(chart.control, c::PropertySheetEnabled, Bool(false));
    EXPECT_FALSE(chart.dialog());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    Raised bad = invokeRaw(second.control, c::Dialog, DISPATCH_METHOD, {I4(0x7ffffff0)});
    EXPECT_EQ(bad.status, DISP_E_EXCEPTION);
    EXPECT_EQ(bad.info.wCode, 1009);
    EXPECT_EQ(bad.info.description, "Window Handle ではありません。");
}

TEST(PropertySheet, EnumeratedFieldsOfferTheCaptionsOfTheirKind)
{
    Chart chart;
    Obj symbol = CallObj(GetObj(chart.control, c::Symbols), col::Add, {Str("Mark")});
    Obj brush = CallObj(GetObj(chart.control, c::Brushes), col::Add, {Str("Fill")});
    Put(chart.thin, pen::Style, I2(lumigra::lgPenXor));
    QStringList penStyles, penSelected, symbolStyles, brushStyles;
    onSheet([&](QDialog* sheet) {
        QWidget* pens = page(sheet, "Pens");
        penStyles = captions(pens, "Style");
        penSelected << field<QComboBox>(pens, "Style")->currentText();
        pick(pens, "Other");
        penSelected << field<QComboBox>(pens, "Style")->currentText();
        symbolStyles = captions(page(sheet, "Symbols"), "Style");
        brushStyles = captions(page(sheet, "Brushes"), "Style");
        press(sheet, QDialogButtonBox::Cancel);
    });
    ASSERT_TRUE(chart.dialog());
    EXPECT_EQ(penStyles, QStringList({"何も描かないペン(lgNull)", "ペンの色をそのまま印字(lgPen)",
                                      "ペンの色を反転して印字(lgInvertPen)", "常に黒(lgBlack)", "常に白(lgWhite)",
                                      "印字対象に既にある色を反転(lgInvertTarget)",
                                      "印字対象に既にある色とペンの色を混合した色(lgMerge)",
                                      "印字対象に既にある色とペンの色を混合した色を反転(lgInvertMerge)",
                                      "印字対象に既にある色とペンの色に共通する色(lgAnd)",
                                      "印字対象に既にある色とペンの色に共通しない色(lgXor)"}));
    EXPECT_EQ(penSelected, QStringList({"印字対象に既にある色とペンの色に共通しない色(lgXor)",
                                        "ペンの色をそのまま印字(lgPen)"}));
    EXPECT_EQ(symbolStyles,
              QStringList({"Ｘ (lgX)", "カスタムシンボル(lgCustomSymbol)", "イメージシンボル(lgPictureSymbol)",
                           "プラス(lgPlus)", "＊ (lgStar)", "矩形(lgBox1)", "二重矩形(lgBox2)", "菱形(lgDiamond)",
                           "三角(lgTriangle)", "円形(lgCircle1)", "二重円形(lgCircle2)", " T (lgT)", " T の逆さ(lgInvT)",
                           "矢尻(閉じない形,lgArrowHead1)", "矢尻(閉じた３角形,lgArrowHead1)",
                           "0"}))
        << "a new symbol's style 0 is no listed shape and stays selectable as its number";
    ASSERT_EQ(brushStyles.size(), 9);
    EXPECT_EQ(brushStyles.mid(1), QStringList({"ソリッドブラシ(べた塗り,lgSolid)", "水平線のハッチ模様(lgHorizontal)",
                                               "垂直線のハッチ模様(lgVertical)", "縦横クロスハッチ模様(lgCross)",
                                               "45度の線どうしが交わるハッチ模様(lgCrossLR)",
                                               "左上がり斜線ハッチ模様(lgL)", "右上がり斜線ハッチ模様(lgR)",
                                               "任意指定(lgCustom)"}));
}

TEST(PropertySheet, ChosenCaptionAndReferenceAreAppliedThroughDispatch)
{
    Chart chart;
    onSheet([](QDialog* sheet) {
        QWidget* pens = page(sheet, "Pens");
        pick(pens, "Other");
        choose(pens, "Style", "常に白(lgWhite)");
        QWidget* lines = page(sheet, "Lines");
        choose(lines, "Pen1", "Other");
        choose(lines, "Pen2", "Thin");
        press(sheet, QDialogButtonBox::Ok);
    });
    ASSERT_TRUE(chart.dialog());
    EXPECT_EQ(Get(chart.other, pen::Style).i2(), lumigra::lgPenWhite);
    EXPECT_EQ(Get(chart.line, line::Pen1).dispatch(), chart.other.get());
    EXPECT_EQ(Get(chart.line, line::Pen2).dispatch(), chart.thin.get());
    EXPECT_EQ(Call(chart.thin, dsp::common::RefCount, {I4(lumigra::lgParents)}).i4(), 1);
}

TEST(PropertySheet, CancelLeavesTheChartByteForByte)
{
    Chart chart;
    const std::string before = textOf(chart.control);
    host(chart.control)->setModified(false);
    onSheet([](QDialog* sheet) {
        QWidget* control = page(sheet, "Lumigra");
        type(control, "OrgX", "12.5");
        QWidget* pens = page(sheet, "Pens");
        pick(pens, "Thin");
        type(pens, "Width", "2");
        type(pens, "Name", "Renamed");
        pick(pens, "Other"); // the edits of Thin wait while another pen shows
        EXPECT_EQ(field<QLineEdit>(pens, "Width")->text(), "0");
        pick(pens, "Thin");
        EXPECT_EQ(field<QLineEdit>(pens, "Width")->text(), "2");
        choose(page(sheet, "Lines"), "Pen1", "(Nothing)");
        press(sheet, QDialogButtonBox::Cancel);
    });
    ASSERT_TRUE(chart.dialog());
    EXPECT_EQ(textOf(chart.control), before);
    EXPECT_FALSE(host(chart.control)->isModified());
}

TEST(PropertySheet, ARefusedValueShowsTheMembersTextAndKeepsTheSheetOpen)
{
    Chart chart;
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    const std::string before = textOf(chart.control);
    bool openAfterRefusal = false, openAfterBadNumber = false;
    onSheet([&](QDialog* sheet) {
        QWidget* pens = page(sheet, "Pens");
        pick(pens, "Thin");
        type(pens, "Width", "3");
        type(pens, "Name", "Other");
        press(sheet, QDialogButtonBox::Ok);
        openAfterRefusal = sheet->isVisible();
        // The name goes back; the width stays waiting and a bad number is refused too.
        type(pens, "Name", "Thin");
        type(pens, "Width", "wide");
        press(sheet, QDialogButtonBox::Apply);
        openAfterBadNumber = sheet->isVisible();
        press(sheet, QDialogButtonBox::Cancel);
    });
    ASSERT_TRUE(chart.dialog());
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_TRUE(openAfterBadNumber);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].prompt, "同じ名前が既に存在しています。");
    EXPECT_EQ(ui.shown[0].title, "Thin") << "the source of the error";
    EXPECT_EQ(ui.shown[0].icon(), platform::vbExclamation);
    EXPECT_EQ(ui.shown[1].prompt, "変数や引数の型が不正、添え字が範囲外、不正な名前等のエラーです。.");
    EXPECT_EQ(ui.shown[1].title, "Width");
    // The width applied before the refused name was taken back.
    EXPECT_EQ(textOf(chart.control), before);
}

TEST(PropertySheet, TheAddInIsAskedBeforeEachObjectChangesAndMayRefuse)
{
    IniFile ini(RAYLEN_BIN_DIR);
    Chart chart;
    Put(chart.other, dsp::common::Name, Str("Locked"));
    ASSERT_EQ(registerClass(CLSID_TestAddIn, "LumigraTest.AddIn", "test add-in", TEST_ADDIN_LIBRARY, ""), S_OK);
    lumigra::releaseComponents(1);
    // The test add-in refuses a change of an object named "Locked" and
    // counts its calls in the object's Tag.
    ini.write("[HelperDLL]\nProgID=LumigraTest.AddIn\nEntry=MayChange\n");
    onSheet([](QDialog* sheet) {
        QWidget* pens = page(sheet, "Pens");
        pick(pens, "Thin");
        type(pens, "Width", "0.5");
        pick(pens, "Locked");
        type(pens, "Width", "0.7");
        choose(pens, "Style", "常に黒(lgBlack)");
        press(sheet, QDialogButtonBox::Ok);
    });
    ASSERT_TRUE(chart.dialog());
    EXPECT_DOUBLE_EQ(Get(chart.thin, pen::Width).r8(), 0.5);
    EXPECT_EQ(Get(chart.thin, dsp::common::Tag).i4(), 1) << "asked once for Thin";
    EXPECT_EQ(Get(chart.other, pen::Width).r8(), 0.0);
    EXPECT_EQ(Get(chart.other, pen::Style).i2(), lumigra::lgPenNormal);
    EXPECT_EQ(Get(chart.other, dsp::common::Tag).i4(), 1) << "asked once for Locked, which it refused";
    unregisterClass(CLSID_TestAddIn, "LumigraTest.AddIn");
    lumigra::releaseComponents(1);
}

} // namespace
} // namespace sheettest
