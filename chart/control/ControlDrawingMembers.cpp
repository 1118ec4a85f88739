#include "control/ControlDrawingMembers.h"

#include "control/ContainerTransform.h"
#include "control/ControlWindow.h"
#include "control/LumigraCtrl.h"
#include "picture/ChartPicture.h"
#include "picture/PictureObject.h"

namespace lumigra {

using namespace platform::com;

namespace {

using L = LumigraCtrl;

// Type, dx, dy, Exact of CreatePicture and CopyToClipboard.
struct PictureRequest {
    int type;
    double dx, dy;
    bool exact;
};

PictureRequest pictureRequest(const Args& a)
{
    return {argI2(a[0].deref()), argDouble(a[1].deref()), argDouble(a[2].deref()), argBool(a[3].deref())};
}

// A by-reference argument takes the value; one passed by value is left alone.
void store(const Variant& argument, double value)
{
    if (Variant* target = argument.refTarget(); target && argument.vt() == (VT_BYREF | VT_VARIANT))
        *target = Variant::fromR8(value);
}

} // namespace

const std::vector<Member>& controlDrawingMembers()
{
    namespace id = dispid::control;
    static const std::vector<Member> members{
        {"CreatePicture", id::CreatePicture, MemberKind::Method, VT_DISPATCH, false,
         [](Dispatchable& d, Args& a) {
             auto& c = static_cast<L&>(d);
             const PictureRequest r = pictureRequest(a);
             auto picture = createPicture(c, r.type, r.dx, r.dy, r.exact, containerTransformHook(c));
             if (!picture)
                 return Variant::fromDispatch(nullptr); // Nothing
             return Variant::fromDispatch(newPictureObject(std::move(*picture)).get());
         },
         nullptr, 4},
        {"CopyToClipboard", id::CopyToClipboard, MemberKind::Method, VT_BOOL, false,
         [](Dispatchable& d, Args& a) {
             auto& c = static_cast<L&>(d);
             const PictureRequest r = pictureRequest(a);
             return Variant::fromBool(copyToClipboard(c, r.type, r.dx, r.dy, r.exact, containerTransformHook(c)));
         },
         nullptr, 4},
        {"GetMousePos", id::GetMousePos, MemberKind::Method, VT_I4, false,
         [](Dispatchable& d, Args& a) {
             double x = 0, y = 0;
             if (!lastMousePosition(static_cast<L&>(d), x, y))
                 return Variant::fromI4(0);
             store(a[0], x);
             store(a[1], y);
             return Variant::fromI4(1);
         },
         nullptr, 2},
        {"Refresh", id::Refresh, MemberKind::Method, VT_EMPTY, false,
         [](Dispatchable& d, Args&) {
             refreshWindow(static_cast<L&>(d));
             return Variant();
         },
         nullptr},
    };
    return members;
}

} // namespace lumigra
