#pragma once
// The modal property sheet: the whole chart (a page for the control and one
// per kind of object present) or one object with the pages of the objects
// it refers to.
#include <QDialog>

#include <vector>

#include "platform/com/Dispatch.h"

class QTabWidget;

namespace lumigra {

class LumigraCtrl;
class LgObject;
class SheetPage;

class PropertySheet : public QDialog {
public:
    PropertySheet(LumigraCtrl& control, LgObject* target, QWidget* parent);

    // Applies every page; false (sheet kept open) when a member refused.
    bool applyAll();

private:
    void addControlPage();
    // A page of target's kind listing its collection; target selected.
    SheetPage* addObjectPage(LgObject* target);
    void addCollectionPage(int collection);

    LumigraCtrl& control_;
    QTabWidget* tabs_;
    std::vector<SheetPage*> pages_;
    std::vector<const void*> shownCollections_;
};

// True while a sheet is shown anywhere in the process.
bool propertySheetShown();

} // namespace lumigra
