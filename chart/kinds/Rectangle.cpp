#include "kinds/Shapes.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

const MemberTable& LgRectangle::members() const
{
    using R = LgRectangle;
    namespace id = dispid::rectangle;
    static const std::vector<Member> own{
        prop<&R::width_>("Width", id::Width),
        prop<&R::height_>("Height", id::Height),
        prop<&R::orgX_>("OrgX", id::OrgX),
        prop<&R::orgY_>("OrgY", id::OrgY),
        refProp<&R::pen_, lgxPen, cidPens>("Pen", id::Pen),
        refProp<&R::brush_, lgxBrush, cidBrushes>("Brush", id::Brush),
        refProp<&R::picture_, lgxPictureHolder, cidPictureHolders>("PictureHolder", id::PictureHolder),
        prop<&R::paintTool_>("PaintTool", id::PaintTool),
        prop<&R::visible_>("Visible", id::Visible),
        refProp<&R::shadowBrush_, lgxBrush, cidBrushes>("ShadowBrush", id::ShadowBrush),
        prop<&R::shadowShiftX_>("ShadowShiftX", id::ShadowShiftX),
        prop<&R::shadowShiftY_>("ShadowShiftY", id::ShadowShiftY),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgRectangle::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.f64("Width=", width_, 0);
    x.f64("Height=", height_, 0);
    x.f64("OrgX=", orgX_, 0);
    x.f64("OrgY=", orgY_, 0);
    x.f64("ShadowShiftX=", shadowShiftX_, 0);
    x.f64("ShadowShiftY=", shadowShiftY_, 0);
    x.i16("PaintTool=", paintTool_, 0);
    x.ref("Pen=", pen_, cidPens);
    x.ref("Brush=", brush_, cidBrushes);
    x.ref("Shadow=", shadowBrush_, cidBrushes);
    x.ref("Picture=", picture_, cidPictureHolders);
}

} // namespace lumigra
