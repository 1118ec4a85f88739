#include "kinds/Resources.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

namespace {

int cell(const Args& a)
{
    int32_t x = argI4(a[0]);
    int32_t y = argI4(a[1]);
    if (x < 0 || x > 7 || y < 0 || y > 7)
        raiseError(lgErrBadArgument);
    return 8 * x + y;
}

template <auto M>
Member colourProp(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Property, VT_I4, false,
                  [](Dispatchable& d, Args&) {
                      auto& b = static_cast<LgBrush&>(d);
                      return Variant::fromI4(colourThroughMonochrome(b, b.*M));
                  },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& b = static_cast<LgBrush&>(d);
                      b.assign(b.*M, argI4(v));
                  }};
}

} // namespace

const MemberTable& LgBrush::members() const
{
    static const std::vector<Member> own{
        prop<&LgBrush::enabled_>("Enabled", dispid::brush::Enabled),
        prop<&LgBrush::style_>("Style", dispid::brush::Style),
        prop<&LgBrush::hatchStyle_>("HatchStyle", dispid::brush::HatchStyle),
        colourProp<&LgBrush::foreColor_>("ForeColor", dispid::brush::ForeColor),
        colourProp<&LgBrush::backColor_>("BackColor", dispid::brush::BackColor),
        {"SetDot", dispid::brush::SetDot, MemberKind::Method, VT_BOOL, false,
         [](Dispatchable& d, Args& a) {
             auto& b = static_cast<LgBrush&>(d);
             int i = cell(a);
             bool on = argBool(a[2]);
             bool previous = b.pattern_[static_cast<size_t>(i)];
             if (previous != on) {
                 b.pattern_[static_cast<size_t>(i)] = on;
                 b.changed();
             }
             return Variant::fromBool(previous);
         },
         nullptr, 3},
        {"GetDot", dispid::brush::GetDot, MemberKind::Method, VT_BOOL, false,
         [](Dispatchable& d, Args& a) {
             return Variant::fromBool(static_cast<LgBrush&>(d).pattern_[static_cast<size_t>(cell(a))]);
         },
         nullptr, 2},
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgBrush::exchange(RecordExchange& x)
{
    x.boolean("Enabled=", enabled_, true);
    x.i16("Style=", style_, lgBrushNull);
    x.i16("HatchStyle=", hatchStyle_, 0);
    x.i32("ForeColor=", foreColor_, -1);
    x.i32("BackColor=", backColor_, -1);
    std::string text;
    if (!x.loading())
        for (bool on : pattern_)
            text += on ? '1' : '0';
    x.text("Pattern=", text, "");
    if (x.loading())
        for (size_t i = 0; i < pattern_.size() && i < text.size(); ++i)
            pattern_[i] = text[i] == '1';
}

} // namespace lumigra
