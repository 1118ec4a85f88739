// The font object's Dialog: the font chooser seeded from the font, the
// choice written back on OK, nothing on Cancel.
#include <QFontDialog>
#include <QFontInfo>

#include "SheetScript.h"

namespace sheettest {
namespace {

namespace c = dsp::control;
namespace font = dsp::font;

TEST(FontDialog, WritesBackTheChosenFaceSizeAndStyle)
{
    Obj control = controlByClsid();
    Obj f = CallObj(GetObj(control, c::FontHolders), dsp::collection::Add, {Str("Title")});
    Put(f, font::Size, R8(25.4 / 72 * 10)); // 10 points
    Put(f, font::Italic, Bool(true));
    Put(f, font::TypeFace, Str("IPAMincho"));
    QFont seeded;
    onModal<QFontDialog>([&](QFontDialog* d) {
        seeded = d->currentFont();
        QFont chosen("Nimbus Sans");
        chosen.setPointSizeF(14);
        chosen.setBold(true);
        chosen.setUnderline(true);
        d->setCurrentFont(chosen);
        d->accept();
    });
    EXPECT_TRUE(Call(f, font::Dialog).boolean());
    EXPECT_DOUBLE_EQ(seeded.pointSizeF(), 10.0);
    EXPECT_EQ(seeded.family(), "IPAMincho");
    EXPECT_FALSE(seeded.bold());
    EXPECT_EQ(Get(f, font::TypeFace).str(), "Nimbus Sans");
    EXPECT_NEAR(Get(f, font::Size).r8(), 14 * 25.4 / 72, 1e-9);
    EXPECT_TRUE(Get(f, font::Bold).boolean());
    EXPECT_TRUE(Get(f, font::Underline).boolean());
    EXPECT_FALSE(Get(f, font::Italic).boolean());
    EXPECT_FALSE(Get(f, font::StrikeThrough).boolean());
}

TEST(FontDialog, AFaceLeftAloneKeepsItsStoredNameAndCancelChangesNothing)
{
    Obj control = controlByClsid();
    Obj f = CallObj(GetObj(control, c::FontHolders), dsp::collection::Add, {Str("Body")});
    const std::string before = textOf(control);
    onModal<QFontDialog>([](QFontDialog* d) { d->reject(); });
    EXPECT_FALSE(Call(f, font::Dialog).boolean());
    EXPECT_EQ(textOf(control), before);

    // OK without touching anything: the stored face and size stay as they were.
    onModal<QFontDialog>([](QFontDialog* d) { d->accept(); });
    EXPECT_TRUE(Call(f, font::Dialog).boolean());
    EXPECT_EQ(Get(f, font::TypeFace).str(), "ＭＳ 明朝");
    EXPECT_EQ(textOf(control), before);

    Raised bad = invokeRaw(f, font::Dialog, DISPATCH_METHOD, {I4(0x7ffffff0)});
    EXPECT_EQ(bad.info.wCode, 1009);
}

} // namespace
} // namespace sheettest
