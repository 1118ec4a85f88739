// The font holder's Font: a standard font object in points, read as a copy
// and written back member by member.
#include "StorageHost.h"

using namespace charttest;

namespace {

namespace c = dsp::control;
namespace f = dsp::font;
namespace sf {
inline constexpr DispId Name = 0, Size = 2, Bold = 3, Italic = 4, Underline = 5, Strikethrough = 6, Weight = 7,
    Charset = 8;
}

} // namespace

TEST(ChartStandardFont, ReadsTheHolderInPointsAsAnIndependentCopy)
{
    Obj control = newControl();
    Obj holder = CallObj(GetObj(control, c::FontHolders), dsp::collection::Add, {I4(1)});
    Obj font = GetObj(holder, f::Font);
    EXPECT_EQ(Get(font, sf::Name).str(), "ＭＳ 明朝");
    Variant size = Get(font, sf::Size);
    EXPECT_EQ(size.vt(), VT_CY);
    EXPECT_EQ(size.currency(), 85039); // 3 mm = 8.50393... pt
    EXPECT_FALSE(Get(font, sf::Bold).boolean());
    EXPECT_EQ(Get(font, sf::Weight).i2(), 400);
    EXPECT_EQ(Get(font, sf::Charset).i2(), 1);

    Put(holder, f::Bold, Bool(true));
    Put(holder, f::CharSet, I2(128));
    Obj later = GetObj(holder, f::Font);
    EXPECT_TRUE(Get(later, sf::Bold).boolean());
    EXPECT_EQ(Get(later, sf::Weight).i2(), 700);
    EXPECT_EQ(Get(later, sf::Charset).i2(), 128);
    EXPECT_FALSE(Get(font, sf::Bold).boolean());
}

TEST(ChartStandardFont, WritingAFontSetsTheHolderAndAnUnchangedOneChangesNothing)
{
    Obj control = newControl();
    Obj holder = CallObj(GetObj(control, c::FontHolders), dsp::collection::Add, {I4(1)});
    Obj font = GetObj(holder, f::Font);
    host(control)->setModified(false);
    Put(holder, f::Font, O(font));
    EXPECT_FALSE(host(control)->isModified());
    EXPECT_EQ(Get(holder, f::Size).r8(), 3.0);

    Put(font, sf::Name, Str("Century"));
    Put(font, sf::Size, R8(12));
    Put(font, sf::Weight, I2(700));
    Put(font, sf::Italic, Bool(true));
    Put(font, sf::Strikethrough, Bool(true));
    EXPECT_TRUE(Get(font, sf::Bold).boolean());
    Put(holder, f::Font, O(font));
    EXPECT_TRUE(host(control)->isModified());
    EXPECT_EQ(Get(holder, f::TypeFace).str(), "Century");
    EXPECT_DOUBLE_EQ(Get(holder, f::Size).r8(), 12 * 25.4 / 72);
    EXPECT_TRUE(Get(holder, f::Bold).boolean());
    EXPECT_TRUE(Get(holder, f::Italic).boolean());
    EXPECT_TRUE(Get(holder, f::StrikeThrough).boolean());
    EXPECT_FALSE(Get(holder, f::Underline).boolean());
}

TEST(ChartStandardFont, SomethingElseThanAFontRaises1003AndKeepsTheHolder)
{
    Obj control = newControl();
    Obj holder = CallObj(GetObj(control, c::FontHolders), dsp::collection::Add, {I4(1)});
    Obj pen = CallObj(GetObj(control, c::Pens), dsp::collection::Add, {I4(1)});
    for (Variant wrong : {O(pen), Str("Century"), Variant()}) {
        Raised r = invokeRaw(holder, f::Font, DISPATCH_PROPERTYPUT, {wrong});
        EXPECT_EQ(r.status, DISP_E_EXCEPTION);
        EXPECT_EQ(r.info.wCode, 1003);
    }
    Obj font = GetObj(holder, f::Font);
    Raised r = invokeRaw(font, sf::Size, DISPATCH_PROPERTYPUT, {R8(-2)});
    EXPECT_EQ(r.info.wCode, 1003);
    EXPECT_EQ(Get(holder, f::TypeFace).str(), "ＭＳ 明朝");
}
