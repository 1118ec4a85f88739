#pragma once
// The property sheet lives in a layer above the control; it registers its
// opener here when the library loads. The double click, the `Dialog` member
// and the two pop-up menus all open it through openPropertySheet.
class QWidget;

namespace lumigra {

class LumigraCtrl;
class LgObject;

// Shows the modal sheet of target (the whole chart when null); true when the
// sheet was shown.
using PropertySheetOpener = bool (*)(LumigraCtrl& control, LgObject* target, QWidget* parent);

void setPropertySheetOpener(PropertySheetOpener opener);

// False when PropertySheetEnabled is off or no sheet is registered; the
// opener itself refuses a second sheet while one is open.
bool openPropertySheet(LumigraCtrl& control, LgObject* target, QWidget* parent);

} // namespace lumigra
