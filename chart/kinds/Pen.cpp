#include "model/ChartOwner.h"
#include "kinds/Resources.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

int32_t colourThroughMonochrome(const LgObject& o, int32_t colour)
{
    if (!o.owner() || !o.owner()->monochrome())
        return colour;
    auto c = static_cast<uint32_t>(colour);
    bool white = (c & 0xFF) > 127 && ((c >> 8) & 0xFF) > 127 && ((c >> 16) & 0xFF) > 127;
    return white ? 0xFFFFFF : 0;
}

namespace {

bool isPenStyle(int16_t s) { return s == lgPenNull || (s >= lgPenNormal && s <= lgPenXor); }

} // namespace

const MemberTable& LgPen::members() const
{
    static const std::vector<Member> own{
        prop<&LgPen::width_>("Width", dispid::pen::Width),
        {"Color", dispid::pen::Color, MemberKind::Property, VT_I4, false,
         [](Dispatchable& d, Args&) {
             auto& p = static_cast<LgPen&>(d);
             return Variant::fromI4(colourThroughMonochrome(p, p.color_));
         },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& p = static_cast<LgPen&>(d);
             p.assign(p.color_, argI4(v));
         }},
        prop<&LgPen::enabled_>("Enabled", dispid::pen::Enabled),
        prop<&LgPen::style_, &isPenStyle>("Style", dispid::pen::Style),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgPen::exchange(RecordExchange& x)
{
    x.i16("Style=", style_, lgPenNormal);
    x.f64("Width=", width_, 0);
    x.i32("Color=", color_, 0);
    x.boolean("Enabled=", enabled_, true);
}

} // namespace lumigra
