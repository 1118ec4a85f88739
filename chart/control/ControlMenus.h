#pragma once
// The control's two pop-up menus: the edit menu of the right button (insert
// an object, copy, the property sheet, the about box) and the object menu of
// the left button (edit, move or delete an object under the pointer, chosen
// from a second pop-up of their names).
#include <QPoint>
#include <QPointF>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace lumigra {

class LgObject;
class LumigraCtrl;

// When set, asked which action of a shown pop-up to take instead of letting
// the user choose (null dismisses the menu). Scripts and tests use it.
using MenuChooser = std::function<QAction*(QMenu& menu)>;
void setMenuChooser(MenuChooser chooser);

// Shows a menu at a global position; the action taken or null.
QAction* popUp(QMenu& menu, QPoint global);

enum class ObjectAction { None, Edit, Move, Delete };

// The object menu; then, for the item taken, the second pop-up with the
// names of the hit objects. The object chosen there is returned in target.
ObjectAction objectMenu(QWidget* parent, QPoint global, const std::vector<LgObject*>& hits, LgObject*& target);

// The edit menu; what it offers runs at once. at is the pointer in drawing
// millimetres, where inserted objects go.
void editMenu(LumigraCtrl& control, QWidget* parent, QPoint global, QPointF at);

// Asks "[name]を削除しますか ？" and removes the object from its collection
// on Yes; true when it was removed.
bool confirmAndDelete(LgObject& object);

} // namespace lumigra
