// The dispatch interface _DLumigra: properties with their validation rules
// and the methods of the control that need no window.
#include "control/ControlDialogMembers.h"
#include "control/ControlDrawingMembers.h"
#include "control/ControlStorageMembers.h"
#include "control/LumigraCtrl.h"
#include "kinds/Math.h"
#include "kinds/Resources.h"
#include "model/Builders.h"
#include "model/Collection.h"
#include "module/Module.h"

namespace lumigra {

using namespace platform::com;

namespace {

using L = LumigraCtrl;
namespace id = dispid::control;

bool backModeValid(int16_t v) { return v >= 0 && v <= 3; }
bool maxLoopValid(int32_t v) { return v >= kMinimumMaxLoop; }
bool dragModeValid(int16_t v) { return v == 0 || v == 1; }
bool dropModeValid(int16_t v) { return v >= 0 && v <= 2; }

template <int Collection>
Member collectionProp(const char* name, DispId dispid)
{
    return Member{name, dispid, MemberKind::Property, VT_DISPATCH, true,
                  [](Dispatchable& d, Args&) {
                      return Variant::fromDispatch(static_cast<L&>(d).collection(Collection));
                  },
                  nullptr};
}

Variant displayName(Dispatchable& d, Args&) { return Variant::fromString(static_cast<L&>(d).displayName_); }

} // namespace

const MemberTable& LumigraCtrl::members() const
{
    static const std::vector<Member> own{
        {"_Name", id::_Name, MemberKind::Property, VT_BSTR, true, &displayName, nullptr},
        {"Name", id::Name, MemberKind::Property, VT_BSTR, true, &displayName, nullptr},
        readOnlyProp<&L::lowerBound_>("LowerBound", id::LowerBound),
        {"MaxElements", id::MaxElements, MemberKind::Property, VT_I4, false,
         [](Dispatchable& d, Args&) { return Variant::fromI4(static_cast<L&>(d).maxElements_); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& c = static_cast<L&>(d);
             int32_t n = argI4(v);
             if (n < 0)
                 raiseError(lgErrBadArgument);
             if (n == c.maxElements_)
                 return;
             c.maxElements_ = n;
             c.initialise();
             c.notifyChange();
         }},
        collectionProp<cidXyAxes>("XyAxes", id::XyAxes),
        {"ControlPtr", id::ControlPtr, MemberKind::Property, VT_I4, true,
         [](Dispatchable& d, Args&) { return Variant::fromI4(static_cast<L&>(d).controlId()); }, nullptr},
        {"BackPicture", id::BackPicture, MemberKind::Property, VT_DISPATCH, false,
         [](Dispatchable& d, Args&) { return objectResult(static_cast<L&>(d).backPicture_.get()); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& c = static_cast<L&>(d);
             LgObject* source = objectArgument(v);
             auto* back = static_cast<LgPictureHolder*>(c.backPicture_.get());
             if (!source) {
                 back->image_.clear();
                 back->fileName_.clear();
             } else {
                 if (source->owner() != &c)
                     raiseError(lgErrOtherControl);
                 if (source->objectId() != lgxPictureHolder)
                     raiseError(lgErrUnknownObject);
                 if (source != back)
                     source->copySettings(*back);
             }
             c.notifyChange();
         }},
        collectionProp<cidPictureHolders>("PictureHolders", id::PictureHolders),
        collectionProp<cidPens>("Pens", id::Pens),
        collectionProp<cidBrushes>("Brushes", id::Brushes),
        collectionProp<cidSymbols>("Symbols", id::Symbols),
        collectionProp<cidRectangles>("Rectangles", id::Rectangles),
        collectionProp<cidLines>("Lines", id::Lines),
        collectionProp<cidLabels>("Labels", id::Labels),
        collectionProp<cidFontHolders>("FontHolders", id::FontHolders),
        collectionProp<cidDataCollection>("DataCollection", id::DataCollection),
        collectionProp<cidXyCharts>("XyCharts", id::XyCharts),
        collectionProp<cidLegends>("Legends", id::Legends),
        prop<&L::scaleFactor_>("ScaleFactor", id::ScaleFactor),
        prop<&L::exactScale_>("ExactScale", id::ExactScale),
        {"ScaleHeight", id::ScaleHeight, MemberKind::Property, VT_R8, false,
         [](Dispatchable& d, Args&) { return Variant::fromR8(static_cast<L&>(d).scaleHeight()); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& c = static_cast<L&>(d);
             double value = argDouble(v);
             if (value != c.scaleHeightStored_ && c.scaleHeightStored_ > 0) {
                 c.scaleHeightStored_ = value;
                 c.notifyChange();
             }
         }},
        {"ScaleWidth", id::ScaleWidth, MemberKind::Property, VT_R8, false,
         [](Dispatchable& d, Args&) { return Variant::fromR8(static_cast<L&>(d).scaleWidth()); },
         [](Dispatchable&, Args&, const Variant& v) { argDouble(v); }},
        collectionProp<cidSymbolLines>("SymbolLines", id::SymbolLines),
        collectionProp<cidTriangularCharts>("TriangularCharts", id::TriangularCharts),
        prop<&L::propertySheetEnabled_>("PropertySheetEnabled", id::PropertySheetEnabled),
        prop<&L::monochrome_>("Monochrome", id::Monochrome),
        prop<&L::orgX_>("OrgX", id::OrgX),
        prop<&L::orgY_>("OrgY", id::OrgY),
        collectionProp<cidPolarCharts>("PolarCharts", id::PolarCharts),
        collectionProp<cidTriangularAxes>("TriangularAxes", id::TriangularAxes),
        collectionProp<cidPolarAxes>("PolarAxes", id::PolarAxes),
        prop<&L::backColor_>("BackColor", id::BackColor),
        prop<&L::backMode_, &backModeValid>("BackMode", id::BackMode),
        prop<&L::autoRedraw_>("AutoRedraw", id::AutoRedraw),
        prop<&L::toolHint_>("ToolHint", id::ToolHint),
        {"LoadMode", id::LoadMode, MemberKind::Property, VT_I2, false,
         [](Dispatchable& d, Args&) { return Variant::fromI2(static_cast<L&>(d).loadMode()); },
         [](Dispatchable& d, Args&, const Variant& v) { static_cast<L&>(d).setLoadMode(argI2(v)); }},
        {"GetVersion", id::GetVersion, MemberKind::Method, VT_I2, false,
         [](Dispatchable&, Args&) { return Variant::fromI2(ComponentVersion); }, nullptr},
        {"GetMathObject", id::GetMathObject, MemberKind::Method, VT_DISPATCH, false,
         [](Dispatchable&, Args&) { return Variant::fromDispatch(mathObject()); }, nullptr},
        {"Copy", id::Copy, MemberKind::Method, VT_BOOL, false,
         [](Dispatchable& d, Args& a) {
             auto& c = static_cast<L&>(d);
             const Variant& v = a[0].deref();
             if (v.vt() != VT_DISPATCH || !v.dispatch())
                 return Variant::fromBool(false);
             // The target is found by its ControlPtr among this module's live controls.
             Args none;
             Variant id;
             ExcepInfo e;
             if (failed(v.dispatch()->Invoke(dispid::control::ControlPtr, DISPATCH_PROPERTYGET, none, &id, &e)))
                 return Variant::fromBool(false);
             auto* target = static_cast<LumigraCtrl*>(findControl(id.toI4().value_or(0)));
             return Variant::fromBool(target && c.copyInto(*target));
         },
         nullptr, 1},
        {"SwapPaintOrder", id::SwapPaintOrder, MemberKind::Method, VT_BOOL, false,
         [](Dispatchable& d, Args& a) {
             auto& c = static_cast<L&>(d);
             LgObject* first = objectArgument(a[0]);
             LgObject* second = objectArgument(a[1]);
             return Variant::fromBool(c.swapPaintOrder(first, second));
         },
         nullptr, 2},
        prop<&L::maxLoop_, &maxLoopValid>("MaxLoop", id::MaxLoop),
        prop<&L::oleDragMode_, &dragModeValid>("OLEDragMode", id::OLEDragMode),
        prop<&L::oleDropMode_, &dropModeValid>("OLEDropMode", id::OLEDropMode),
        {"Path", id::Path, MemberKind::Method, VT_BSTR, false,
         [](Dispatchable&, Args&) { return Variant::fromString(moduleDirectory()); }, nullptr},
        collectionProp<cidPolygons>("Polygons", id::Polygons),
        collectionProp<cidPolylines>("Polylines", id::Polylines),
        prop<&L::mouseAction_>("MouseAction", id::MouseAction),
        prop<&L::keyboardAction_>("KeyboardAction", id::KeyboardAction),
    };
    static const std::vector<Member> storage = controlStorageMembers();
    static const std::vector<Member> dialog{controlDialogMember()};
    static const MemberTable table{&own, &controlDrawingMembers(), &storage, &dialog};
    return table;
}

} // namespace lumigra
