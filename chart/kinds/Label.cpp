#include <cstdio>

#include "kinds/Text.h"
#include "kinds/DrawingQueries.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

namespace {

template <int I>
Member fontProp(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Property, VT_DISPATCH, false,
                  [](Dispatchable& d, Args&) {
                      auto& l = static_cast<LgLabel&>(d);
                      if (!l.fonts_[I])
                          createOnDemand(l, l.fonts_[I], cidFontHolders);
                      return objectResult(l.fonts_[I].get());
                  },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& l = static_cast<LgLabel&>(d);
                      setReference(l, l.fonts_[I], v, lgxFontHolder);
                  },
                  0, 0, lgxFontHolder, [](Dispatchable& d) { return static_cast<LgLabel&>(d).fonts_[I].get(); }};
}

template <class T, std::array<T, 5> LgLabel::*A, int I>
Member runProp(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Property, FieldType<T>::vt, false,
                  [](Dispatchable& d, Args&) { return FieldType<T>::to((static_cast<LgLabel&>(d).*A)[I]); },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& l = static_cast<LgLabel&>(d);
                      l.assign((l.*A)[I], FieldType<T>::from(v));
                  }};
}

template <int I>
void runMembers(std::vector<Member>& m)
{
    namespace id = dispid::label;
    static const char* fonts[] = {"Font1", "Font2", "Font3", "Font4", "Font5"};
    static const char* strings[] = {"String1", "String2", "String3", "String4", "String5"};
    static const char* aligns[] = {"AlignY1", "AlignY2", "AlignY3", "AlignY4", "AlignY5"};
    static const char* leading[] = {"LeadingSpace1", "LeadingSpace2", "LeadingSpace3", "LeadingSpace4",
                                    "LeadingSpace5"};
    static const char* trailing[] = {"TrailingSpace1", "TrailingSpace2", "TrailingSpace3", "TrailingSpace4",
                                     "TrailingSpace5"};
    static const char* shifts[] = {"HeightShift1", "HeightShift2", "HeightShift3", "HeightShift4", "HeightShift5"};
    m.push_back(fontProp<I>(fonts[I], id::Font1 + 4 * I));
    m.push_back(runProp<std::string, &LgLabel::strings_, I>(strings[I], id::String1 + 4 * I));
    m.push_back(runProp<int16_t, &LgLabel::alignY_, I>(aligns[I], id::AlignY1 + 2 * I));
    m.push_back(runProp<int16_t, &LgLabel::leadingSpace_, I>(leading[I], id::LeadingSpace1 + 2 * I));
    m.push_back(runProp<int16_t, &LgLabel::trailingSpace_, I>(trailing[I], id::TrailingSpace1 + 2 * I));
    m.push_back(runProp<double, &LgLabel::heightShift_, I>(shifts[I], id::HeightShift1 + 2 * I));
}

std::vector<Member> labelMembers()
{
    using L = LgLabel;
    namespace id = dispid::label;
    std::vector<Member> m{
        prop<&L::visible_>("Visible", id::Visible),
        prop<&L::angle_>("Angle", id::Angle),
        prop<&L::orgX_>("OrgX", id::OrgX),
        prop<&L::orgY_>("OrgY", id::OrgY),
        prop<&L::alignX_>("AlignX", id::AlignX),
    };
    runMembers<0>(m);
    runMembers<1>(m);
    runMembers<2>(m);
    runMembers<3>(m);
    runMembers<4>(m);
    return m;
}

std::string numbered(const char* key, int i)
{
    char text[32];
    std::snprintf(text, sizeof text, "%s%d=", key, i + 1);
    return text;
}

} // namespace

const MemberTable& LgLabel::members() const
{
    static const std::vector<Member> own = labelMembers();
    static const MemberTable table{&commonMembers(), &own, &labelDrawingMembers()};
    return table;
}

void LgLabel::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.i32("Angle=", angle_, 0);
    x.f64("OrgX=", orgX_, 0);
    x.f64("OrgY=", orgY_, 0);
    x.i16("Align=", alignX_, lgFontAlignLeft);
    for (int i = 0; i < 5; ++i)
        x.text(numbered("String", i), strings_[i], "");
    for (int i = 0; i < 5; ++i)
        x.i16(numbered("Align", i), alignY_[i], lgFontAlignTop);
    for (int i = 0; i < 5; ++i)
        x.ref(numbered("Font", i), fonts_[i], cidFontHolders);
    for (int i = 0; i < 5; ++i)
        x.i16(numbered("LeadingSpace", i), leadingSpace_[i], 0);
    for (int i = 0; i < 5; ++i)
        x.i16(numbered("TrailingSpace", i), trailingSpace_[i], 0);
    for (int i = 0; i < 5; ++i)
        x.f64(numbered("VShift", i), heightShift_[i], 0);
}

} // namespace lumigra
