#include "control/ControlMenus.h"

#include <QAction>
#include <QMenu>

#include "control/ControlInsert.h"
#include "control/LumigraCtrl.h"
#include "control/PropertySheetLink.h"
#include "lumigra/Constants.h"
#include "lumigra/DispIds.h"
#include "model/Collection.h"
#include "platform/UiService.h"

namespace lumigra {

namespace {

MenuChooser& chooser()
{
    static MenuChooser c;
    return c;
}

QAction* item(QMenu& menu, const char* text, const char* status, int data)
{
    QAction* a = menu.addAction(QString::fromUtf8(text));
    a->setStatusTip(QString::fromUtf8(status));
    a->setData(data);
    return a;
}

struct InsertItem {
    const char* text;
    const char* status;
    InsertKind kind;
};

// The insert items, with separators after the charts and after the axes.
// "極座標軸(E)..." has no ampersand, as the menu resource has it.
const InsertItem kInsertItems[] = {
    {"XYｸﾞﾗﾌ(&X)...", "XYグラフを作成して挿入します。", InsertKind::XyChart},
    {"三角ｸﾞﾗﾌ(&T)...", "三角グラフを作成して挿入します。", InsertKind::TriangularChart},
    {"極座標ｸﾞﾗﾌ(&P)...", "極座標グラフを作成して挿入します。", InsertKind::PolarChart},
    {nullptr, nullptr, InsertKind::XyChart},
    {"XY座標軸(&A)...", "XY座標軸を作成して挿入します。", InsertKind::XyAxis},
    {"三角座標軸(&3)...", "三角座標軸を作成して挿入します。", InsertKind::TriangularAxis},
    {"極座標軸(E)...", "極座標軸を作成して挿入します。", InsertKind::PolarAxis},
    {nullptr, nullptr, InsertKind::XyChart},
    {"文字列ﾗﾍﾞﾙ(&B)...", "文字列ラベルを作成して挿入します。", InsertKind::Label},
    {"直線(&L)...", "直線を作成して挿入します。", InsertKind::Line},
    {"矢印線(&N)...", "矢印線を作成して挿入します。", InsertKind::SymbolLine},
    {"矩形(&R)...", "矩形を作成して挿入します。", InsertKind::Rectangle},
    {"ｼﾝﾎﾞﾙ(&S)...", "シンボルを作成して挿入します。", InsertKind::Symbol},
    {"凡例(&G)...", "凡例を作成して挿入します。", InsertKind::Legend},
    {"多角形(&Y)...", "多角形を作成して挿入します。", InsertKind::Polygon},
    {"折れ線(&I)...", "折れ線を作成して挿入します。", InsertKind::Polyline},
};

// Data of the edit menu's own items; insert items carry their kind.
enum EditItem { kCopy = 100, kEdit, kAbout };

void showAbout(LumigraCtrl& control)
{
    Args none;
    Variant result;
    control.Invoke(dispid::control::AboutBox, platform::com::DISPATCH_METHOD, none, &result, nullptr);
}

void copyChart(LumigraCtrl& control)
{
    Args args{Variant::fromI2(lgImageMetaFile), Variant::fromR8(0), Variant::fromR8(0), Variant::fromBool(false)};
    Variant result;
    control.Invoke(dispid::control::CopyToClipboard, platform::com::DISPATCH_METHOD, args, &result, nullptr);
}

// The second pop-up: the names of the hit objects, topmost first.
LgObject* chooseObject(QWidget* parent, QPoint global, const std::vector<LgObject*>& hits)
{
    QMenu names(parent);
    for (size_t i = 0; i < hits.size(); ++i)
        names.addAction(QString::fromStdString(hits[i]->name()))->setData(static_cast<int>(i));
    QAction* chosen = popUp(names, global);
    if (!chosen)
        return nullptr;
    const int i = chosen->data().toInt();
    return i >= 0 && static_cast<size_t>(i) < hits.size() ? hits[static_cast<size_t>(i)] : nullptr;
}

} // namespace

void setMenuChooser(MenuChooser c) { chooser() = std::move(c); }

QAction* popUp(QMenu& menu, QPoint global)
{
    if (chooser())
        return chooser()(menu);
    return menu.exec(global);
}

ObjectAction objectMenu(QWidget* parent, QPoint global, const std::vector<LgObject*>& hits, LgObject*& target)
{
    target = nullptr;
    QMenu menu(parent);
    item(menu, "編集(&E)...", "選択したオブジェクトのプロパティシートを表示します。", int(ObjectAction::Edit));
    item(menu, "移動(&M)...", "選択したオブジェクトをマウスで移動します。", int(ObjectAction::Move));
    item(menu, "削除(&D)...", "選択したオブジェクトを削除します。", int(ObjectAction::Delete));
    QAction* chosen = popUp(menu, global);
    if (!chosen)
        return ObjectAction::None;
    const auto action = static_cast<ObjectAction>(chosen->data().toInt());
    target = chooseObject(parent, global, hits);
    return target ? action : ObjectAction::None;
}

void editMenu(LumigraCtrl& control, QWidget* parent, QPoint global, QPointF at)
{
    QMenu menu(parent);
    QMenu* insert = menu.addMenu(QString::fromUtf8("グラフ要素の挿入(&I)"));
    for (const InsertItem& i : kInsertItems) {
        if (!i.text)
            insert->addSeparator();
        else
            item(*insert, i.text, i.status, static_cast<int>(i.kind));
    }
    item(menu, "ｺﾋﾟｰ(&C)...", "グラフをクリップボードにコピーします。", kCopy);
    item(menu, "編集(&E)...", "ﾌﾟﾛﾊﾟﾃｨｼｰﾄを表示します。", kEdit);
    item(menu, "ﾊﾞｰｼﾞｮﾝ情報(&A)...", "ﾊﾞｰｼﾞｮﾝ情報を表示します。", kAbout);
    QAction* chosen = popUp(menu, global);
    if (!chosen)
        return;
    const int data = chosen->data().toInt();
    switch (data) {
    case kCopy: copyChart(control); return;
    case kEdit: openPropertySheet(control, nullptr, parent); return;
    case kAbout: showAbout(control); return;
    default: break;
    }
    try {
        insertObject(control, static_cast<InsertKind>(data), at);
    } catch (const RaisedError& e) {
        platform::MsgBox(e.what(), platform::vbExclamation, "Lumigra Works");
    }
}

bool confirmAndDelete(LgObject& object)
{
    LgCollection* from = object.parentCollection();
    if (!from)
        return false;
    const std::string question = "[" + object.name() + "]を削除しますか ？";
    if (platform::MsgBox(question, platform::vbYesNo | platform::vbQuestion, "Lumigra Works") != platform::vbYes)
        return false;
    from->removeAt(object.position());
    return true;
}

} // namespace lumigra
