#include "kinds/Strokes.h"

#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

const MemberTable& LgLine::members() const
{
    using L = LgLine;
    namespace id = dispid::line;
    static const std::vector<Member> own{
        refProp<&L::pen1_, lgxPen, cidPens>("Pen1", id::Pen1),
        prop<&L::length1_>("Length1", id::Length1),
        prop<&L::space1_>("Space1", id::Space1),
        refProp<&L::pen2_, lgxPen, cidPens>("Pen2", id::Pen2),
        prop<&L::length2_>("Length2", id::Length2),
        prop<&L::space2_>("Space2", id::Space2),
        refProp<&L::pen3_, lgxPen, cidPens>("Pen3", id::Pen3),
        prop<&L::length3_>("Length3", id::Length3),
        prop<&L::space3_>("Space3", id::Space3),
        refProp<&L::pen4_, lgxPen, cidPens>("Pen4", id::Pen4),
        prop<&L::length4_>("Length4", id::Length4),
        prop<&L::space4_>("Space4", id::Space4),
        prop<&L::lastLength_>("LastLength", id::LastLength),
        prop<&L::visible_>("Visible", id::Visible),
        prop<&L::fromX_>("FromX", id::FromX),
        prop<&L::fromY_>("FromY", id::FromY),
        prop<&L::toX_>("ToX", id::ToX),
        prop<&L::toY_>("ToY", id::ToY),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgLine::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.f64("LastLength=", lastLength_, 0);
    x.ref("Pen1=", pen1_, cidPens);
    x.ref("Pen2=", pen2_, cidPens);
    x.ref("Pen3=", pen3_, cidPens);
    x.ref("Pen4=", pen4_, cidPens);
    x.f64("Length1=", length1_, 0);
    x.f64("Space1=", space1_, 0);
    x.f64("Length2=", length2_, 0);
    x.f64("Space2=", space2_, 0);
    x.f64("Length3=", length3_, 0);
    x.f64("Space3=", space3_, 0);
    x.f64("Length4=", length4_, 0);
    x.f64("Space4=", space4_, 0);
    x.f64("FromX=", fromX_, 0);
    x.f64("FromY=", fromY_, 0);
    x.f64("ToX=", toX_, 0);
    x.f64("ToY=", toY_, 0);
}

const MemberTable& LgSymbol::members() const
{
    using S = LgSymbol;
    namespace id = dispid::symbol;
    static const std::vector<Member> own{
        prop<&S::centerX_>("CenterX", id::CenterX),
        prop<&S::centerY_>("CenterY", id::CenterY),
        prop<&S::width_>("Width", id::Width),
        prop<&S::height_>("Height", id::Height),
        refProp<&S::pen_, lgxPen, cidPens>("Pen", id::Pen),
        refProp<&S::brush_, lgxBrush, cidBrushes>("Brush", id::Brush),
        refProp<&S::picture_, lgxPictureHolder, cidPictureHolders>("PictureHolder", id::PictureHolder),
        prop<&S::style_>("Style", id::Style),
        prop<&S::visible_>("Visible", id::Visible),
        prop<&S::angle_>("Angle", id::Angle),
        prop<&S::customString_>("CustomString", id::CustomString),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgSymbol::exchange(RecordExchange& x)
{
    x.i16("Style=", style_, 0);
    x.f64("CenterX=", centerX_, 0);
    x.f64("CenterY=", centerY_, 0);
    x.f64("Width=", width_, 0);
    x.f64("Height=", height_, 0);
    x.boolean("Visible=", visible_, true);
    x.i32("Angle=", angle_, 0);
    x.text("CustomString=", customString_, "");
    x.ref("Pen=", pen_, cidPens);
    x.ref("Brush=", brush_, cidBrushes);
    x.ref("Picture=", picture_, cidPictureHolders);
}

const MemberTable& LgSymbolLine::members() const
{
    using S = LgSymbolLine;
    namespace id = dispid::symbolLine;
    static const std::vector<Member> own{
        refProp<&S::startSymbol_, lgxSymbol, cidSymbols>("StartSymbol", id::StartSymbol),
        refProp<&S::endSymbol_, lgxSymbol, cidSymbols>("EndSymbol", id::EndSymbol),
        prop<&S::visible_>("Visible", id::Visible),
        refProp<&S::line_, lgxLine, cidLines>("Line", id::Line),
        prop<&S::drawOrder_>("DrawOrder", id::DrawOrder),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgSymbolLine::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.ref("Line=", line_, cidLines);
    x.ref("StartSymbol=", startSymbol_, cidSymbols);
    x.ref("EndSymbol=", endSymbol_, cidSymbols);
    x.i16("DrawOrder=", drawOrder_, lgLineLast);
}

} // namespace lumigra
