#include "shell/gui/StandardMenus.h"

#include "shell/gui/Help.h"
#include "shell/gui/MdiRaylen.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace raylen {

void StandardMenus::buildStandardMenus(QWidget* owner)
{
    auto menu = [owner](const char* name, const char* caption) {
        auto* created = new QMenu(QString::fromUtf8(caption), owner);
        created->setObjectName(name);
        return created;
    };
    auto item = [](QMenu* into, const char* name, const char* caption) {
        QAction* action = into->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        return action;
    };
    mnuFile = menu("mnuFile", "ﾌｧｲﾙ(&F)");
    mnuOpen = item(mnuFile, "mnuOpen", "開く(&O)");
    mnuClose = item(mnuFile, "mnuClose", "閉じる(&C)");
    mnuFile->addSeparator()->setObjectName("mnuSepFile1");
    mnuSaveAs = item(mnuFile, "mnuSaveAs", "名前を付けて保存(&E)");
    mnuFile->addSeparator()->setObjectName("mnuSepFile2");
    mnuPrint = item(mnuFile, "mnuPrint", "印刷(&P)");
    mnuSetPrinter = item(mnuFile, "mnuSetPrinter", "ﾌﾟﾘﾝﾀｰの設定(&R)");
    mnuFile->addSeparator()->setObjectName("mnuSepFile3");
    mnuExit = item(mnuFile, "mnuExit", "Raylen の終了(&X)");
    mnuImage = menu("mnuImage", "ｲﾒｰｼﾞ(&I)");
    mnuGraph = menu("mnuGraph", "ｸﾞﾗﾌ(&G)");
    mnuHelp = menu("mnuHelp", "ﾍﾙﾌﾟ(&H)");
    mnuHelpRaylen = item(mnuHelp, "mnuHelpRaylen", "Raylenのﾍﾙﾌﾟ(&B)");
    mnuHelp->addSeparator()->setObjectName("mnuSepHelp");
    mnuVersion = item(mnuHelp, "mnuVersion", "ﾊﾞｰｼﾞｮﾝ情報(&A)");
    // The desktop's usual keys where the menus have none of their own;
    // Save As takes the save key since it is the only save there is.
    // Spelled out: the platform's standard Quit binding is empty on some.
    mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QObject::connect(mnuExit, &QAction::triggered, owner, [] {
        if (MdiRaylen* main = mdiRaylen())
            main->mnuExit_Click();
    });
    QObject::connect(mnuHelpRaylen, &QAction::triggered, owner, [] { dsHelp(); });
    QObject::connect(mnuVersion, &QAction::triggered, owner, [] {
        if (MdiRaylen* main = mdiRaylen())
            main->mnuVersion_Click();
    });
}

} // namespace raylen
