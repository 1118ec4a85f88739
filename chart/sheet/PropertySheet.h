#pragma once
// The modal property sheet: the whole chart (a page for the control and one
// per kind of object present) or one object with the pages of the objects
// it refers to.
#include <QDialog>

#include <map>
#include <vector>

#include "platform/com/Dispatch.h"

class QTabWidget;

namespace lumigra {

class LumigraCtrl;
class LgCollection;
class LgObject;
class SheetPage;

class PropertySheet : public QDialog {
public:
    PropertySheet(LumigraCtrl& control, LgObject* target, QWidget* parent);

    // Applies every page; false (sheet kept open) when a member refused.
    bool applyAll();

private:
    void addControlPage();
    void addCollectionPage(int collection);
    // The page listing collection c (only target when c is null), target
    // selected; an existing page of c is returned as it is.
    SheetPage* addPage(LgCollection* c, LgObject* target);
    // Pages of objects held by no collection (ticks), titled by their kind.
    void addOwnedPage(std::vector<LgObject*> objects);

    LumigraCtrl& control_;
    QTabWidget* tabs_;
    std::vector<SheetPage*> pages_;
    // The page listing each collection shown.
    std::map<const LgCollection*, SheetPage*> byCollection_;
};

// True while a sheet is shown anywhere in the process.
bool propertySheetShown();

} // namespace lumigra
