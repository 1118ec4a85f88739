#include "kinds/Axes.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

using namespace platform::com;

const MemberTable& LgPolarTick::members() const
{
    using T = LgPolarTick;
    namespace id = dispid::polarTick;
    static const std::vector<Member> own{
        prop<&T::visible_>("Visible", id::Visible),
        prop<&T::labelFormat_>("LabelFormat", id::LabelFormat),
        refProp<&T::labelFont_, lgxFontHolder, cidFontHolders>("LabelFont", id::LabelFont),
        prop<&T::labelAngle_>("LabelAngle", id::LabelAngle),
        numericVariantProp<&T::markInterval_>("MarkInterval", id::MarkInterval),
        prop<&T::markIntervalSelection_>("MarkIntervalSelection", id::MarkIntervalSelection),
        prop<&T::markLength_>("MarkLength", id::MarkLength),
        prop<&T::markStyle_>("MarkStyle", id::MarkStyle),
        refProp<&T::gridLine_, lgxLine, cidLines>("GridLine", id::GridLine),
        refProp<&T::pen_, lgxPen, cidPens>("Pen", id::Pen),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgPolarTick::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.text("LabelFormat=", labelFormat_, "General Number");
    x.i16("LabelOrientation=", labelAngle_, 0);
    x.variant("MarkInterval=", markInterval_);
    x.i16("MarkIntervalSelection=", markIntervalSelection_, lgSelectionAutomatic);
    x.f64("MarkLength=", markLength_, 0);
    x.i16("MarkStyle=", markStyle_, lgTickMarkRight);
    x.ref("GridLine=", gridLine_, cidLines);
    x.ref("Pen=", pen_, cidPens);
    x.ref("Font=", labelFont_, cidFontHolders);
}

const MemberTable& LgPolarAxis::members() const
{
    using A = LgPolarAxis;
    namespace id = dispid::polarAxis;
    static const std::vector<Member> own{
        prop<&A::visible_>("Visible", id::Visible),
        prop<&A::type_>("Type", id::Type),
        prop<&A::orgX_>("OrgX", id::OrgX),
        prop<&A::orgY_>("OrgY", id::OrgY),
        prop<&A::radius_>("Radius", id::Radius),
        numericVariantProp<&A::minimum_>("Minimum", id::Minimum),
        numericVariantProp<&A::maximum_>("Maximum", id::Maximum),
        prop<&A::minimumSelection_>("MinimumSelection", id::MinimumSelection),
        prop<&A::maximumSelection_>("MaximumSelection", id::MaximumSelection),
        prop<&A::reverse_>("Reverse", id::Reverse),
        refProp<&A::pen_, lgxPen, cidPens>("Pen", id::Pen),
        {"Tick", id::Tick, MemberKind::Property, VT_DISPATCH, true,
         [](Dispatchable& d, Args&) {
             auto& a = static_cast<A&>(d);
             if (!a.tick_)
                 a.tick_.reset(platform::com::ComPtr<LgObject>::attach(LgPolarTick::create(a.owner())));
             return objectResult(a.tick_.get());
         },
         nullptr},
        prop<&A::startAngle_>("StartAngle", id::StartAngle),
        prop<&A::endAngle_>("EndAngle", id::EndAngle),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgPolarAxis::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.i16("Type=", type_, lgPolarAxisElliptic);
    x.f64("OrgX=", orgX_, 0);
    x.f64("OrgY=", orgY_, 0);
    x.f64("Radius=", radius_, 0);
    x.variant("Minimum=", minimum_);
    x.variant("Maximum=", maximum_);
    x.i16("MinimumSelection=", minimumSelection_, lgSelectionAutomatic);
    x.i16("MaximumSelection=", maximumSelection_, lgSelectionAutomatic);
    x.boolean("Reverse=", reverse_, false);
    x.f64("StartAngle=", startAngle_, 0);
    x.f64("EndAngle=", endAngle_, 360);
    x.ref("Pen=", pen_, cidPens);
    x.part("Tick=", tick_, &LgPolarTick::create);
}

const MemberTable& LgTriangularAxis::members() const
{
    using A = LgTriangularAxis;
    namespace id = dispid::triangularAxis;
    static const std::vector<Member> own{
        prop<&A::visible_>("Visible", id::Visible),
        prop<&A::orgX_>("OrgX", id::OrgX),
        prop<&A::orgY_>("OrgY", id::OrgY),
        prop<&A::length_>("Length", id::Length),
        prop<&A::minimum_>("Minimum", id::Minimum),
        prop<&A::maximum_>("Maximum", id::Maximum),
        prop<&A::markInterval_>("MarkInterval", id::MarkInterval),
        prop<&A::labelFormat_>("LabelFormat", id::LabelFormat),
        refProp<&A::pen_, lgxPen, cidPens>("Pen", id::Pen),
        refProp<&A::brush_, lgxBrush, cidBrushes>("Brush", id::Brush),
        refProp<&A::markPen1_, lgxPen, cidPens>("MarkPen1", id::MarkPen1),
        refProp<&A::markPen2_, lgxPen, cidPens>("MarkPen2", id::MarkPen2),
        refProp<&A::markLine1_, lgxLine, cidLines>("MarkLine1", id::MarkLine1),
        refProp<&A::markLine2_, lgxLine, cidLines>("MarkLine2", id::MarkLine2),
        refProp<&A::labelFont1_, lgxFontHolder, cidFontHolders>("LabelFont1", id::LabelFont1),
        refProp<&A::labelFont2_, lgxFontHolder, cidFontHolders>("LabelFont2", id::LabelFont2),
        prop<&A::markLength_>("MarkLength", id::MarkLength),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgTriangularAxis::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.f64("OrgX=", orgX_, 0);
    x.f64("OrgY=", orgY_, 0);
    x.f64("Length=", length_, 0);
    x.f64("Minimum=", minimum_, 0);
    x.f64("Maximum=", maximum_, 100);
    x.f64("MarkInterval=", markInterval_, 10);
    x.text("LabelFormat=", labelFormat_, "General Number");
    x.f64("MarkLength=", markLength_, 0);
    x.ref("Pen=", pen_, cidPens);
    x.ref("Brush=", brush_, cidBrushes);
    x.ref("MarkPen1=", markPen1_, cidPens);
    x.ref("MarkPen2=", markPen2_, cidPens);
    x.ref("MarkLine1=", markLine1_, cidLines);
    x.ref("MarkLine2=", markLine2_, cidLines);
    x.ref("LabelFont1=", labelFont1_, cidFontHolders);
    x.ref("LabelFont2=", labelFont2_, cidFontHolders);
}

} // namespace lumigra
