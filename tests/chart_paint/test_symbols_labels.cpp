// Symbols, labels with runs, arrow lines and legends on the device.
#include <gtest/gtest.h>

#include <algorithm>

#include "Scene.h"
#include "paint/LabelLayout.h"

using namespace scene;

namespace {

LgLabel* label(LumigraCtrl& c, double x, double y, const std::string& text, double size)
{
    auto* l = add<LgLabel>(c, cidLabels);
    l->orgX_ = x;
    l->orgY_ = y;
    l->strings_[0] = text;
    l->fonts_[0].reset(font(c, "Century", size));
    return l;
}

// Bounding box of the dark pixels.
QRect inkBox(const QImage& image)
{
    int l = image.width(), t = image.height(), r = -1, b = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (dark(image.pixel(x, y))) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
    return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

} // namespace

TEST(SymbolsLabels, FilledSymbolInItsBrushAndNothingAtWidthZero)
{
    Control c(200, 150);
    auto* s = add<LgSymbol>(*c, cidSymbols);
    s->style_ = lgSymbolDiamond;
    s->centerX_ = 20;
    s->centerY_ = 20;
    s->width_ = s->height_ = 8;
    s->pen_.reset(pen(*c));
    s->brush_.reset(solidBrush(*c, 0x008000)); // RGB(0, 128, 0)
    QImage image = render(*c);
    const QPoint centre = pixelOf(*c, 20, 20, image.height());
    EXPECT_EQ(image.pixel(centre) & 0xFFFFFF, 0x008000u);
    // The diamond's corners: inside along the axes, outside along the diagonals.
    EXPECT_EQ(image.pixel(centre + QPoint(12, 0)) & 0xFFFFFF, 0x008000u);
    EXPECT_EQ(image.pixel(centre + QPoint(12, 12)) & 0xFFFFFF, 0xFFFFFFu);
    s->width_ = 0;
    EXPECT_EQ(countColour(render(*c), 0x008000), 0);
    s->width_ = 8;
    s->style_ = lgSymbolCustom;
    s->customString_ = "L0";
    EXPECT_FALSE(inkBox(render(*c)).isValid());
    s->customString_ = "P0132L03L12";
    image = render(*c);
    EXPECT_GT(countColour(image, 0x008000), 20 * 20);
    EXPECT_TRUE(dark(image.pixel(centre))); // the cross over the box
}

TEST(SymbolsLabels, LabelStartsAtItsOriginAndMeasuresAsDrawn)
{
    Control c(400, 200);
    LgLabel* l = label(*c, 20, 20, "WAVE", 5);
    l->alignY_[0] = lgFontAlignBottom;
    QImage image = render(*c);
    const QRect ink = inkBox(image);
    const QPoint origin = pixelOf(*c, 20, 20, image.height());
    ASSERT_TRUE(ink.isValid());
    EXPECT_NEAR(ink.left(), origin.x(), 2);   // starts at OrgX (side bearing only)
    EXPECT_LE(ink.bottom(), origin.y());      // no descenders: sits on the baseline
    EXPECT_GT(ink.height(), 10);              // capitals of a 5 mm font, about 13 px
    const QPointF extent = labelExtent(*l);
    EXPECT_NEAR(extent.x() * 96 / 25.4, ink.width(), 4);
    // Right alignment ends the label at the origin.
    l->alignX_ = lgFontAlignRight;
    const QRect right = inkBox(render(*c));
    EXPECT_NEAR(right.right(), origin.x(), 2);
}

TEST(SymbolsLabels, RunsSuperscriptAndDisabledFonts)
{
    Control c(400, 200);
    LgLabel* l = label(*c, 20, 20, "10", 5);
    l->strings_[1] = "-3";
    l->fonts_[1].reset(font(*c, "Century", 3));
    DeviceUnits units;
    LabelLayout common = layoutLabel(*l, units);
    ASSERT_EQ(common.runs.size(), 2u);
    EXPECT_TRUE(common.common);
    EXPECT_DOUBLE_EQ(common.runs[1].at.y(), 20); // on the baseline after run 1
    EXPECT_GT(common.runs[1].at.x(), 20);
    l->alignY_[1] = lgFontAlignSuperscript;
    LabelLayout sup = layoutLabel(*l, units);
    EXPECT_FALSE(sup.common);
    // Half its size plus a fifth of run 1's size above the baseline.
    EXPECT_DOUBLE_EQ(sup.runs[1].at.y(), 20 + 1.5 + 1.0);
    EXPECT_DOUBLE_EQ(sup.runs[1].at.x(), common.runs[1].at.x());
    // A run whose font is disabled shows nothing; the other runs still do.
    static_cast<LgFontHolder*>(l->fonts_[0].get())->enabled_ = false;
    LabelLayout one = layoutLabel(*l, units);
    ASSERT_EQ(one.runs.size(), 1u);
    EXPECT_EQ(one.runs[0].text, "-3");
    EXPECT_TRUE(inkBox(render(*c)).isValid());
    // Leading and trailing spaces are blanks of the run's font.
    l->leadingSpace_[1] = 2;
    l->trailingSpace_[1] = 1;
    EXPECT_EQ(layoutLabel(*l, units).runs[0].text, "  -3 ");
}

TEST(SymbolsLabels, ArrowHeadPointsAlongItsLine)
{
    Control c(400, 300);
    auto* arrow = add<LgSymbolLine>(*c, cidSymbolLines);
    LgLine* shaft = solidLine(*c, pen(*c));
    shaft->fromX_ = 20; shaft->fromY_ = 60; shaft->toX_ = 20; shaft->toY_ = 20; // pointing down
    arrow->line_.reset(shaft);
    auto* head = add<LgSymbol>(*c, cidSymbols);
    head->style_ = lgSymbolArrowHead2;
    head->width_ = head->height_ = 4;
    head->brush_.reset(solidBrush(*c, 0x0000FF));
    arrow->endSymbol_.reset(head);
    QImage image = render(*c);
    const QPoint tip = pixelOf(*c, 20, 20, image.height());
    // The filled head lies above its tip (back along the line), not beside it.
    EXPECT_EQ(image.pixel(tip + QPoint(2, -8)) & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(dark(image.pixel(tip + QPoint(0, -20)))); // the shaft
    EXPECT_EQ(image.pixel(tip + QPoint(-10, -2)) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(countColour(image, 0xFF0000, QRect(tip + QPoint(-10, 1), tip + QPoint(10, 20))), 0);
}
