#pragma once
// The File and Help menus, alike in the main window and in every document
// window (each shows its own set in the menu bar), with the Image and Graph
// menus between them that a window fills with its own items.
#include <QList>

class QAction;
class QMenu;
class QWidget;

namespace raylen {

struct StandardMenus {
    QMenu* mnuFile = nullptr;
    QMenu* mnuImage = nullptr;
    QMenu* mnuGraph = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuClose = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuSetPrinter = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuHelpRaylen = nullptr;
    QAction* mnuVersion = nullptr;

    // Creates the four menus and the File and Help items, owned by owner.
    // Exit, help and version go to the main window; the window connects its
    // own Open, Close, Save As, Print and printer set-up.
    void buildStandardMenus(QWidget* owner);
    QList<QMenu*> standardMenus() const { return {mnuFile, mnuImage, mnuGraph, mnuHelp}; }
};

} // namespace raylen
