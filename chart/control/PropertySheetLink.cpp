#include "control/PropertySheetLink.h"

#include "control/LumigraCtrl.h"

namespace lumigra {

namespace {
PropertySheetOpener registeredOpener = nullptr;
}

void setPropertySheetOpener(PropertySheetOpener opener) { registeredOpener = opener; }

bool openPropertySheet(LumigraCtrl& control, LgObject* target, QWidget* parent)
{
    if (!control.propertySheetEnabled_ || !registeredOpener)
        return false;
    return registeredOpener(control, target, parent);
}

} // namespace lumigra
