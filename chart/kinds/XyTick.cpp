#include "kinds/Axes.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

using namespace platform::com;

namespace {

const char* defaultFormat(int16_t axisType)
{
    return axisType == lgXyAxisDateTime ? "General Date" : "General Number";
}

} // namespace

std::string LgXyTick::labelFormat() const
{
    return labelFormat_.empty() ? std::string(defaultFormat(axisType_)) : labelFormat_;
}

void LgXyTick::setAxisType(int16_t type, bool normalise)
{
    for (LgXyTick* t = this; t; t = t->subTick_.as<LgXyTick>()) {
        t->axisType_ = type;
        if (normalise && t->labelFormat_ == defaultFormat(type))
            t->labelFormat_.clear();
    }
}

const MemberTable& LgXyTick::members() const
{
    using T = LgXyTick;
    namespace id = dispid::xyTick;
    static const std::vector<Member> own{
        prop<&T::visible_>("Visible", id::Visible),
        {"LabelFormat", id::LabelFormat, MemberKind::Property, VT_BSTR, false,
         [](Dispatchable& d, Args&) { return Variant::fromString(static_cast<T&>(d).labelFormat()); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& t = static_cast<T&>(d);
             std::string format = argText(v);
             if (format != t.labelFormat()) {
                 t.labelFormat_ = format;
                 t.changed();
             }
         }},
        refProp<&T::labelFont_, lgxFontHolder, cidFontHolders>("LabelFont", id::LabelFont),
        prop<&T::labelAngle_>("LabelAngle", id::LabelAngle),
        numericVariantProp<&T::markInterval_>("MarkInterval", id::MarkInterval),
        prop<&T::markIntervalSelection_>("MarkIntervalSelection", id::MarkIntervalSelection),
        prop<&T::markLength_>("MarkLength", id::MarkLength),
        prop<&T::markStyle_>("MarkStyle", id::MarkStyle),
        refProp<&T::gridLine_, lgxLine, cidLines>("GridLine", id::GridLine),
        refProp<&T::pen_, lgxPen, cidPens>("Pen", id::Pen),
        prop<&T::level_>("Level", id::Level),
        {"SubTick", id::SubTick, MemberKind::Property, VT_DISPATCH, false,
         [](Dispatchable& d, Args&) { return objectResult(static_cast<T&>(d).subTick_.get()); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& t = static_cast<T&>(d);
             // A chain of subticks that came back to this tick would never end.
             for (LgObject* o = objectArgument(v); o && o->objectId() == lgxXyTick;
                  o = static_cast<T*>(o)->subTick_.get())
                 if (o == &t)
                     raiseError(lgErrBadArgument);
             setReference(t, t.subTick_, v, lgxXyTick);
             if (t.subTick_)
                 t.subTick_.as<T>()->setAxisType(t.axisType_);
         }},
        prop<&T::labelLocation_>("LabelLocation", id::LabelLocation),
        prop<&T::markUniformScale_>("MarkUniformScale", id::MarkUniformScale),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgXyTick::exchange(RecordExchange& x)
{
    x.i16("Level=", level_, 0);
    x.boolean("Visible=", visible_, true);
    std::string format = labelFormat();
    x.text("LabelFormat=", format, "");
    if (x.loading())
        labelFormat_ = format;
    x.i16("LabelOrientation=", labelAngle_, 0);
    x.i16("LabelLocation=", labelLocation_, 0);
    x.variant("MarkInterval=", markInterval_);
    x.i16("MarkIntervalSelection=", markIntervalSelection_, lgSelectionAutomatic);
    x.f64("MarkLength=", markLength_, 0);
    x.i16("MarkStyle=", markStyle_, lgTickMarkRight);
    x.boolean("MarkEqualInterval=", markUniformScale_, true);
    x.ref("GridLine=", gridLine_, cidLines);
    x.ref("Pen=", pen_, cidPens);
    x.ref("Font=", labelFont_, cidFontHolders);
    x.part("SubTick=", subTick_, &LgXyTick::create);
}

} // namespace lumigra
