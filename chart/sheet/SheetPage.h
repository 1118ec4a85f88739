#pragma once
// One page of the property sheet: the objects of one kind in a list and the
// fields of the selected one. Edits wait until Apply or OK, object by
// object, and go through the same dispatch calls a host makes.
#include <QWidget>

#include <map>
#include <memory>
#include <vector>

#include "model/Object.h"
#include "sheet/SheetFields.h"

class QListWidget;
class QFormLayout;

namespace lumigra {

class LumigraCtrl;

// What a page edits: a chart object, or the control itself (chartObject null).
struct SheetTarget {
    IDispatch* object;       // the sheet keeps it alive
    Dispatchable* members;
    LgObject* chartObject;
};

class SheetPage : public QWidget {
public:
    // targets are all of kind objectId (kControlKind for the control).
    SheetPage(LumigraCtrl& control, std::vector<SheetTarget> targets, int32_t objectId, QWidget* parent = nullptr);
    ~SheetPage() override;

    void select(const LgObject* object);
    // Applies every waiting edit; false when a member refused one (its
    // text shown, that object selected, the edit kept).
    bool apply();
    // The referenced objects of the selected object that hold a page of their own.
    std::vector<LgObject*> referencedObjects() const;
    // The objects the page's objects own outside any collection (an axis's
    // tick): all of them, or those of the selected object.
    std::vector<LgObject*> ownedObjects(bool selectedOnly) const;

private:
    struct Field {
        const Member* member;
        std::unique_ptr<SheetField> editor;
    };
    using Edits = std::vector<std::pair<const Member*, Variant>>;

    void buildFields();
    void showSelected();
    // The touched fields of the selected object into its waiting edits.
    bool capture();
    bool applyTo(size_t index, const Edits& edits);
    Variant readValue(const SheetTarget& t, const Member& m) const;
    std::vector<RefChoice> choicesFor(const Member& m);
    void rowChanged(int row);
    void refreshNames();

    LumigraCtrl& control_;
    std::vector<SheetTarget> targets_;
    int32_t objectId_;
    QListWidget* list_;
    QFormLayout* form_;
    std::vector<Field> fields_;
    std::map<size_t, Edits> waiting_;
    size_t selected_ = 0;
    std::vector<platform::com::ComPtr<LgObject>> kept_;
};

} // namespace lumigra
