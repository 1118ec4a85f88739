// Device pens, brushes and fonts drawn for real: widths, mix modes against
// the raster operation each names, monochrome, hatch directions, the 8 x 8
// pattern and the font substitutions.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPainter>

#include "Scene.h"
#include "resources/DeviceBrush.h"
#include "resources/DeviceFont.h"

using namespace scene;

namespace {

// A 40 x 20 mm box of one brush and its image.
QImage filledBox(LumigraCtrl& c, LgBrush* brush)
{
    auto* r = add<LgRectangle>(c, cidRectangles);
    r->orgX_ = 0;
    r->orgY_ = 0;
    r->width_ = 40;
    r->height_ = 20;
    r->paintTool_ = lgPaintBrush;
    r->brush_.reset(brush);
    return render(c);
}

bool on(const QImage& image, int x, int y) { return (image.pixel(x, y) & 0xFFFFFF) == 0x000000; }

} // namespace

TEST(Resources, PenWidthIsAtLeastOneDeviceUnit)
{
    Control c(200, 100);
    auto* l = solidLine(*c, pen(*c, 0, 0.01));
    l->fromX_ = 5; l->fromY_ = 10; l->toX_ = 40; l->toY_ = 10;
    QImage image = render(*c);
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        rows += dark(image.pixel(60, y));
    EXPECT_EQ(rows, 1);
    static_cast<LgPen*>(l->pen1_.get())->width_ = 1.0; // 3.78 px, drawn 4 wide
    image = render(*c);
    rows = 0;
    for (int y = 0; y < image.height(); ++y)
        rows += dark(image.pixel(60, y));
    EXPECT_EQ(rows, 4);
}

TEST(Resources, MixModesCombineLikeTheirRasterOperations)
{
    // Pen RGB(0, 255, 128) over a background of RGB(255, 0, 128).
    const uint32_t pen = 0x00FF80, target = 0xFF0080;
    const struct {
        int style;
        uint32_t expected;
    } cases[] = {
        {lgPenNormal, pen},
        {lgPenInvert, ~pen & 0xFFFFFF},
        {lgPenBlack, 0x000000},
        {lgPenWhite, 0xFFFFFF},
        {lgPenInvertTarget, ~target & 0xFFFFFF},
        {lgPenMerge, target | pen},
        {lgPenInvertMerge, ~(target | pen) & 0xFFFFFF},
        {lgPenAnd, target & pen},
        {lgPenXor, target ^ pen},
        {lgPenNull, target},
    };
    for (const auto& k : cases) {
        Control c(100, 60);
        c->backColor_ = 0x8000FF; // RGB(255, 0, 128) as 0x00BBGGRR
        LgPen* p = scene::pen(*c, 0x80FF00, 1.0);
        p->style_ = static_cast<int16_t>(k.style);
        auto* l = solidLine(*c, p);
        l->fromX_ = 2; l->fromY_ = 8; l->toX_ = 20; l->toY_ = 8;
        QImage image = render(*c);
        EXPECT_EQ(image.pixel(pixelOf(*c, 10, 8, image.height())) & 0xFFFFFF, k.expected) << "style " << k.style;
    }
}

TEST(Resources, MonochromeReadsPenColoursAsBlackOrWhite)
{
    Control c(100, 60);
    c->backColor_ = 0x7F7F7F;
    c->monochrome_ = true; // 127 is not above 127: the grey background becomes black
    auto* a = solidLine(*c, pen(*c, 0x64C8C8, 1.0)); // RGB(200, 200, 100): black
    a->fromX_ = 2; a->fromY_ = 8; a->toX_ = 20; a->toY_ = 8;
    auto* b = solidLine(*c, pen(*c, 0xC8C8C8, 1.0)); // RGB(200, 200, 200): white
    b->fromX_ = 2; b->fromY_ = 12; b->toX_ = 20; b->toY_ = 12;
    QImage image = render(*c);
    EXPECT_EQ(image.pixel(pixelOf(*c, 10, 8, image.height())) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(image.pixel(pixelOf(*c, 10, 12, image.height())) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(pixelOf(*c, 10, 4, image.height())) & 0xFFFFFF, 0x000000u);
}

TEST(Resources, HatchesRunInTheDirectionsTheirCaptionsName)
{
    // Along the hatch from a set pixel, the next pixel to the right is set
    // at the row above (rising to the right), below (rising to the left),
    // the same row (horizontal); vertical lines fill a column.
    const struct {
        int style;
        int dy; // device rows, down positive
        bool vertical;
    } cases[] = {{lgBrushR, -1, false}, {lgBrushL, 1, false}, {lgBrushHorizontal, 0, false}, {lgBrushVertical, 0, true}};
    for (const auto& k : cases) {
        Control c(200, 120);
        auto* b = add<LgBrush>(*c, cidBrushes);
        b->style_ = static_cast<int16_t>(k.style);
        b->foreColor_ = 0;
        QImage image = filledBox(*c, b);
        int set = 0, along = 0;
        for (int y = 50; y < 114; ++y)
            for (int x = 20; x < 116; ++x)
                if (on(image, x, y)) {
                    ++set;
                    along += k.vertical ? on(image, x, y + 1) : on(image, x + 1, y + k.dy);
                }
        EXPECT_EQ(set, 64 * 96 / 8) << "style " << k.style; // one line pixel in eight
        EXPECT_EQ(along, set) << "style " << k.style;
    }
}

TEST(Resources, CustomPatternCellsInForeAndBackColours)
{
    Control c(200, 120);
    auto* b = add<LgBrush>(*c, cidBrushes);
    b->style_ = lgBrushCustom;
    b->foreColor_ = 0x0000FF; // red
    b->backColor_ = 0xFFFF00; // cyan
    b->pattern_[8 * 3 + 5] = true; // cell x 3, y 5
    QImage image = filledBox(*c, b);
    // Cells count in device pixels from the surface corner, every 8 pixels.
    EXPECT_EQ(image.pixel(8 * 5 + 3, 8 * 10 + 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(8 * 6 + 3, 8 * 11 + 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(8 * 5 + 4, 8 * 10 + 5) & 0xFFFFFF, 0x00FFFFu);
    EXPECT_EQ(countColour(image, 0xFF0000, QRect(0, 48, 144, 72)), 18 * 9);
}

TEST(Resources, DataFacesMapToInstalledFacesAndSizesToPixels)
{
    installFontSubstitutions();
    EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8("ＭＳ 明朝"))).family(), "IPAMincho");
    EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8("ＭＳ ゴシック"))).family(), "IPAGothic");
    EXPECT_TRUE(QFontInfo(QFont("Century")).family().startsWith("C059"));
    Control c;
    LgFontHolder* f = font(*c, "Century", 3.0);
    DeviceUnits units; // 96 dpi
    DeviceFont d = makeDeviceFont(f, units);
    ASSERT_TRUE(d.draws);
    EXPECT_EQ(d.font.pixelSize(), 11); // 3 mm = 11.3 px
    f->enabled_ = false;
    EXPECT_FALSE(makeDeviceFont(f, units).draws);
}
