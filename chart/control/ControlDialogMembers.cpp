#include "control/ControlDialogMembers.h"

#include <QWidget>

#include "control/ControlWindow.h"
#include "control/LumigraCtrl.h"
#include "control/PropertySheetLink.h"
#include "model/Builders.h"

namespace lumigra {

Member controlDialogMember()
{
    // ParentWnd owns the sheet; without one the control's window does.
    return {"Dialog", dispid::control::Dialog, MemberKind::Method, VT_BOOL, false,
            [](Dispatchable& d, Args& a) {
                auto& control = static_cast<LumigraCtrl&>(d);
                QWidget* parent = controlWindow(control);
                const int32_t handle = isOmitted(a, 0) ? 0 : argI4(a[0]);
                if (handle != 0) {
                    parent = QWidget::find(static_cast<WId>(handle));
                    if (!parent)
                        raiseError(lgErrNotWindow);
                }
                return Variant::fromBool(openPropertySheet(control, nullptr, parent));
            },
            nullptr, 0, 1};
}

} // namespace lumigra
