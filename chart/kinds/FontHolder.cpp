#include <cstring>

#include "kinds/StandardFont.h"
#include "kinds/Resources.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

Member fontDialogMember();

const MemberTable& LgFontHolder::members() const
{
    using F = LgFontHolder;
    namespace id = dispid::font;
    static const std::vector<Member> own{
        prop<&F::typeFace_>("TypeFace", id::TypeFace),
        prop<&F::bold_>("Bold", id::Bold),
        prop<&F::italic_>("Italic", id::Italic),
        prop<&F::strikeThrough_>("StrikeThrough", id::StrikeThrough),
        prop<&F::textColor_>("TextColor", id::TextColor),
        prop<&F::underline_>("Underline", id::Underline),
        prop<&F::size_>("Size", id::Size),
        prop<&F::enabled_>("Enabled", id::Enabled),
        prop<&F::bkColorEnabled_>("BkColorEnabled", id::BkColorEnabled),
        prop<&F::bkColor_>("BkColor", id::BkColor),
        fontObjectMember(),
        prop<&F::precision_>("Precision", id::Precision),
        prop<&F::quality_>("Quality", id::Quality),
        prop<&F::charSet_>("CharSet", id::CharSet),
        prop<&F::pitchAndFamily_>("PitchAndFamily", id::PitchAndFamily),
        fontDialogMember(),
        prop<&F::width_>("Width", id::Width),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgFontHolder::exchange(RecordExchange& x)
{
    x.text("TypeFace=", typeFace_, "ＭＳ Ｐ明朝");
    x.boolean("Bold=", bold_, false);
    x.boolean("Italic=", italic_, false);
    x.boolean("StrikeThrough=", strikeThrough_, false);
    x.i32("TextColor=", textColor_, 0);
    x.boolean("Underline=", underline_, false);
    x.f64("Size=", size_, 0);
    x.i32("lfEscapement=", escapement_, 0);
    x.i32("lfOrientation=", orientation_, 0);
    // The logical font's byte fields from the character set on: character
    // set, output precision, clip precision (0), quality; then the pitch
    // and family byte.
    uint8_t qualityBytes[4] = {static_cast<uint8_t>(charSet_), static_cast<uint8_t>(precision_), 0,
                               static_cast<uint8_t>(quality_)};
    uint8_t familyBytes[4] = {static_cast<uint8_t>(pitchAndFamily_), 0, 0, 0};
    const uint8_t zero[4] = {};
    x.raw("Quality=", qualityBytes, 4, zero);
    x.raw("Family=", familyBytes, 4, zero);
    if (x.loading()) {
        charSet_ = qualityBytes[0];
        precision_ = qualityBytes[1];
        quality_ = qualityBytes[3];
        pitchAndFamily_ = familyBytes[0];
    }
    x.boolean("Enabled=", enabled_, true);
    x.boolean("UseBkColor=", bkColorEnabled_, false);
    x.i32("BkColor=", bkColor_, 0);
    x.f64("Width=", width_, 0);
}

} // namespace lumigra
