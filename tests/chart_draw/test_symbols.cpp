#include "draw/RecordingSink.h"
#include "draw/SymbolProgram.h"
#include "draw/SymbolStyles.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace lumigra;

namespace {

// Symbols 4 mm wide and 2 mm high at (10, 20): hx = 2, hy = 1.
std::string figure(int style, std::string_view custom = {}, bool turned = false, double w = 4, double h = 2)
{
    RecordingPrimitiveSink sink;
    drawSymbol(style, custom, 10, 20, w, h, turned, sink);
    return sink.text();
}

} // namespace

TEST(SymbolStyles, FiguresOfTheTable)
{
    EXPECT_EQ(figure(71), "polyline (8,21) (12,19)\npolyline (12,21) (8,19)\n");
    EXPECT_EQ(figure(76), "polyline (8,20) (12,20)\npolyline (10,21) (10,19)\n");
    EXPECT_EQ(figure(77), "polyline (8,20) (12,20)\npolyline (10,21) (10,19)\n"
                          "polyline (8,21) (12,19)\npolyline (12,21) (8,19)\n");
    EXPECT_EQ(figure(78), "polygon (8,21) (12,21) (12,19) (8,19)\n");
    EXPECT_EQ(figure(79), "polygon (8,21) (12,21) (12,19) (8,19)\n"
                          "polygon (9,20.5) (11,20.5) (11,19.5) (9,19.5)\n");
    EXPECT_EQ(figure(80), "polygon (10,21) (12,20) (10,19) (8,20)\n");
    EXPECT_EQ(figure(81), "polygon (10,21) (12,19) (8,19)\n");
    EXPECT_EQ(figure(82), "ellipse (10,20) 2x1\n");
    EXPECT_EQ(figure(83), "ellipse (10,20) 2x1\nellipse (10,20) 1x0.5\n");
    EXPECT_EQ(figure(84), "polyline (8,21) (12,21)\npolyline (10,21) (10,19)\n");
    EXPECT_EQ(figure(85), "polyline (8,19) (12,19)\npolyline (10,21) (10,19)\n");
    // Arrow heads: the box is twice as wide, the tip is the centre.
    EXPECT_EQ(figure(86), "polyline (6,21) (10,20)\npolyline (10,20) (6,19)\n");
    EXPECT_EQ(figure(87), "polygon (6,21) (10,20) (6,19)\n");
    EXPECT_EQ(figure(75), "fill [10,20 2x1]\npicture [10,20 2x1]\noutline [10,20 2x1]\n");
    // Styles outside the table draw nothing.
    EXPECT_EQ(figure(0), "");
    EXPECT_EQ(figure(72), "");
    EXPECT_EQ(figure(88), "");
}

TEST(SymbolStyles, CaptionsAndNames)
{
    ASSERT_EQ(symbolStyles().size(), 15u);
    EXPECT_EQ(findSymbolStyle(87)->caption, "矢尻(閉じた３角形,lgArrowHead1)");
    EXPECT_EQ(findSymbolStyle(86)->caption, "矢尻(閉じない形,lgArrowHead1)");
    EXPECT_EQ(findSymbolStyle(84)->caption, " T (lgT)");
    EXPECT_EQ(findSymbolStyle(85)->caption, " T の逆さ(lgInvT)");
    EXPECT_EQ(findSymbolStyle(71)->caption, "Ｘ (lgX)");
    EXPECT_EQ(findSymbolStyle(77)->caption, "＊ (lgStar)");
    EXPECT_EQ(findSymbolStyle(74)->name, "lgSymbolCustom");
    EXPECT_EQ(findSymbolStyle(73), nullptr);
}

TEST(SymbolProgram, CustomPrograms)
{
    // A box followed by a cross.
    EXPECT_EQ(figure(74, "P0132L03L12"), "polygon (8,21) (12,21) (12,19) (8,19)\n"
                                         "polyline (8,21) (12,19)\npolyline (12,21) (8,19)\n");
    // One point is no line, two points no polygon.
    EXPECT_EQ(figure(74, "L0"), "");
    EXPECT_EQ(figure(74, "P01"), "");
    // Lower-case commands and point letters; unknown characters are skipped.
    EXPECT_EQ(figure(74, "xlA8?pBDc"), "polyline (9,20.5) (10,20)\npolygon (11,20.5) (11,19.5) (9,19.5)\n");
    // Quadrant ellipses and the picture.
    EXPECT_EQ(figure(74, "EaedI"), "ellipse (9,20.5) 1x0.5\nellipse (11,19.5) 0.5x0.25\npicture [10,20 2x1]\n");
    // A lone "E" ends the program; an unknown ellipse variant draws nothing.
    EXPECT_EQ(figure(74, "E0L01E"), "polyline (8,21) (12,21)\n");
    EXPECT_EQ(figure(74, ""), "");
}

TEST(SymbolProgram, FortyPointLimit)
{
    // 41 points: the 41st is not read into the line, and as a command it is skipped.
    std::string program = "L";
    for (int i = 0; i < 20; ++i)
        program += "01";
    program += "8";
    RecordingPrimitiveSink sink;
    SymbolProgram::run(program, {0, 0, 1, 1}, false, sink);
    ASSERT_EQ(sink.calls().size(), 1u);
    EXPECT_EQ(sink.calls()[0].points.size(), 40u);
    EXPECT_EQ(sink.calls()[0].points.back(), QPointF(1, 1));

    // A 45-point polygon has the same limit, and a following command still runs.
    sink.clear();
    SymbolProgram::run("P" + std::string(45, '8') + "L01", {0, 0, 1, 1}, false, sink);
    ASSERT_EQ(sink.calls().size(), 2u);
    EXPECT_EQ(sink.calls()[0].points.size(), 40u);
    EXPECT_EQ(sink.calls()[1].kind, RecordingPrimitiveSink::Kind::Polyline);
}

TEST(SymbolProgram, QuarterTurn)
{
    // Box turned: 0→1, 1→3, 3→2, 2→0, so the T becomes a bar on the right.
    EXPECT_EQ(figure(84, {}, true), "polyline (12,21) (12,19)\npolyline (12,20) (8,20)\n");
    EXPECT_EQ(figure(81, {}, true), "polygon (12,20) (8,19) (8,21)\n");
    EXPECT_EQ(figure(74, "Lab", true), "polyline (11,20.5) (11,19.5)\n");
    // The plus turns into itself with its strokes swapped and reversed.
    EXPECT_EQ(figure(76, {}, true), "polyline (10,21) (10,19)\npolyline (12,20) (8,20)\n");
}

TEST(SymbolProgram, SizeThreshold)
{
    EXPECT_EQ(figure(78, {}, false, 0, 2), "");
    EXPECT_EQ(figure(78, {}, false, 2, 0), "");
    // width^2 = 0.000009 is below 0.00001; 0.0000100489 is not.
    EXPECT_EQ(figure(82, {}, false, 0.003, 2), "");
    EXPECT_EQ(figure(82, {}, false, 0.00317, 2), "ellipse (10,20) 0.001585x1\n");
    EXPECT_EQ(figure(75, {}, false, 0, 2), "");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(figure(78, {}, false, nan, 2), "");
    RecordingPrimitiveSink sink;
    drawSymbol(78, {}, nan, 0, 2, 2, false, sink);
    drawSymbol(75, {}, 0, std::numeric_limits<double>::infinity(), 2, 2, false, sink);
    EXPECT_TRUE(sink.calls().empty());
}
